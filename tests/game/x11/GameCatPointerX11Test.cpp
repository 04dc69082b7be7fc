// Real pointer clicks on real cat windows, under a window manager that frames windows: a cat
// that has faded out, and the firework its hit leaves over it, must let the click through to
// the window below instead of scoring.
#include "game/GameCatWindow.h"
#include "game/WhackAMoleGameManager.h"
#include "support/FramingWindowManager.h"
#include "support/RealClicks.h"
#include "support/Wait.h"

#include "../GameRig.h"

#include <QWindow>

#include <algorithm>

#include <gtest/gtest.h>

namespace {

struct CatPointer : ::testing::Test, GameRig
{
    // Where the first cat shows: (600, 400) in the model, Qt's (600, 372) on a 900 pt screen.
    const QRect catOnScreen { 600, 900 - 400 - 128, 128, 128 };
    // Under the stand-in, unless a real window manager runs on the display.
    FramingWindowManager windowManager;
    // A window under the cat that counts the clicks passed through to it.
    PressCounter below;

    /// Starts the window manager and shows the counter under the cat; false when it could not.
    bool showWindowBelow()
    {
        windowManager.start();
        below.setGeometry(catOnScreen.adjusted(-20, -20, 20, 20));
        below.show();
        return windowManager.waitUntil([&] { return below.windowHandle() && below.windowHandle()->isExposed(); });
    }
};

} // namespace

TEST_F(CatPointer, AHiddenCatLetsTheClickThroughAndAShownOneScores)
{
    if (!canClick())
        GTEST_SKIP() << "xdotool is not installed";
    ASSERT_TRUE(showWindowBelow());

    // Three cats are made (x, y, delay each), then show at places of their own.
    random.reals = { 10, 30, 0, 10, 30, 0, 10, 30, 0, 600, 400, 100, 600, 1000, 600 };
    auto game = makeGame();
    game->setDifficulty(GameDifficulty::easy);
    game->startGame();
    timers.advanceMs(0);
    GameCatWindow* cat = game->gameWindows().first();
    ASSERT_EQ(cat->geometry(), catOnScreen);
    ASSERT_TRUE(windowManager.waitUntil([&] { return cat->windowHandle()->isExposed() && !cat->isFading(); }));

    ASSERT_TRUE(clickAt(catOnScreen.center()));
    ASSERT_TRUE(windowManager.waitUntil([&] { return game->score() == 1; }));
    EXPECT_EQ(below.presses, 0) << "the shown cat took the click";
    ASSERT_EQ(game->fireworkWindows().size(), 1);
    FloatingWindow* firework = game->fireworkWindows().first();
    ASSERT_TRUE(windowManager.waitUntil([&] { return firework->windowHandle()->isExposed(); }));
    ASSERT_TRUE(firework->geometry().contains(catOnScreen.center()));

    // The hit cat fades out; once gone it must neither score nor swallow the click, and
    // neither must the firework shown over it.
    ASSERT_TRUE(windowManager.waitUntil([&] { return !cat->isFading() && cat->isClickThrough(); }));
    ASSERT_TRUE(clickAt(catOnScreen.center()));
    EXPECT_TRUE(windowManager.waitUntil([&] { return below.presses == 1; }));
    EXPECT_EQ(game->score(), 1);

    // Shown again, it scores again.
    timers.advanceMs(WhackAMoleGameManager::reshowDelayMs);
    ASSERT_TRUE(cat->isCatVisible());
    ASSERT_TRUE(windowManager.waitUntil([&] { return !cat->isFading(); }));
    const QPoint again = cat->geometry().center();
    ASSERT_TRUE(clickAt(again));
    EXPECT_TRUE(windowManager.waitUntil([&] { return game->score() == 2; }));
}

TEST_F(CatPointer, ACatNotYetShownLetsTheClickThrough)
{
    if (!canClick())
        GTEST_SKIP() << "xdotool is not installed";
    ASSERT_TRUE(showWindowBelow());

    // Three cats stacked at one place, each waiting the longest first delay before it shows.
    random.reals = { 600, 400, 1, 600, 400, 1, 600, 400, 1 };
    auto game = makeGame();
    game->setDifficulty(GameDifficulty::easy);
    game->startGame();
    const QList<GameCatWindow*> cats = game->gameWindows();
    ASSERT_EQ(cats.size(), 3);
    ASSERT_TRUE(windowManager.waitUntil([&] {
        return std::all_of(
            cats.begin(), cats.end(), [](GameCatWindow* cat) { return cat->windowHandle()->isExposed(); });
    }));
    ASSERT_FALSE(cats.first()->isCatVisible());

    ASSERT_TRUE(clickAt(catOnScreen.center()));
    EXPECT_TRUE(windowManager.waitUntil([&] { return below.presses == 1; })) << "a cat not yet shown took the click";
    EXPECT_EQ(game->score(), 0);
}
