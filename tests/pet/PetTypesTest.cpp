#include "core/PetBehavior.h"
#include "core/PetType.h"
#include "pet/AnimationConfigFactory.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(PetTypes, RawValuesRoundTripAndAreCaseSensitive)
{
    for (const PetType type : allPetTypes)
        EXPECT_EQ(petTypeFromRaw(rawValue(type)), type);
    for (const PetBehavior behavior : allPetBehaviors)
        EXPECT_EQ(petBehaviorFromRaw(rawValue(behavior)), behavior);
    EXPECT_EQ(petTypeFromRaw(u"Cat"_s), std::nullopt);
    EXPECT_EQ(petTypeFromRaw(QString()), std::nullopt);
    EXPECT_EQ(petBehaviorFromRaw(u"Idle"_s), std::nullopt);
}

// Which species are offered, and the cat's full set, show through the appearance manager
// and the menus; here, that every other species still has its one idle animation.
TEST(AnimationConfigs, EverySpeciesHasAnIdleAnimation)
{
    for (const PetType type : allPetTypes) {
        const auto config = AnimationConfigFactory().getConfig(type);
        EXPECT_EQ(config.petType(), type);
        EXPECT_TRUE(config.getAnimationConfig(PetBehavior::idle).has_value());
        if (type != PetType::cat) {
            EXPECT_EQ(config.behaviorAnimations().size(), 1u);
        }
    }
    EXPECT_EQ(AnimationConfigFactory().getConfig(PetType::dog).getAnimationConfig(PetBehavior::idle),
        (AnimationConfig { u"dog_sitting"_s, true, 1.0, u"坐着"_s }));
}
