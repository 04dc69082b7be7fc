// Real pointer clicks on real cat windows: a cat that has faded out must let the click
// through to the window below it instead of scoring.
#include "game/GameCatWindow.h"
#include "game/WhackAMoleGameManager.h"
#include "support/Wait.h"

#include "../GameRig.h"

#include <QMouseEvent>
#include <QProcess>
#include <QStandardPaths>
#include <QWindow>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

/// A plain window under the cats that counts the presses it gets.
class Below final : public QWidget
{
public:
    Below() { setWindowFlags(Qt::Tool | Qt::FramelessWindowHint); }
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        ++presses;
        event->accept();
    }
};

bool clickAt(QPoint globalPos)
{
    const int status = QProcess::execute(u"xdotool"_s,
        { u"mousemove"_s, QString::number(globalPos.x()), QString::number(globalPos.y()), u"click"_s, u"1"_s });
    return status == 0;
}

struct CatPointer : ::testing::Test, GameRig
{
};

} // namespace

TEST_F(CatPointer, AHiddenCatLetsTheClickThroughAndAShownOneScores)
{
    if (QStandardPaths::findExecutable(u"xdotool"_s).isEmpty())
        GTEST_SKIP() << "xdotool is not installed";

    // Where the first cat shows: (600, 400) in the model, Qt's (600, 372) on a 900 pt screen.
    const QRect catOnScreen(600, 900 - 400 - 128, 128, 128);
    Below below;
    below.setGeometry(catOnScreen.adjusted(-20, -20, 20, 20));
    below.show();
    ASSERT_TRUE(waitUntil([&] { return below.windowHandle() && below.windowHandle()->isExposed(); }));

    // Three cats are made (x, y, delay each), then show at places of their own.
    random.reals = { 10, 30, 0, 10, 30, 0, 10, 30, 0, 600, 400, 100, 600, 1000, 600 };
    auto game = makeGame();
    game->setDifficulty(GameDifficulty::easy);
    game->startGame();
    timers.advanceMs(0);
    GameCatWindow* cat = game->gameWindows().first();
    ASSERT_EQ(cat->geometry(), catOnScreen);
    ASSERT_TRUE(waitUntil([&] { return cat->windowHandle()->isExposed() && !cat->isFading(); }));

    ASSERT_TRUE(clickAt(catOnScreen.center()));
    ASSERT_TRUE(waitUntil([&] { return game->score() == 1; }));
    EXPECT_EQ(below.presses, 0) << "the shown cat took the click";

    // The hit cat fades out; once gone it must neither score nor swallow the click.
    ASSERT_TRUE(waitUntil([&] { return !cat->isFading() && cat->isClickThrough(); }));
    ASSERT_TRUE(clickAt(catOnScreen.center()));
    EXPECT_TRUE(waitUntil([&] { return below.presses == 1; }));
    EXPECT_EQ(game->score(), 1);

    // Shown again, it scores again.
    timers.advanceMs(WhackAMoleGameManager::reshowDelayMs);
    ASSERT_TRUE(cat->isCatVisible());
    ASSERT_TRUE(waitUntil([&] { return !cat->isFading(); }));
    const QPoint again = cat->geometry().center();
    ASSERT_TRUE(clickAt(again));
    EXPECT_TRUE(waitUntil([&] { return game->score() == 2; }));
}
