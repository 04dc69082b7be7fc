#include "pet/DragEventHandler.h"

#include "core/EventCenter.h"
#include "pet/AutoBehaviorManager.h"
#include "pet/DoNotDisturbManager.h"
#include "platform/FloatingWindow.h"
#include "support/FakeRandom.h"
#include "support/PetRig.h"

#include "support/LogLines.h"

#include <QJsonArray>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

struct Dragging : ::testing::Test, PetRig
{
    // 1440 × 900 with a 25 pt panel on top and a 50 pt dock at the bottom.
    Dragging()
        : PetRig({ QRect(0, 0, 1440, 900), QRect(0, 25, 1440, 825) })
    {
    }

    FakeRandom random;
    AutoBehaviorManager scheduler { petState, windowManager, screens, &clock, &random };
    DoNotDisturbManager doNotDisturb { defaults, screens, windowManager, petState, scheduler };
    FloatingWindow pet { FloatingWindow::Focus::Refuse, screens };
    DragEventHandler handler { screens, petState, doNotDisturb, &clock };

    void SetUp() override
    {
        scheduler.stopBehaviorSystem();
        pet.setModelFrame(QRectF(300, 300, 128, 128));
        handler.startMonitoring(&pet);
    }

    bool press(QPointF p, bool onPet = true) { return handler.handleMouseEvent(QEvent::MouseButtonPress, p, onPet); }
    bool move(QPointF p) { return handler.handleMouseEvent(QEvent::MouseMove, p, true); }
    bool release(QPointF p) { return handler.handleMouseEvent(QEvent::MouseButtonRelease, p, true); }
    /// Runs the state changes the handler queues after each event.
    void settle() { QCoreApplication::sendPostedEvents(&petState, QEvent::MetaCall); }

    [[nodiscard]] QPointF origin() const { return pet.modelFrame().topLeft(); }
};

} // namespace

TEST_F(Dragging, SmallMovementsStayAClick)
{
    EXPECT_FALSE(press(QPointF(310, 320)));
    EXPECT_FALSE(move(QPointF(312, 322)));
    EXPECT_FALSE(move(QPointF(313, 320)));
    EXPECT_FALSE(release(QPointF(313, 320)));
    settle();
    EXPECT_FALSE(handler.isDragging());
    EXPECT_EQ(origin(), QPointF(300, 300));
    EXPECT_FALSE(petState.data().isInteracting);
    EXPECT_FALSE(defaults.contains(PetState::positionKey));
    EXPECT_EQ(loggedLines(u"Drag"_s), QStringList { u"🖱️ 鼠标按下: 位置=(310.0, 320.0)"_s });
    EXPECT_EQ(handler.dragStartWindowPosition(), QPointF(300, 300));
}

TEST_F(Dragging, DragMovesThePetAndStoresWhereItIsDropped)
{
    QSignalSpy interacted(&EventCenter::shared(), &EventCenter::userDidInteractWithPet);
    press(QPointF(310, 320));
    EXPECT_TRUE(move(QPointF(330, 320)));
    EXPECT_TRUE(handler.isDragging());
    EXPECT_EQ(origin(), QPointF(320, 300));
    settle();
    EXPECT_TRUE(petState.data().isInteracting);
    EXPECT_EQ(interacted.size(), 1);
    // Published during the drag, stored only on release.
    EXPECT_EQ(petState.data().position, QPointF(320, 472));
    EXPECT_FALSE(defaults.contains(PetState::positionKey));

    // Back within 3 pt of the press point: this move neither moves nor is taken.
    EXPECT_FALSE(move(QPointF(311, 321)));
    EXPECT_EQ(origin(), QPointF(320, 300));
    EXPECT_TRUE(move(QPointF(410.4, 120)));
    EXPECT_EQ(origin(), QPointF(400, 100));

    clock.advanceMs(700);
    EXPECT_TRUE(release(QPointF(410, 120)));
    EXPECT_FALSE(handler.isDragging());
    settle();
    EXPECT_EQ(defaults.value(PetState::positionKey).toArray(), (QJsonArray { 400, 672 }));
    EXPECT_EQ(petState.data().lastMoveTime, clock.now());
    EXPECT_FALSE(petState.data().isInteracting);
    EXPECT_EQ(interacted.size(), 1);
    EXPECT_EQ(loggedLines(u"Drag"_s).last(), u"🖱️ 结束拖动: 最终位置=(400.0, 672.0)"_s);
    // The stored place is where the window stands: a restart puts it back there.
    EXPECT_EQ(screens.petOriginFromStored(QPointF(400, 672)), origin());
}

TEST_F(Dragging, TheWindowStaysInsideTheVisibleFrame)
{
    press(QPointF(310, 320));
    move(QPointF(310, 5000));
    EXPECT_EQ(origin(), QPointF(300, 747)); // top edge at the visible top (875)
    move(QPointF(-900, -900));
    EXPECT_EQ(origin(), QPointF(0, 50)); // bottom edge on the dock
    move(QPointF(9000, 320));
    EXPECT_EQ(origin(), QPointF(1312, 300));
}

TEST_F(Dragging, DoNotDisturbOnlyLetsThePetSlideAlongItsLine)
{
    doNotDisturb.setDoNotDisturbMode(true);
    press(QPointF(310, 320));
    move(QPointF(510, 700));
    EXPECT_EQ(origin(), QPointF(500, 10));
    release(QPointF(510, 700));
    settle();
    EXPECT_EQ(defaults.value(PetState::positionKey).toArray(), (QJsonArray { 500, 762 }));
}

TEST_F(Dragging, APressElsewhereNeverBecomesADragOfThePet)
{
    // The button goes down in another of the program's windows, then crosses the pet.
    EXPECT_FALSE(press(QPointF(900, 800), false));
    EXPECT_FALSE(move(QPointF(350, 350)));
    EXPECT_FALSE(move(QPointF(360, 360)));
    EXPECT_FALSE(release(QPointF(360, 360)));
    settle();
    EXPECT_EQ(origin(), QPointF(300, 300));
    EXPECT_FALSE(defaults.contains(PetState::positionKey));
    EXPECT_TRUE(loggedLines(u"Drag"_s).isEmpty());

    // A press inside the pet's frame that reached another window counts as elsewhere too.
    EXPECT_FALSE(press(QPointF(310, 320), false));
    EXPECT_FALSE(move(QPointF(360, 360)));

    // A press on the pet window outside its frame (the pointer left it meanwhile) as well.
    EXPECT_FALSE(press(QPointF(10, 10), true));
    EXPECT_FALSE(move(QPointF(360, 360)));
    EXPECT_FALSE(handler.isDragging());
}

TEST_F(Dragging, RealPointerEventsDragThePetWindow)
{
    pet.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&pet));
    // Pointer events come to the native window first, as the window system delivers them.
    QWindow* window = pet.windowHandle();
    const QPoint inside(10, 10);
    QTest::mousePress(window, Qt::LeftButton, {}, inside);
    QTest::mouseMove(window, inside + QPoint(25, 0));
    EXPECT_TRUE(handler.isDragging());
    EXPECT_EQ(origin(), QPointF(325, 300));
    // The window moved under the pointer: the release is where the pointer now is.
    QTest::mouseRelease(window, Qt::LeftButton, {}, inside);
    EXPECT_FALSE(handler.isDragging());
    settle();
    EXPECT_EQ(defaults.value(PetState::positionKey).toArray(), (QJsonArray { 325, 472 }));

    handler.stopMonitoring();
    QTest::mousePress(window, Qt::LeftButton, {}, inside);
    QTest::mouseMove(window, inside + QPoint(40, 0));
    QTest::mouseRelease(window, Qt::LeftButton, {}, inside + QPoint(40, 0));
    EXPECT_EQ(origin(), QPointF(325, 300));
}

TEST_F(Dragging, ScreenChangesRefreshTheHeightUsedForStoredPositions)
{
    EXPECT_EQ(handler.screenHeight(), 900.0);
    screens.setGeometries({ { QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1080) } });
    EXPECT_EQ(handler.screenHeight(), 1080.0);
    screens.setGeometries({});
    EXPECT_EQ(handler.screenHeight(), 1080.0);
}
