#include "pet/DoNotDisturbManager.h"

#include "pet/AutoBehaviorManager.h"
#include "platform/FloatingWindow.h"
#include "support/FakeRandom.h"
#include "support/PetRig.h"

#include "support/LogLines.h"

#include <QJsonArray>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

struct DoNotDisturb : ::testing::Test, PetRig
{
    // A 1440 × 900 main screen with a 25 pt panel at the top.
    DoNotDisturb()
        : PetRig({ QRect(0, 0, 1440, 900), QRect(0, 25, 1440, 875) })
    {
    }

    FakeRandom random;
    std::unique_ptr<AutoBehaviorManager> scheduler;

    void SetUp() override
    {
        petState.setPosition(QPointF(700, 300));
        scheduler = std::make_unique<AutoBehaviorManager>(petState, windowManager, screens, &clock, &random);
    }

    std::unique_ptr<DoNotDisturbManager> make()
    {
        return std::make_unique<DoNotDisturbManager>(defaults, screens, windowManager, petState, *scheduler);
    }

    [[nodiscard]] QPointF windowOrigin() const
    {
        const QRectF frame = windowManager.petWindow()->modelFrame();
        return { frame.x(), frame.y() };
    }

    [[nodiscard]] QJsonArray storedPosition() const { return defaults.value(PetState::positionKey).toArray(); }
};

} // namespace

TEST_F(DoNotDisturb, EnteringPinsThePetBottomLeftAndPausesTheScheduler)
{
    windowManager.createPetWindow();
    ASSERT_TRUE(windowManager.petWindow());
    const QPointF before = windowOrigin();
    auto manager = make();
    QSignalSpy changed(manager.get(), &DoNotDisturbManager::isDoNotDisturbModeChanged);

    manager->toggleDoNotDisturbMode();
    EXPECT_TRUE(manager->isDoNotDisturbMode());
    EXPECT_EQ(changed.size(), 1);
    EXPECT_EQ(manager->originalPosition(), before);
    EXPECT_EQ(windowOrigin(), QPointF(10, 10));
    EXPECT_EQ(petState.data().position, QPointF(10, 762));
    EXPECT_EQ(storedPosition(), (QJsonArray { 10, 762 }));
    EXPECT_FALSE(scheduler->isRunning());
    EXPECT_TRUE(scheduler->isActive());
    EXPECT_EQ(loggedLines(u"DoNotDisturb"_s),
        (QStringList { u"⏸️ 勿扰模式：已暂停自动行为系统"_s,
            u"📍 宠物已固定在屏幕左下角（距离底部：10.0px），完全静止"_s, u"勿扰模式: 开启"_s }));

    // Assigning the value it already has switches nothing.
    manager->setDoNotDisturbMode(true);
    EXPECT_EQ(changed.size(), 1);
}

TEST_F(DoNotDisturb, EveryMoveIsBentOntoThePinnedLine)
{
    auto manager = make();
    EXPECT_EQ(manager->getValidWindowOriginForDoNotDisturb(QPointF(5000, 300)), QPointF(5000, 300));
    manager->setDoNotDisturbMode(true);
    EXPECT_EQ(manager->getValidWindowOriginForDoNotDisturb(QPointF(5000, 300)), QPointF(1302, 10));
    EXPECT_EQ(manager->getValidWindowOriginForDoNotDisturb(QPointF(-40, -300)), QPointF(10, 10));
    EXPECT_EQ(manager->getValidWindowOriginForDoNotDisturb(QPointF(400.5, 600)), QPointF(400.5, 10));

    Screens none { QList<ScreenGeometry> {} };
    DoNotDisturbManager headless(defaults, none, windowManager, petState, *scheduler);
    headless.setDoNotDisturbMode(true);
    EXPECT_EQ(headless.getValidWindowOriginForDoNotDisturb(QPointF(5000, 300)), QPointF(5000, 300));
}

TEST_F(DoNotDisturb, ChangingTheOffsetMovesThePinnedPetAtOnce)
{
    windowManager.createPetWindow();
    auto manager = make();
    manager->setBottomOffset(25);
    EXPECT_EQ(defaults.doubleValue(DoNotDisturbManager::bottomOffsetKey), 25.0);
    EXPECT_NE(windowOrigin().y(), 25.0);

    manager->setDoNotDisturbMode(true);
    EXPECT_EQ(windowOrigin(), QPointF(10, 25));
    windowManager.petWindow()->setModelOrigin(QPointF(300, 25));
    manager->setBottomOffset(40);
    EXPECT_EQ(windowOrigin(), QPointF(300, 40));
    EXPECT_EQ(storedPosition(), (QJsonArray { 300, 732 }));
    EXPECT_EQ(loggedLines(u"DoNotDisturb"_s).last(), u"勿扰模式底部距离已更新为 40.0 像素"_s);
}

TEST_F(DoNotDisturb, AnyOffsetIsUsedWhileEnoughOfThePetStaysOnTheScreen)
{
    windowManager.createPetWindow();
    auto manager = make();
    manager->setDoNotDisturbMode(true);
    // Offset, the window's bottom edge in the model, and the stored top-left y. The screen is
    // 900 high; a pet sunk or lifted past its last 64 pixels would be out of reach.
    const struct
    {
        double offset;
        double bottom;
        double storedY;
    } cases[] = {
        { -30, -30, 802 },
        { -60, -60, 832 },
        { 0, 0, 772 },
        { 50, 50, 722 },
        { -64, -64, 836 },
        { -200, -64, 836 },
        { 836, 836, -64 },
        { 5000, 836, -64 },
    };
    for (const auto& c : cases) {
        manager->setBottomOffset(c.offset);
        EXPECT_EQ(windowOrigin(), QPointF(10, c.bottom)) << c.offset;
        EXPECT_EQ(petState.data().position, QPointF(10, c.storedY)) << c.offset;
        EXPECT_EQ(manager->getValidWindowOriginForDoNotDisturb(QPointF(300, 500)), QPointF(300, c.bottom)) << c.offset;
        EXPECT_EQ(defaults.doubleValue(DoNotDisturbManager::bottomOffsetKey), c.offset);
    }
}

TEST_F(DoNotDisturb, LeavingReturnsThePetAndRestartsTheScheduler)
{
    windowManager.createPetWindow();
    const QPointF before = windowOrigin();
    auto manager = make();
    manager->toggleDoNotDisturbMode();
    manager->toggleDoNotDisturbMode();
    EXPECT_EQ(windowOrigin(), before);
    const QPointF restored = screens.storedFromPetOrigin(before);
    EXPECT_EQ(petState.data().position, restored);
    EXPECT_EQ(storedPosition(), (QJsonArray { restored.x(), restored.y() }));
    EXPECT_FALSE(manager->originalPosition());
    EXPECT_TRUE(scheduler->isRunning());
    // The next walk starts where the pet stands again, not in the corner it left.
    ASSERT_FALSE(scheduler->executionState().pathPoints.isEmpty());
    const QPointF first = scheduler->executionState().pathPoints.first().position;
    EXPECT_LE(std::hypot(first.x() - restored.x(), first.y() - restored.y()), 150.0 + 1e-9);

    EXPECT_EQ(loggedLines(u"AutoBehavior"_s).last(), u"自动行为系统已恢复"_s);
    const QStringList lines = loggedLines(u"DoNotDisturb"_s);
    EXPECT_EQ(lines.mid(lines.size() - 3),
        (QStringList {
            u"▶️ 勿扰模式：已恢复自动行为系统"_s, u"宠物已返回原位置"_s, u"勿扰模式: 关闭"_s }));
}

TEST_F(DoNotDisturb, LeavingWithTheSchedulerSwitchedOffDoesNotStartIt)
{
    windowManager.createPetWindow();
    const QPointF before = windowOrigin();
    scheduler->toggleBehaviorSystem();
    auto manager = make();
    manager->setDoNotDisturbMode(true);
    manager->setDoNotDisturbMode(false);
    EXPECT_FALSE(scheduler->isRunning());
    EXPECT_EQ(windowOrigin(), before);
    EXPECT_TRUE(loggedLines(u"AutoBehavior"_s).filter(u"已恢复"_s).isEmpty());
    EXPECT_TRUE(loggedLines(u"DoNotDisturb"_s).contains(u"▶️ 勿扰模式：已恢复自动行为系统"_s));
}

TEST_F(DoNotDisturb, WithoutAPetWindowTheFlagAloneChanges)
{
    auto manager = make();
    manager->setDoNotDisturbMode(true);
    EXPECT_TRUE(manager->isDoNotDisturbMode());
    EXPECT_TRUE(scheduler->isRunning());
    EXPECT_FALSE(manager->originalPosition());
    manager->setDoNotDisturbMode(false);
    EXPECT_TRUE(scheduler->isRunning());
    EXPECT_EQ(loggedLines(u"DoNotDisturb"_s), QStringList { u"▶️ 勿扰模式：已恢复自动行为系统"_s });
}

TEST_F(DoNotDisturb, UserActionLeavesTheModeAndAsksForANewMenu)
{
    auto manager = make();
    QSignalSpy rebuild(manager.get(), &DoNotDisturbManager::menuRebuildRequested);
    manager->exitIfActiveDueToUserAction();
    QCoreApplication::sendPostedEvents(manager.get(), QEvent::MetaCall);
    EXPECT_EQ(rebuild.size(), 0);
    EXPECT_TRUE(loggedLines(u"DoNotDisturb"_s).isEmpty());

    manager->setDoNotDisturbMode(true);
    manager->exitIfActiveDueToUserAction();
    EXPECT_FALSE(manager->isDoNotDisturbMode());
    // The rebuild is queued: it runs after the exit has completed.
    EXPECT_EQ(rebuild.size(), 0);
    QCoreApplication::sendPostedEvents(manager.get(), QEvent::MetaCall);
    EXPECT_EQ(rebuild.size(), 1);
    EXPECT_EQ(loggedLines(u"DoNotDisturb"_s).last(), u"因用户动作自动退出勿扰模式"_s);
}

TEST_F(DoNotDisturb, StoredOffsetsAreReadAndNeverLoseThePet)
{
    EXPECT_EQ(make()->bottomOffset(), 10.0);
    EXPECT_FALSE(defaults.contains(DoNotDisturbManager::bottomOffsetKey));

    defaults.setValue(DoNotDisturbManager::bottomOffsetKey, 0.0);
    EXPECT_EQ(make()->bottomOffset(), 0.0);
    defaults.setValue(DoNotDisturbManager::bottomOffsetKey, u"high"_s);
    EXPECT_EQ(make()->bottomOffset(), 10.0);

    auto manager = make();
    manager->setBottomOffset(std::nan(""));
    EXPECT_EQ(manager->bottomOffset(), 10.0);
    EXPECT_EQ(defaults.doubleValue(DoNotDisturbManager::bottomOffsetKey), 10.0);
}
