#include "pet/WindowManager.h"
#include "pet/InteractionHandler.h"
#include "pet/LottieAnimationManager.h"
#include "pet/LottiePetView.h"
#include "pet/PetAppearanceManager.h"
#include "pet/PetState.h"
#include "platform/Defaults.h"
#include "platform/FloatingWindow.h"
#include "platform/KeyEnabledWindow.h"
#include "platform/Resources.h"
#include "platform/Screens.h"

#include <QJsonArray>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct WindowManagerFixture : ::testing::Test
{
    QTemporaryDir dir;
    Defaults defaults { dir.filePath(u"defaults.json"_s) };
    Screens screens { QList<ScreenGeometry> { { QRect(0, 0, 1440, 900), QRect(0, 30, 1440, 870) } } };
    Screens noScreen { QList<ScreenGeometry> {} };
    // The pet view that the window hosts plays through these.
    Resources resources { Resources::locateRoot() };
    PetAppearanceManager appearance { defaults };
    LottieAnimationManager animations { appearance, resources };
    PetState clickState { defaults, screens };
    InteractionHandler clicks { clickState, screens };
};

} // namespace

TEST_F(WindowManagerFixture, ThePetWindowStandsAtTheStoredTopLeftPosition)
{
    defaults.setValue(PetState::positionKey, QJsonArray { 100, 50 });
    PetState state(defaults, screens);
    WindowManager manager(state, screens, animations, clicks);
    EXPECT_EQ(manager.petWindow(), nullptr);
    manager.createPetWindow();
    FloatingWindow* window = manager.petWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->modelFrame(), QRectF(100, 722, 128, 128));
    // In Qt's top-left coordinates the stored position is the window's own place.
    EXPECT_EQ(window->geometry(), QRect(100, 50, 128, 128));
    EXPECT_EQ(manager.getCurrentWindowPosition(), QPointF(100, 50));
    // The pet's window never takes focus; the key-enabled (bubble) window does.
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_FALSE(KeyEnabledWindow(screens).windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    ASSERT_NE(manager.petView(), nullptr);
    EXPECT_EQ(manager.petView()->window(), window);
    EXPECT_EQ(manager.petView()->size(), QSize(128, 128));
}

TEST_F(WindowManagerFixture, WithoutAScreenTheHeightIs1080)
{
    defaults.setValue(PetState::positionKey, QJsonArray { 10, 0 });
    PetState state(defaults, noScreen);
    WindowManager manager(state, noScreen, animations, clicks);
    manager.createPetWindow();
    ASSERT_NE(manager.petWindow(), nullptr);
    EXPECT_EQ(manager.petWindow()->modelFrame().topLeft(), QPointF(10, 952));
}

TEST_F(WindowManagerFixture, EveryMoveIsAnnouncedAndNothingIsStored)
{
    PetState state(defaults, screens);
    WindowManager manager(state, screens, animations, clicks);
    QSignalSpy moved(&manager, &WindowManager::petWindowDidMove);
    manager.updateWindowPosition({ 300, 200 });
    EXPECT_EQ(moved.count(), 0);

    manager.createPetWindow();
    FloatingWindow* announced = nullptr;
    QObject::connect(&manager, &WindowManager::petWindowDidMove, [&](FloatingWindow* w) { announced = w; });
    manager.updateWindowPosition({ 300, 200 });
    manager.updateWindowPosition({ 300, 200 });
    ASSERT_EQ(moved.count(), 2);
    EXPECT_EQ(announced, manager.petWindow());
    EXPECT_EQ(manager.getCurrentWindowPosition(), QPointF(300, 200));
    EXPECT_FALSE(defaults.contains(PetState::positionKey));
}

TEST_F(WindowManagerFixture, AClosedWindowIsForgottenAndTheStoredPositionAnswers)
{
    PetState state(defaults, screens);
    state.updatePosition({ 40, 60 });
    WindowManager manager(state, screens, animations, clicks);
    manager.createPetWindow();
    manager.updateWindowPosition({ 500, 500 });
    manager.petWindow()->close();
    EXPECT_EQ(manager.petWindow(), nullptr);
    EXPECT_EQ(manager.petView(), nullptr);
    EXPECT_EQ(manager.getCurrentWindowPosition(), QPointF(40, 60));
    QSignalSpy moved(&manager, &WindowManager::petWindowDidMove);
    manager.updateWindowPosition({ 1, 1 });
    EXPECT_EQ(moved.count(), 0);

    // Building it again replaces the window.
    manager.createPetWindow();
    ASSERT_NE(manager.petWindow(), nullptr);
    EXPECT_EQ(manager.getCurrentWindowPosition(), QPointF(40, 60));
}
