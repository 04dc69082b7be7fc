#pragma once

#include "core/PetBehavior.h"

#include <QMetaType>
#include <QString>

#include <array>

/// The automatic behaviours the scheduler picks and the pet's menu offers.
enum class AutoBehavior { walk, enter, blink, thinking, gaming, greeting, explore, scratching };

inline constexpr std::array<AutoBehavior, 8> allAutoBehaviors { AutoBehavior::walk, AutoBehavior::enter,
    AutoBehavior::blink, AutoBehavior::thinking, AutoBehavior::gaming, AutoBehavior::greeting, AutoBehavior::explore,
    AutoBehavior::scratching };

/// The fixed data of one behaviour: its base chance, how long it runs before the scheduler
/// may replace it, the shape of its walk and the animation that shows it.
struct AutoBehaviorTraits
{
    double weight;
    double duration;
    int pathSteps;
    double maxDistance;
    PetBehavior animation;
};

[[nodiscard]] AutoBehaviorTraits traits(AutoBehavior behavior);
[[nodiscard]] QString rawValue(AutoBehavior behavior);
[[nodiscard]] QString displayName(AutoBehavior behavior);
/// The animation the pet view plays while the behaviour runs.
[[nodiscard]] inline PetBehavior animationBehavior(AutoBehavior behavior)
{
    return traits(behavior).animation;
}

Q_DECLARE_METATYPE(AutoBehavior)
