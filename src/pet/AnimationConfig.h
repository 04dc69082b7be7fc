#pragma once

#include "core/PetBehavior.h"
#include "core/PetType.h"

#include <QString>

#include <map>
#include <optional>

/// One Lottie animation: its file (without ".json") and how it is played.
struct AnimationConfig
{
    QString fileName;
    /// true: an endless loop; false: played once, stopping on the last frame.
    bool loopMode = true;
    double defaultSpeed = 1.0;
    QString displayName;

    friend bool operator==(const AnimationConfig&, const AnimationConfig&) = default;
};

/// The animations of one species. The species types below only fill in the table.
class PetAnimationConfigProtocol
{
public:
    [[nodiscard]] PetType petType() const { return m_petType; }
    [[nodiscard]] QString petDisplayName() const { return m_petDisplayName; }
    [[nodiscard]] PetBehavior defaultIdleBehavior() const { return m_defaultIdleBehavior; }
    [[nodiscard]] const std::map<PetBehavior, AnimationConfig>& behaviorAnimations() const
    {
        return m_behaviorAnimations;
    }

    /// The behaviour's animation, or none when the species has no animation for it.
    [[nodiscard]] std::optional<AnimationConfig> getAnimationConfig(PetBehavior behavior) const;
    /// "Resources/LottieAnimations/" and the species' raw value with a capital first letter.
    [[nodiscard]] QString getAnimationDirectory() const;

protected:
    PetAnimationConfigProtocol(PetType type, std::map<PetBehavior, AnimationConfig> animations);

private:
    PetType m_petType;
    QString m_petDisplayName;
    PetBehavior m_defaultIdleBehavior = PetBehavior::idle;
    std::map<PetBehavior, AnimationConfig> m_behaviorAnimations;
};

struct CatAnimationConfig final : PetAnimationConfigProtocol
{
    CatAnimationConfig();
};
struct DogAnimationConfig final : PetAnimationConfigProtocol
{
    DogAnimationConfig();
};
struct RabbitAnimationConfig final : PetAnimationConfigProtocol
{
    RabbitAnimationConfig();
};
struct RobotAnimationConfig final : PetAnimationConfigProtocol
{
    RobotAnimationConfig();
};
struct AlienAnimationConfig final : PetAnimationConfigProtocol
{
    AlienAnimationConfig();
};
struct PlantAnimationConfig final : PetAnimationConfigProtocol
{
    PlantAnimationConfig();
};
