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
    EXPECT_EQ(displayName(PetType::robot), u"机器人"_s);
    EXPECT_EQ(emoji(PetType::cat), u"🐱"_s);
    EXPECT_EQ(displayName(PetBehavior::moving), u"移动"_s);
}

TEST(AnimationConfigs, OnlyTheCatHasTheFullSet)
{
    const AnimationConfigFactory& factory = AnimationConfigFactory::shared();
    EXPECT_EQ(factory.getAvailablePetTypes(), QList<PetType> { PetType::cat });
    EXPECT_FALSE(factory.isPetTypeAvailable(PetType::plant));
    EXPECT_TRUE(factory.isPetTypeAvailable(PetType::cat));

    const auto cat = factory.getConfig(PetType::cat);
    EXPECT_EQ(cat.behaviorAnimations().size(), 8u);
    for (const PetType type : allPetTypes) {
        const auto config = factory.getConfig(type);
        EXPECT_EQ(config.petType(), type);
        EXPECT_EQ(config.petDisplayName(), displayName(type));
        EXPECT_EQ(config.defaultIdleBehavior(), PetBehavior::idle);
        EXPECT_TRUE(config.getAnimationConfig(PetBehavior::idle).has_value());
        if (type != PetType::cat) {
            EXPECT_EQ(config.behaviorAnimations().size(), 1u);
        }
    }

    const auto dog = factory.getConfig(PetType::dog);
    EXPECT_EQ(dog.getAnimationConfig(PetBehavior::moving), std::nullopt);
    EXPECT_EQ(dog.getAnimationConfig(PetBehavior::idle), (AnimationConfig { u"dog_sitting"_s, true, 1.0, u"坐着"_s }));
}

TEST(AnimationConfigs, CatTableAndDirectories)
{
    const auto cat = AnimationConfigFactory::shared().getConfig(PetType::cat);
    EXPECT_EQ(cat.getAnimationConfig(PetBehavior::exploring),
        (AnimationConfig { u"cat_hide_and_seek"_s, false, 2.5, u"躲猫猫"_s }));
    EXPECT_EQ(
        cat.getAnimationConfig(PetBehavior::entering), (AnimationConfig { u"cat_entering"_s, false, 1.2, u"进入"_s }));
    EXPECT_EQ(cat.getAnimationConfig(PetBehavior::idle),
        (AnimationConfig { u"cat_scratching_butt"_s, true, 0.8, u"抓屁股"_s }));
    EXPECT_EQ(
        cat.getAnimationConfig(PetBehavior::resting), (AnimationConfig { u"cat_blinking"_s, true, 0.8, u"眨眼"_s }));
    EXPECT_EQ(cat.getAnimationDirectory(), u"Resources/LottieAnimations/Cat"_s);
    EXPECT_EQ(AnimationConfigFactory::shared().getConfig(PetType::robot).getAnimationDirectory(),
        u"Resources/LottieAnimations/Robot"_s);
}
