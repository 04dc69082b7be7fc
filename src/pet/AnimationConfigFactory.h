#pragma once

#include "pet/AnimationConfig.h"

#include <QList>

/// Hands out the animation table of a species; only species with a full set are "available".
class AnimationConfigFactory final
{
public:
    static const AnimationConfigFactory& shared();

    [[nodiscard]] PetAnimationConfigProtocol getConfig(PetType type) const;
    [[nodiscard]] QList<PetType> getAvailablePetTypes() const;
    [[nodiscard]] bool isPetTypeAvailable(PetType type) const;
};
