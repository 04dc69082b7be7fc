#pragma once

#include "pet/AnimationConfig.h"

#include <QList>

/// Hands out the animation table of a species; only species with a full set are "available".
class AnimationConfigFactory final
{
public:
    AnimationConfigFactory() = delete;

    [[nodiscard]] static PetAnimationConfigProtocol getConfig(PetType type);
    [[nodiscard]] static QList<PetType> getAvailablePetTypes();
    [[nodiscard]] static bool isPetTypeAvailable(PetType type);
};
