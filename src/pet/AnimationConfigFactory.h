#pragma once

#include "pet/AnimationConfig.h"

#include <QList>

/// Hands out the animation table of a species; only species with a full set are "available".
/// It holds no state, so whoever needs one keeps its own.
class AnimationConfigFactory final
{
public:
    [[nodiscard]] PetAnimationConfigProtocol getConfig(PetType type) const;
    [[nodiscard]] QList<PetType> getAvailablePetTypes() const;
    [[nodiscard]] bool isPetTypeAvailable(PetType type) const;
};
