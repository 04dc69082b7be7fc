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

TEST(AnimationConfigs, OnlyTheCatHasTheFullSet)
{
    EXPECT_EQ(AnimationConfigFactory::getAvailablePetTypes(), QList<PetType> { PetType::cat });
    EXPECT_FALSE(AnimationConfigFactory::isPetTypeAvailable(PetType::plant));
    EXPECT_TRUE(AnimationConfigFactory::isPetTypeAvailable(PetType::cat));

    const auto cat = AnimationConfigFactory::getConfig(PetType::cat);
    EXPECT_EQ(cat.behaviorAnimations().size(), 8u);
    for (const PetType type : allPetTypes) {
        const auto config = AnimationConfigFactory::getConfig(type);
        EXPECT_EQ(config.petType(), type);
        EXPECT_TRUE(config.getAnimationConfig(PetBehavior::idle).has_value());
        if (type != PetType::cat) {
            EXPECT_EQ(config.behaviorAnimations().size(), 1u);
        }
    }

    const auto dog = AnimationConfigFactory::getConfig(PetType::dog);
    EXPECT_EQ(dog.getAnimationConfig(PetBehavior::moving), std::nullopt);
    EXPECT_EQ(dog.getAnimationConfig(PetBehavior::idle), (AnimationConfig { u"dog_sitting"_s, true, 1.0, u"坐着"_s }));
}
