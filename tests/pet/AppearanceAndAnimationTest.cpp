#include "TestAnimation.h"
#include "support/LogLines.h"

#include "core/EventCenter.h"
#include "pet/LottieAnimationManager.h"
#include "pet/PetAppearanceManager.h"
#include "platform/Defaults.h"
#include "platform/Resources.h"

#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct AppearanceFixture : ::testing::Test
{
    QTemporaryDir dir;
    Defaults defaults { dir.filePath(u"defaults.json"_s) };
    QString root = dir.filePath(u"res"_s);
    Resources resources { root };

    QString catFile(const QString& name) const
    {
        return root + u"/Resources/LottieAnimations/Cat/"_s + name + u".json"_s;
    }
};

} // namespace

TEST_F(AppearanceFixture, StoredPetTypeIsLoadedOrFallsBackToTheCat)
{
    {
        PetAppearanceManager fresh(defaults);
        EXPECT_EQ(fresh.currentPetType(), PetType::cat);
        EXPECT_EQ(defaults.string(PetAppearanceManager::petTypeKey), u"cat"_s);
        EXPECT_EQ(fresh.availablePetTypes(), QList<PetType> { PetType::cat });
    }
    // A species without a full animation set, or a word that names none, becomes the cat.
    for (const QString& stored : { u"robot"_s, u"Dog"_s, u""_s }) {
        defaults.setValue(PetAppearanceManager::petTypeKey, stored);
        PetAppearanceManager manager(defaults);
        EXPECT_EQ(manager.currentPetType(), PetType::cat);
        EXPECT_EQ(defaults.string(PetAppearanceManager::petTypeKey), u"cat"_s);
    }
    defaults.setValue(PetAppearanceManager::petTypeKey, 7);
    PetAppearanceManager wrongType(defaults);
    EXPECT_EQ(defaults.string(PetAppearanceManager::petTypeKey), u"cat"_s);
}

TEST_F(AppearanceFixture, ChangePetTypeStoresAndAnnouncesEvenWhenUnchanged)
{
    PetAppearanceManager manager(defaults);
    QSignalSpy changed(&EventCenter::shared(), &EventCenter::petTypeDidChange);
    manager.changePetType(PetType::dog);
    EXPECT_EQ(manager.currentPetType(), PetType::dog);
    EXPECT_EQ(defaults.string(PetAppearanceManager::petTypeKey), u"dog"_s);
    manager.changePetType(PetType::dog);
    ASSERT_EQ(changed.count(), 2);
    EXPECT_EQ(changed.at(0).at(0).value<PetType>(), PetType::cat);
    EXPECT_EQ(changed.at(0).at(1).value<PetType>(), PetType::dog);
    EXPECT_EQ(changed.at(1).at(0).value<PetType>(), PetType::dog);

    EXPECT_EQ(manager.getPetAnimationEmoji(PetAnimation::eating), u"🍖"_s);
    manager.changePetType(PetType::robot);
    EXPECT_EQ(manager.getPetAnimationEmoji(PetAnimation::thinking), u"💭"_s);
    EXPECT_EQ(manager.getPetAnimationEmoji(PetAnimation::sleeping), u"💤"_s);
}

TEST_F(AppearanceFixture, PlayBehaviorPublishesSupportedBehavioursOnly)
{
    PetAppearanceManager appearance(defaults);
    LottieAnimationManager manager(appearance, resources);
    QSignalSpy behaviours(&manager, &LottieAnimationManager::currentBehaviorChanged);
    QSignalSpy speeds(&manager, &LottieAnimationManager::animationSpeedChanged);

    manager.playBehavior(PetBehavior::exploring);
    EXPECT_EQ(manager.currentBehavior(), PetBehavior::exploring);
    EXPECT_EQ(manager.animationSpeed(), 2.5);
    EXPECT_EQ(loggedLines(u"Lottie"_s).last(), u"播放动画: 躲猫猫 (速度: 2.5)"_s);
    // The current behaviour played again is announced again.
    manager.playBehavior(PetBehavior::exploring);
    EXPECT_EQ(behaviours.count(), 2);
    EXPECT_EQ(speeds.count(), 2);

    // The dog has no walk: nothing changes.
    appearance.changePetType(PetType::dog);
    EXPECT_EQ(manager.currentPetType(), PetType::dog);
    EXPECT_EQ(manager.currentBehavior(), PetBehavior::idle);
    EXPECT_EQ(manager.animationSpeed(), 1.0);
    EXPECT_EQ(loggedLines(u"Lottie"_s).last(), u"🎭 切换到新宠物: 小狗"_s);
    manager.playBehavior(PetBehavior::moving);
    EXPECT_EQ(manager.currentBehavior(), PetBehavior::idle);
    EXPECT_EQ(loggedLines(u"Lottie"_s).last(), u"⚠️ 当前宠物不支持行为: 移动"_s);
    EXPECT_EQ(behaviours.count(), 3);
}

TEST_F(AppearanceFixture, AnimationFilesAreFoundInTheSpeciesFolderThenAtTheRoot)
{
    PetAppearanceManager appearance(defaults);
    LottieAnimationManager manager(appearance, resources);
    EXPECT_EQ(manager.getAnimationPath(PetBehavior::idle), std::nullopt);
    EXPECT_EQ(loggedLines(u"Lottie"_s).last(),
        u"❌ 未找到动画文件: cat_scratching_butt.json in Resources/LottieAnimations/Cat"_s);

    ASSERT_TRUE(writeTestAnimation(root + u"/cat_scratching_butt.json"_s));
    EXPECT_EQ(manager.getAnimationPath(PetBehavior::idle), root + u"/cat_scratching_butt.json"_s);
    EXPECT_EQ(loggedLines(u"Lottie"_s).last(),
        u"⚠️ 在主Bundle找到动画文件，建议移动到: Resources/LottieAnimations/Cat"_s);

    ASSERT_TRUE(writeTestAnimation(catFile(u"cat_scratching_butt"_s)));
    EXPECT_EQ(manager.getCurrentAnimationPath(), catFile(u"cat_scratching_butt"_s));

    appearance.changePetType(PetType::plant);
    EXPECT_EQ(manager.getAnimationPath(PetBehavior::moving), std::nullopt);
    EXPECT_EQ(manager.getCurrentAnimationConfig()->fileName, u"plant_growing"_s);
}
