// Real pointer clicks on the pet while a game dims it, under a window manager that frames
// windows: a hammer blow on the faint pet goes on to what lies below, and once the game is
// over the pet takes its clicks again.
#include "game/WhackAMoleGameManager.h"
#include "platform/FloatingWindow.h"
#include "support/FramingWindowManager.h"
#include "support/RealClicks.h"

#include "../GameRig.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

/// Counts the presses the window system delivers to one window.
class PressesOn final : public QObject
{
public:
    explicit PressesOn(const QWindow* window)
        : m_window(window)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }
    int presses = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_window && event->type() == QEvent::MouseButtonPress)
            ++presses;
        return false;
    }

private:
    const QWindow* m_window;
};

} // namespace

TEST(DimmedPetClicks, DuringAGameClicksOnThePetReachTheWindowBelow)
{
    if (!canClick())
        GTEST_SKIP() << "xdotool is not installed";
    // Under the stand-in, unless a real window manager runs on the display.
    FramingWindowManager framing;
    framing.start();
    const auto settle = [&] {
        // Long enough for the window manager to hear of a new input shape and copy it.
        QElapsedTimer waited;
        waited.start();
        framing.waitUntil([&] { return waited.elapsed() > 300; });
    };

    GameRig rig;
    const QRect petOnScreen(300, 300, 128, 128);
    // Below the pet, and opened first so the pet's frame stands above it.
    PressCounter below;
    below.setGeometry(petOnScreen.adjusted(-20, -20, 20, 20));
    below.show();
    ASSERT_TRUE(framing.waitUntil([&] { return below.windowHandle() && below.windowHandle()->isExposed(); }));
    rig.petState.updatePosition(petOnScreen.topLeft());
    rig.windowManager.createPetWindow();
    FloatingWindow* pet = rig.windowManager.petWindow();
    ASSERT_TRUE(framing.waitUntil([&] { return pet->windowHandle()->isExposed() && pet->inputRegion(); }));
    ASSERT_EQ(pet->geometry(), petOnScreen);
    PressesOn onPet(pet->windowHandle());

    // The cats wait out of the way for their first showing.
    rig.random.reals = { 1000, 600, 1, 1100, 600, 1, 1200, 600, 1 };
    auto game = rig.makeGame();
    game->setDifficulty(GameDifficulty::easy);
    game->startGame();
    settle();
    ASSERT_TRUE(clickAt(petOnScreen.center()));
    EXPECT_TRUE(framing.waitUntil([&] { return below.presses == 1; })) << "the dimmed pet took the click";
    EXPECT_EQ(onPet.presses, 0);

    rig.timers.advanceMs(game->gameDuration() * WhackAMoleGameManager::countdownMs);
    ASSERT_FALSE(game->isGameActive());
    settle();
    ASSERT_TRUE(clickAt(petOnScreen.center()));
    EXPECT_TRUE(framing.waitUntil([&] { return onPet.presses == 1; })) << "the pet is still passing clicks on";
    EXPECT_EQ(below.presses, 1);
}
