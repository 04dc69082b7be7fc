#include "pet/unwired/AdvancedAnimationManager.h"
#include "platform/SystemColours.h"

#include "support/FakeClock.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using State = AdvancedAnimationState;

namespace {

struct Advanced : ::testing::Test
{
    FakeClock clock;
    EmotionSystem emotions;
    AdvancedAnimationManager manager { emotions, &clock };

    void tick(int ms)
    {
        clock.advanceMs(ms);
        manager.updateAnimation();
    }
};

} // namespace

TEST_F(Advanced, UnknownSequenceChangesNothing)
{
    QSignalSpy changed(&manager, &AdvancedAnimationManager::currentAnimationChanged);
    manager.playAnimationSequence(u"nope"_s);
    EXPECT_FALSE(manager.isAnimating());
    EXPECT_EQ(changed.size(), 0);
    EXPECT_EQ(manager.getCurrentAnimationStatus(), u"当前动画: 思考"_s);
}

TEST_F(Advanced, ASequenceFollowsTheStatesDurationsAndEnds)
{
    // sleeping 3.0, stretching 2.5, walking 1.0 over 6.5 s.
    manager.playAnimationSequence(u"wakeUp"_s);
    EXPECT_TRUE(manager.isAnimating());
    EXPECT_EQ(manager.currentAnimation(), State::sleeping);
    tick(2900);
    EXPECT_EQ(manager.currentAnimation(), State::sleeping);
    tick(200);
    EXPECT_EQ(manager.currentAnimation(), State::stretching);
    EXPECT_EQ(manager.getCurrentAnimationStatus(), u"播放序列: 伸懒腰 (47%)"_s);
    tick(2500);
    EXPECT_EQ(manager.currentAnimation(), State::walking);
    tick(900);
    EXPECT_FALSE(manager.isAnimating());
    EXPECT_EQ(manager.currentAnimation(), State::thinking);
    // The last published progress stays.
    EXPECT_NEAR(manager.animationProgress(), 5.6 / 6.5, 1e-9);
    EXPECT_EQ(manager.getCurrentAnimationStatus(), u"当前动画: 思考"_s);
}

TEST_F(Advanced, StartingASequenceKeepsTheOldProgressUntilTheFirstUpdate)
{
    manager.playAnimationSequence(u"wakeUp"_s);
    tick(6435); // 0.99
    EXPECT_EQ(manager.getCurrentAnimationStatus(), u"播放序列: 行走 (99%)"_s);
    manager.playAnimationSequence(u"snack"_s);
    EXPECT_EQ(manager.getCurrentAnimationStatus(), u"播放序列: 行走 (99%)"_s);
    tick(100);
    EXPECT_EQ(manager.getCurrentAnimationStatus(), u"播放序列: 行走 (2%)"_s);
}

TEST_F(Advanced, ALoopingSequenceStartsOverUntilForced)
{
    manager.playAnimationSequence(u"party"_s); // dancing 3.0, spinning 1.5, jumping 1.2 over 5.7 s
    tick(3500);
    EXPECT_EQ(manager.currentAnimation(), State::spinning);
    tick(2200);
    EXPECT_TRUE(manager.isAnimating());
    EXPECT_EQ(manager.currentAnimation(), State::dancing);
    EXPECT_EQ(manager.animationProgress(), 0.0);
    tick(3500);
    EXPECT_EQ(manager.currentAnimation(), State::spinning);

    manager.forceAnimation(State::eating);
    EXPECT_FALSE(manager.isAnimating());
    tick(10000);
    EXPECT_EQ(manager.currentAnimation(), State::eating);
}

TEST_F(Advanced, BehavioursMapToStatesWithTheirEffects)
{
    manager.handleBehaviorChange(QVariant::fromValue(AutoBehavior::greeting));
    EXPECT_EQ(manager.currentAnimation(), State::dancing);
    const AnimationEffects effects = manager.getCurrentAnimationEffects();
    EXPECT_EQ(effects.scale, 1.1);
    EXPECT_EQ(effects.rotation, 15.0);
    ASSERT_TRUE(effects.color);
    EXPECT_EQ(*effects.color, SystemColours::purple());

    manager.handleBehaviorChange(QVariant(u"walk"_s));
    manager.handleBehaviorChange(QVariant(3));
    manager.handleBehaviorChange(QVariant());
    EXPECT_EQ(manager.currentAnimation(), State::dancing);

    EXPECT_EQ(AdvancedAnimationManager::stateFor(AutoBehavior::scratching), State::playing);
    EXPECT_EQ(advancedAnimationStateFromRaw(u"spinning"_s), State::spinning);
    EXPECT_FALSE(advancedAnimationStateFromRaw(u"Spinning"_s));
    manager.forceAnimation(State::jumping);
    EXPECT_EQ(manager.getCurrentAnimationEffects().offset, QSizeF(0, -10));

    // A mood change shows thinking, unless a sequence plays.
    manager.handleEmotionChange();
    EXPECT_EQ(manager.currentAnimation(), State::thinking);
    manager.playAnimationSequence(u"snack"_s);
    manager.handleEmotionChange();
    EXPECT_EQ(manager.currentAnimation(), State::walking);
}

TEST_F(Advanced, EveryStateHasItsEffects)
{
    const AnimationEffects rows[] = {
        { 1.0, 0, 1.0, QSizeF(0, 0), std::nullopt }, // walking
        { 1.1, 0, 1.0, QSizeF(0, 0), SystemColours::red() }, // running
        { 0.9, 0, 0.8, QSizeF(0, 0), SystemColours::blue() }, // sleeping
        { 1.2, 0, 1.0, QSizeF(0, 0), SystemColours::green() }, // playing
        { 1.0, 0, 1.0, QSizeF(0, 0), SystemColours::orange() }, // eating
        { 1.3, 0, 1.0, QSizeF(0, 0), std::nullopt }, // stretching
        { 1.1, 15, 1.0, QSizeF(0, 0), SystemColours::purple() }, // dancing
        { 1.0, 0, 1.0, QSizeF(0, 0), std::nullopt }, // thinking
        { 1.2, 0, 1.0, QSizeF(0, -10), SystemColours::yellow() }, // jumping
        { 1.0, 360, 1.0, QSizeF(0, 0), SystemColours::cyan() }, // spinning
    };
    static_assert(std::size(rows) == allAdvancedAnimationStates.size());
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        manager.forceAnimation(allAdvancedAnimationStates[i]);
        const AnimationEffects e = manager.getCurrentAnimationEffects();
        const AnimationEffects& row = rows[i];
        EXPECT_EQ(std::tie(e.scale, e.rotation, e.opacity, e.offset, e.color),
            std::tie(row.scale, row.rotation, row.opacity, row.offset, row.color))
            << rawValue(allAdvancedAnimationStates[i]).toStdString();
    }
}
