#pragma once

#include "core/PetType.h"

#include <QList>
#include <QObject>
#include <QString>

class Defaults;

/// Nine moods of a pet, each with an emoji per species (see getPetAnimationEmoji()).
enum class PetAnimation { sleeping, eating, playing, dancing, running, jumping, spinning, stretching, thinking };

/// Keeps the chosen pet species across launches and announces a change with "petTypeDidChange".
class PetAppearanceManager final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PetAppearanceManager)

public:
    static inline const QString petTypeKey = QStringLiteral("SelectedPetType");

    explicit PetAppearanceManager(Defaults& defaults, QObject* parent = nullptr);

    [[nodiscard]] PetType currentPetType() const { return m_currentPetType; }
    [[nodiscard]] QList<PetType> availablePetTypes() const { return m_availablePetTypes; }

    /// Makes the type current, stores it and announces it, also when it is unchanged. The type
    /// is not checked against the available ones.
    void changePetType(PetType type);
    [[nodiscard]] QString getPetAnimationEmoji(PetAnimation animation) const;

Q_SIGNALS:
    void currentPetTypeChanged(PetType type);
    void availablePetTypesChanged(const QList<PetType>& types);

private:
    void savePetType();
    void loadPetType();

    Defaults& m_userDefaults;
    PetType m_currentPetType = PetType::cat;
    QList<PetType> m_availablePetTypes { PetType::cat };
};
