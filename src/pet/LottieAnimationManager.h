#pragma once

#include "core/PetBehavior.h"
#include "core/PetType.h"
#include "pet/AnimationConfig.h"
#include "pet/AnimationConfigFactory.h"
#include "pet/AutoBehavior.h"

#include <QObject>
#include <QString>

#include <optional>

class PetAppearanceManager;
class Resources;

/// Decides what the pet plays: holds the current species' animation table, publishes the
/// behaviour being played and its speed, and finds the animation files among the resources.
/// It plays nothing itself; the pet view follows what it publishes.
class LottieAnimationManager final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LottieAnimationManager)

public:
    LottieAnimationManager(PetAppearanceManager& appearance, Resources& resources, QObject* parent = nullptr);

    [[nodiscard]] PetBehavior currentBehavior() const { return m_currentBehavior; }
    [[nodiscard]] double animationSpeed() const { return m_animationSpeed; }
    [[nodiscard]] PetType currentPetType() const { return m_currentPetType; }
    [[nodiscard]] const PetAnimationConfigProtocol& currentConfig() const { return m_currentConfig; }

    /// Plays the behaviour when the current species has an animation for it; publishes it
    /// again when it is already current.
    void playBehavior(PetBehavior behavior);
    [[nodiscard]] static PetBehavior selectBehaviorForAutoBehavior(AutoBehavior behavior);
    [[nodiscard]] std::optional<AnimationConfig> getCurrentAnimationConfig() const;
    /// The behaviour's animation file: first in the species' folder, then at the resource
    /// root (with a warning); none when the species lacks the behaviour or the file is missing.
    [[nodiscard]] std::optional<QString> getAnimationPath(PetBehavior behavior) const;
    [[nodiscard]] std::optional<QString> getCurrentAnimationPath() const;

Q_SIGNALS:
    /// Emitted on every successful play, also of the behaviour already current.
    void currentBehaviorChanged(PetBehavior behavior);
    /// Follows currentBehaviorChanged() on every successful play.
    void animationSpeedChanged(double speed);

private:
    /// Follows every change of the pet type the appearance manager announces.
    void setupPetTypeObserver();
    void switchPetType(PetType type);

    // First, as the species' table is taken from it while the others are set.
    const AnimationConfigFactory m_factory {};
    PetBehavior m_currentBehavior = PetBehavior::idle;
    double m_animationSpeed = 1.0;
    PetType m_currentPetType = PetType::cat;
    PetAnimationConfigProtocol m_currentConfig;
    /// The species is taken from it once; later changes arrive as "petTypeDidChange".
    PetAppearanceManager& m_petAppearanceManager;
    Resources& m_resources;
};
