#include "pet/AutoBehaviorManager.h"

#include "core/EventCenter.h"
#include "support/PetRig.h"

#include "RecordingRandom.h"
#include "support/LogLines.h"
#include "support/Wait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QSignalSpy>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

using namespace Qt::StringLiterals;

namespace {

struct Scheduler : ::testing::Test, PetRig
{
    Scheduler()
        : PetRig({ QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1040) })
    {
    }

    RecordingRandom random;
    std::unique_ptr<AutoBehaviorManager> manager;

    void SetUp() override
    {
        petState.setPosition(QPointF(500, 500));
        // With no values queued every draw answers its low end: the choice falls on "walk".
        manager = std::make_unique<AutoBehaviorManager>(petState, windowManager, screens, &clock, &random);
        random.realRanges.clear();
    }

    /// Forces a behaviour whose path legs are given as (angle, distance, speed) triples.
    void forceWithLegs(AutoBehavior behavior, const QList<double>& legs)
    {
        random.reals = legs;
        manager->forceBehavior(behavior);
    }

    void runQueued() { QCoreApplication::sendPostedEvents(manager.get(), QEvent::MetaCall); }
};

} // namespace

TEST_F(Scheduler, CreationStartsBothTimersAndABehaviourAtOnce)
{
    EXPECT_TRUE(manager->isActive());
    EXPECT_TRUE(manager->isRunning());
    EXPECT_EQ(manager->behaviorTimer().interval(), 30000);
    EXPECT_EQ(manager->movementTimer().interval(), 100);
    EXPECT_EQ(manager->currentBehavior(), AutoBehavior::walk);
    EXPECT_TRUE(manager->executionState().isExecuting);
    EXPECT_EQ(manager->executionState().pathPoints.size(), 5);
    EXPECT_EQ(manager->executionState().startTime, clock.now());

    // A second start leaves one pair of running timers and starts afresh.
    manager->startBehaviorSystem();
    EXPECT_TRUE(manager->behaviorTimer().isActive());
    EXPECT_TRUE(manager->movementTimer().isActive());
}

TEST_F(Scheduler, WeightedChoiceWalksTheRunningSum)
{
    const QList<QPair<AutoBehavior, double>> weights { { AutoBehavior::walk, 1.0 }, { AutoBehavior::enter, 0.8 },
        { AutoBehavior::blink, 0.8 } };
    const auto pick = [&](double r) {
        random.reals = { r };
        return AutoBehaviorManager::selectWeightedRandom(weights, random);
    };
    EXPECT_EQ(pick(0.0), AutoBehavior::walk);
    EXPECT_EQ(pick(1.0), AutoBehavior::walk);
    EXPECT_EQ(pick(1.5), AutoBehavior::enter);
    EXPECT_EQ(pick(2.6), AutoBehavior::blink);
    // A draw past every sum (rounding) falls back to the first entry.
    EXPECT_EQ(pick(9.0), AutoBehavior::walk);
    EXPECT_EQ(random.realRanges.last(), qMakePair(0.0, 2.6));

    EXPECT_FALSE(AutoBehaviorManager::selectWeightedRandom({ { AutoBehavior::walk, 0.0 } }, random));
    EXPECT_FALSE(AutoBehaviorManager::selectWeightedRandom({ { AutoBehavior::walk, -1.0 } }, random));
    EXPECT_FALSE(AutoBehaviorManager::selectWeightedRandom({}, random));
}

TEST_F(Scheduler, NextBehaviourScalesEachWeightByOneDraw)
{
    manager->stopBehaviorSystem();
    random.realRanges.clear();
    // Factors 1.0 for all but "thinking", which gets 1.5 (weight 0.7 × 1.5 = 1.05).
    random.reals = { 1.0, 1.0, 1.0, 1.5, 1.0, 1.0, 1.0, 1.0, 3.0 };
    manager->scheduleBehavior();
    EXPECT_EQ(manager->currentBehavior(), AutoBehavior::thinking);
    ASSERT_GE(random.realRanges.size(), 9);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(random.realRanges[i], qMakePair(0.5, 1.5));
    EXPECT_NEAR(random.realRanges[8].second, 6.75, 1e-9);
}

TEST_F(Scheduler, StepLengthIsTwiceTheSpeedTimesTheMultiplier)
{
    petState.updateMoveSpeed(2.0);
    const QPointF step = manager->calculateMoveVector(QPointF(0, 0), QPointF(30, 40), 1.0);
    EXPECT_NEAR(step.x(), 2.4, 1e-9);
    EXPECT_NEAR(step.y(), 3.2, 1e-9);
    EXPECT_EQ(manager->calculateMoveVector(QPointF(5, 5), QPointF(5, 5), 1.0), QPointF(0, 0));

    // Multipliers that would freeze or reverse the walk count as normal speed.
    for (const double bad : { 0.0, -1.0 }) {
        petState.updateMoveSpeed(bad);
        const QPointF s = manager->calculateMoveVector(QPointF(0, 0), QPointF(100, 0), 0.75);
        EXPECT_NEAR(s.x(), 1.5, 1e-9) << bad;
    }
}

TEST_F(Scheduler, WalksThePathStoringEachStepThenStartsTheNext)
{
    QSignalSpy started(manager.get(), &AutoBehaviorManager::behaviorDidChange);
    // One leg 40 pt to the right at speed 1.0: 2 pt per tick.
    forceWithLegs(AutoBehavior::blink, { 0.0, 40.0, 1.0 });
    ASSERT_EQ(manager->executionState().pathPoints.size(), 1);
    const QPointF target = manager->executionState().pathPoints.first().position;
    EXPECT_EQ(target, QPointF(540, 500));

    int ticks = 0;
    while (manager->executionState().isExecuting && ticks < 100) {
        clock.advanceMs(100);
        manager->updateMovement();
        ++ticks;
        if (manager->executionState().isExecuting) {
            // Every step is stored at once (the store coalesces the file writes).
            EXPECT_EQ(defaults.value(PetState::positionKey).toArray(),
                (QJsonArray { petState.data().position.x(), petState.data().position.y() }));
        }
    }
    // 16 steps bring the pet within 10 pt; the 17th tick only finds it has arrived.
    EXPECT_EQ(ticks, 17);
    EXPECT_EQ(loggedLines(u"AutoBehavior"_s), QStringList { u"✅ 行为完成，立即切换到下一个行为"_s });
    EXPECT_NEAR(petState.data().position.x(), 532.0, 1e-9);
    EXPECT_EQ(petState.data().lastMoveTime, clock.now().addMSecs(-100));
    EXPECT_EQ(manager->getCurrentBehaviorStatus(), u"等待下一个行为"_s);

    // The next behaviour comes at once through the queue, not with the 30 s tick.
    started.clear();
    runQueued();
    EXPECT_EQ(started.size(), 1);
    EXPECT_TRUE(manager->executionState().isExecuting);
}

TEST_F(Scheduler, AReachedPointStillGetsThisTicksStep)
{
    // Two legs: 9 pt right (already within the arrival radius), then 100 pt down.
    forceWithLegs(AutoBehavior::greeting, { 0.0, 9.0, 1.0, std::numbers::pi / 2.0, 100.0, 1.0 });
    manager->updateMovement();
    ASSERT_EQ(manager->executionState().pathPoints.size(), 1);
    EXPECT_NEAR(petState.data().position.x(), 502.0, 1e-9);
    EXPECT_NEAR(petState.data().position.y(), 500.0, 1e-9);
    manager->updateMovement();
    EXPECT_GT(petState.data().position.y(), 500.0);
}

TEST_F(Scheduler, EscapedPetIsRecalledAndEdgesAreClamped)
{
    EXPECT_EQ(manager->checkBoundsAndRecall(QPointF(1820, 300)), QPointF(1792, 300));
    EXPECT_EQ(manager->checkBoundsAndRecall(QPointF(-20, 1000)), QPointF(0, 952));
    EXPECT_TRUE(manager->executionState().isExecuting);

    EXPECT_TRUE(loggedLines(u"AutoBehavior"_s).isEmpty());
    EXPECT_EQ(manager->checkBoundsAndRecall(QPointF(-200, 300)), QPointF(896, 476));
    EXPECT_EQ(loggedLines(u"AutoBehavior"_s), QStringList { u"⚠️ 宠物超出屏幕，自动召回到中心"_s });
    EXPECT_FALSE(manager->executionState().isExecuting);
    EXPECT_TRUE(manager->executionState().pathPoints.isEmpty());

    Screens none { QList<ScreenGeometry> {} };
    AutoBehaviorManager headless(petState, windowManager, none, &clock, &random);
    EXPECT_EQ(headless.checkBoundsAndRecall(QPointF(-5000, 9000)), QPointF(-5000, 9000));
    // No screen to plan a walk on: the behaviour runs out in place.
    EXPECT_TRUE(headless.executionState().pathPoints.isEmpty());
}

TEST_F(Scheduler, AScreenSmallerThanThePetKeepsItAtTheOrigin)
{
    Screens tiny { QList<ScreenGeometry> { { QRect(0, 0, 100, 100), QRect(0, 0, 100, 100) } } };
    AutoBehaviorManager small(petState, windowManager, tiny, &clock, &random);
    EXPECT_EQ(small.checkBoundsAndRecall(QPointF(50, 60)), QPointF(0, 0));
}

TEST_F(Scheduler, RunningBehaviourIsKeptUntilItsDurationHasPassed)
{
    forceWithLegs(AutoBehavior::walk, {});
    const QDateTime started = manager->executionState().startTime;
    clock.advanceMs(9900);
    manager->scheduleBehavior();
    EXPECT_EQ(manager->executionState().startTime, started);
    EXPECT_EQ(manager->getCurrentBehaviorStatus(), u"走路 (剩余 0秒)"_s);

    // The user holding the pet blocks the tick even once the time is up.
    clock.advanceMs(100);
    petState.setInteracting(true);
    manager->scheduleBehavior();
    EXPECT_EQ(manager->executionState().startTime, started);

    petState.setInteracting(false);
    manager->scheduleBehavior();
    EXPECT_EQ(manager->executionState().startTime, clock.now());
}

TEST_F(Scheduler, DragStartEndsTheRunningBehaviour)
{
    forceWithLegs(AutoBehavior::gaming, {});
    QSignalSpy changed(manager.get(), &AutoBehaviorManager::currentBehaviorChanged);
    Q_EMIT EventCenter::shared().userDidInteractWithPet();
    EXPECT_FALSE(manager->executionState().isExecuting);
    EXPECT_TRUE(manager->executionState().pathPoints.isEmpty());
    EXPECT_EQ(manager->currentBehavior(), AutoBehavior::scratching);
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed.first().first().value<AutoBehavior>(), AutoBehavior::scratching);

    // Nothing running: nothing to stop, nothing announced.
    Q_EMIT EventCenter::shared().userDidInteractWithPet();
    EXPECT_EQ(changed.size(), 1);
}

TEST_F(Scheduler, SameBehaviourTwiceAnnouncesNoChangeButAStart)
{
    QSignalSpy changed(manager.get(), &AutoBehaviorManager::currentBehaviorChanged);
    QSignalSpy started(manager.get(), &AutoBehaviorManager::behaviorDidChange);
    manager->forceBehavior(AutoBehavior::walk);
    EXPECT_EQ(changed.size(), 0);
    EXPECT_EQ(started.size(), 1);
}

TEST_F(Scheduler, EachExplorationHeadsBackToTheCentreOnlyWhileItStillRuns)
{
    const struct
    {
        const char* what;
        QList<AutoBehavior> forced;
        bool returns;
    } cases[] = {
        { "an exploration", { AutoBehavior::explore }, true },
        { "another behaviour forced meanwhile", { AutoBehavior::explore, AutoBehavior::walk }, false },
        // The first one's return must not act for the second: that one returns once, on its own time.
        { "a second exploration", { AutoBehavior::explore, AutoBehavior::explore }, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const qsizetype linesBefore = loggedLines(u"AutoBehavior"_s).size();
        QElapsedTimer elapsed;
        elapsed.start();
        for (const AutoBehavior behavior : c.forced)
            forceWithLegs(behavior, {});
        const QList<PathPoint> forcedPath = manager->executionState().pathPoints;
        // Started after the returns with the same delay, it fires after all of them.
        bool returnsDue = false;
        QTimer::singleShot(
            AutoBehaviorManager::exploreReturnDelayMs, Qt::PreciseTimer, [&returnsDue] { returnsDue = true; });
        ASSERT_TRUE(waitUntil([&] { return returnsDue; }));
        EXPECT_GE(elapsed.elapsed(), 1500);

        const QStringList returned = loggedLines(u"AutoBehavior"_s).mid(linesBefore);
        if (c.returns) {
            EXPECT_EQ(returned, QStringList { u"🏠 探索时间到，返回屏幕中心"_s });
            ASSERT_EQ(manager->executionState().pathPoints.size(), 1);
            EXPECT_EQ(manager->executionState().pathPoints.first().position, QPointF(896, 476));
            EXPECT_EQ(manager->executionState().pathPoints.first().speed, 1.5);
        } else {
            EXPECT_TRUE(returned.isEmpty()) << returned.join(u'\n').toStdString();
            EXPECT_EQ(manager->executionState().pathPoints.size(), forcedPath.size());
        }
    }
}

TEST_F(Scheduler, StopKeepsTheBehaviourAndStartPicksANewOne)
{
    forceWithLegs(AutoBehavior::gaming, {});
    manager->stopBehaviorSystem();
    EXPECT_FALSE(manager->behaviorTimer().isActive());
    EXPECT_FALSE(manager->movementTimer().isActive());
    EXPECT_FALSE(manager->executionState().isExecuting);
    EXPECT_EQ(manager->currentBehavior(), AutoBehavior::gaming);
    EXPECT_EQ(manager->executionState().pathPoints.size(), 6);

    clock.advanceMs(1000);
    manager->startBehaviorSystem();
    EXPECT_EQ(manager->currentBehavior(), AutoBehavior::walk);
    EXPECT_EQ(manager->executionState().startTime, clock.now());
}

TEST_F(Scheduler, ForcedWhilePausedWaitsAndResumeReplacesIt)
{
    manager->pauseScheduling();
    forceWithLegs(AutoBehavior::gaming, {});
    EXPECT_EQ(manager->currentBehavior(), AutoBehavior::gaming);
    EXPECT_FALSE(manager->isRunning());
    manager->resumeScheduling();
    EXPECT_TRUE(manager->isRunning());
    EXPECT_EQ(manager->currentBehavior(), AutoBehavior::walk);
    EXPECT_EQ(loggedLines(u"AutoBehavior"_s), (QStringList { u"自动行为系统已暂停"_s, u"自动行为系统已恢复"_s }));
}

TEST_F(Scheduler, SwitchedOffItNeitherStartsNorResumes)
{
    QSignalSpy active(manager.get(), &AutoBehaviorManager::isActiveChanged);
    manager->toggleBehaviorSystem();
    EXPECT_FALSE(manager->isActive());
    EXPECT_FALSE(manager->isRunning());
    manager->startBehaviorSystem();
    manager->resumeScheduling();
    EXPECT_FALSE(manager->isRunning());
    EXPECT_TRUE(loggedLines(u"AutoBehavior"_s).isEmpty());
    EXPECT_EQ(manager->getCurrentBehaviorStatus(), u"行为系统已暂停"_s);

    manager->toggleBehaviorSystem();
    EXPECT_TRUE(manager->isRunning());
    EXPECT_EQ(active.size(), 2);
}

TEST_F(Scheduler, StatusCountsDownWholeSeconds)
{
    forceWithLegs(AutoBehavior::walk, {});
    clock.advanceMs(2500);
    EXPECT_EQ(manager->getCurrentBehaviorStatus(), u"走路 (剩余 7秒)"_s);
    clock.advanceMs(60000);
    EXPECT_EQ(manager->executionState().remainingTime(clock.now()), 0.0);
}

// A mood change weighs a fresh choice only against a behaviour with more than 10 s to go
// (which, as none lasts longer, takes a clock set back); what runs goes on either way.
TEST_F(Scheduler, AMoodChangeLeavesTheRunningBehaviourAlone)
{
    forceWithLegs(AutoBehavior::walk, {});
    const QDateTime start = manager->executionState().startTime;
    QSignalSpy changed(manager.get(), &AutoBehaviorManager::currentBehaviorChanged);
    for (const auto& [secondsOn, draws] : { std::pair { 0, 0 }, std::pair { -1, 9 } }) {
        clock.set(start.addSecs(secondsOn));
        random.realRanges.clear();
        Q_EMIT EventCenter::shared().emotionDidChange();
        EXPECT_EQ(random.realRanges.size(), draws) << secondsOn;
        EXPECT_EQ(changed.size(), 0);
        EXPECT_TRUE(manager->executionState().isExecuting);
        EXPECT_EQ(manager->executionState().pathPoints.size(), 5);
    }
}
