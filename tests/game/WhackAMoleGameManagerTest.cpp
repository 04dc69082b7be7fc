#include "game/WhackAMoleGameManager.h"

#include "GameRig.h"
#include "game/GameCatView.h"
#include "game/GameCatWindow.h"
#include "game/GameScoreBoardView.h"
#include "platform/Alerts.h"
#include "platform/FloatingWindow.h"
#include "support/DrawnText.h"
#include "support/LogLines.h"
#include "support/Screenshots.h"
#include "support/Wait.h"
#include "widgets/TextStyle.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

struct Game : ::testing::Test, GameRig
{
    Game()
    {
        Alerts::clearAnsweredAlerts();
        windowManager.createPetWindow();
    }
    ~Game() override { Alerts::setNextAnswers({}); }

    FloatingWindow& pet() { return *windowManager.petWindow(); }

    /// Ends every fade now, as if its time had passed.
    static void finishFades(const QList<GameCatWindow*>& cats)
    {
        for (GameCatWindow* cat : cats)
            cat->stopFade();
    }

    static void tap(GameCatWindow* cat) { QTest::mouseClick(cat->view(), Qt::LeftButton); }
};

/// Answers the low end of every range, and records the ranges asked for.
struct RangeRecorder final : RandomSource
{
    QList<QPair<double, double>> ranges;
    double uniformReal(double lo, double hi) override
    {
        ranges.append({ lo, hi });
        return lo;
    }
    int uniformInt(int lo, int) override { return lo; }
};

} // namespace

// Each level's cats and time show on the game's preferences page.
TEST(GameDifficultyTable, EachLevelHasItsText)
{
    for (const GameDifficulty difficulty : allGameDifficulties)
        EXPECT_EQ(gameDifficultyFromRaw(rawValue(difficulty)), difficulty);
    for (const QString& other : { u"easy"_s, u""_s, u"简单 "_s, u"medium"_s })
        EXPECT_FALSE(gameDifficultyFromRaw(other).has_value()) << other.toStdString();
}

TEST(GameScoreComment, EachBandHasItsComment)
{
    const std::pair<int, QString> rows[] = {
        { 0, u"加油哦！多练习就能提高了！"_s },
        { 10, u"加油哦！多练习就能提高了！"_s },
        { 11, u"不错！继续努力！"_s },
        { 20, u"不错！继续努力！"_s },
        { 21, u"很棒！你的反应很快！"_s },
        { 30, u"很棒！你的反应很快！"_s },
        { 31, u"太厉害了！你是打猫猫高手！"_s },
        { 40, u"太厉害了！你是打猫猫高手！"_s },
        { 41, u"简直神了！你是打猫猫大师！"_s },
        { 500, u"简直神了！你是打猫猫大师！"_s },
    };
    for (const auto& [score, comment] : rows)
        EXPECT_EQ(WhackAMoleGameManager::getScoreComment(score), comment) << score;
}

TEST_F(Game, GameLengthIsStoredAndDefaultsToAMinute)
{
    EXPECT_EQ(makeGame()->gameDuration(), 60);
    EXPECT_EQ(defaults.integer(WhackAMoleGameManager::gameDurationKey), 60);

    defaults.setValue(WhackAMoleGameManager::gameDurationKey, 30);
    auto game = makeGame();
    EXPECT_EQ(game->gameDuration(), 30);
    EXPECT_EQ(game->difficulty(), GameDifficulty::medium);
    game->setGameDuration(20);
    EXPECT_EQ(defaults.integer(WhackAMoleGameManager::gameDurationKey), 20);
    EXPECT_EQ(makeGame()->gameDuration(), 20);
}

TEST_F(Game, AWholeGameScoresRestoresThePetAndOffersAnotherRound)
{
    // Given as the opacity manager gives it, by a fade whose last step lands a rounding off
    // 0.3; the window itself keeps only a byte of it.
    bool faded = false;
    pet().fadeTo(0.3, 30, [&] { faded = true; });
    ASSERT_TRUE(waitUntil([&] { return faded; }));
    defaults.setValue(WhackAMoleGameManager::gameDurationKey, 10);
    auto game = makeGame();
    ASSERT_TRUE(behavior.isRunning());
    QSignalSpy active(game.get(), &WhackAMoleGameManager::isGameActiveChanged);

    game->startGame();
    EXPECT_TRUE(game->isGameActive());
    EXPECT_EQ(active.size(), 1);
    EXPECT_EQ(game->timeRemaining(), 10);
    ASSERT_EQ(game->gameWindows().size(), 5);
    EXPECT_NEAR(pet().windowOpacity(), 0.05, 0.01);
    EXPECT_TRUE(pet().isClickThrough()) << "the faint pet would catch blows meant for cats";
    EXPECT_EQ(game->savedMainWindowOpacity(), 0.3);
    EXPECT_TRUE(loggedLines(u"WhackAMole"_s).contains(u"💾 保存主窗口透明度: 0.3，临时设置为: 0.05"_s));
    EXPECT_TRUE(opacity.isOpacityManagementPaused());
    EXPECT_FALSE(behavior.isRunning());
    ASSERT_NE(game->scoreWindow(), nullptr);
    EXPECT_EQ(game->scoreWindow()->modelFrame(), QRectF(1220, 800, 200, 80));

    // Every cat waits its random delay (none here), then shows.
    GameCatWindow* cat = game->gameWindows().first();
    EXPECT_FALSE(cat->isCatVisible());
    EXPECT_TRUE(cat->isClickThrough());
    timers.advanceMs(0);
    EXPECT_TRUE(cat->isCatVisible());
    EXPECT_FALSE(cat->isClickThrough());
    EXPECT_EQ(cat->modelFrame(), QRectF(0, 25, 128, 128));

    // A tap: a firework above the cat, a point, and the cat goes down for a second.
    tap(cat);
    EXPECT_EQ(game->score(), 1);
    ASSERT_EQ(game->fireworkWindows().size(), 1);
    EXPECT_EQ(game->fireworkWindows().first()->modelFrame(), QRectF(0, 45, 128, 128));
    EXPECT_TRUE(game->fireworkWindows().first()->isClickThrough());
    EXPECT_FALSE(cat->isCatVisible());
    finishFades({ cat });
    EXPECT_TRUE(cat->isClickThrough());
    timers.advanceMs(999);
    EXPECT_FALSE(cat->isCatVisible());
    timers.advanceMs(1);
    EXPECT_TRUE(cat->isCatVisible()) << "a hit cat shows again a second after it went down";
    // The firework has faded out and closed by now, also in real time.
    EXPECT_TRUE(waitUntil([&] { return game->fireworkWindows().isEmpty(); }, 3000));

    // The countdown ends the game on its tenth tick.
    timers.advanceMs(8000);
    EXPECT_EQ(game->timeRemaining(), 1);
    EXPECT_TRUE(game->isGameActive());
    timers.advanceMs(1000);
    EXPECT_FALSE(game->isGameActive());
    ASSERT_EQ(active.size(), 2);
    EXPECT_EQ(active.last().first().toBool(), false);
    EXPECT_EQ(game->timeRemaining(), 0);
    EXPECT_TRUE(game->gameWindows().isEmpty());
    EXPECT_NEAR(pet().windowOpacity(), 0.3, 0.01) << "the pet gets back the opacity it had";
    EXPECT_TRUE(loggedLines(u"WhackAMole"_s).contains(u"🔄 恢复主窗口透明度: 0.3"_s));
    EXPECT_FALSE(pet().isClickThrough());
    EXPECT_FALSE(opacity.isOpacityManagementPaused());
    EXPECT_TRUE(behavior.isRunning());
    EXPECT_NE(game->scoreWindow(), nullptr) << "the board stays until the end alert";

    // A tap on a cat still fading out counts nothing.
    game->catClicked(cat);
    EXPECT_EQ(game->score(), 1);
    EXPECT_TRUE(loggedLines(u"WhackAMole"_s).contains(u"⚠️ 游戏已结束，忽略点击"_s));

    Alerts::setNextAnswers({ 0 });
    timers.advanceMs(WhackAMoleGameManager::gameOverDelayMs);
    const QList<Alerts::Record> alerts = Alerts::answeredAlerts();
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_EQ(alerts.first().title, u"游戏结束！"_s);
    EXPECT_EQ(alerts.first().text, u"你的得分：1 分\n加油哦！多练习就能提高了！"_s);
    EXPECT_EQ(alerts.first().buttons, (QStringList { u"再来一局"_s, u"关闭"_s }));
    // "再来一局": a fresh game.
    EXPECT_TRUE(game->isGameActive());
    EXPECT_EQ(game->score(), 0);
    EXPECT_EQ(game->timeRemaining(), 10);
    EXPECT_EQ(game->gameWindows().size(), 5);

    // "关闭" leaves the game idle with its score.
    tap(game->gameWindows().first());
    Alerts::setNextAnswers({ 1 });
    timers.advanceMs(10000 + WhackAMoleGameManager::gameOverDelayMs);
    EXPECT_FALSE(game->isGameActive());
    EXPECT_EQ(game->score(), 1);
    EXPECT_EQ(game->scoreWindow(), nullptr);
    EXPECT_EQ(Alerts::answeredAlerts().size(), 2);
}

TEST_F(Game, ACatLeftUpIsTakenDownWhenItsTimeIsUpAndComesBackLater)
{
    auto game = makeGame();
    game->setDifficulty(GameDifficulty::hard);
    game->startGame();
    ASSERT_EQ(game->gameWindows().size(), 8);
    GameCatWindow* cat = game->gameWindows().first();
    timers.advanceMs(0);
    timers.advanceMs(1499);
    EXPECT_TRUE(cat->isCatVisible());
    timers.advanceMs(1);
    EXPECT_FALSE(cat->isCatVisible());
    EXPECT_FALSE(cat->isClickThrough()) << "a cat still fading takes taps";
    finishFades(game->gameWindows());
    EXPECT_TRUE(cat->isClickThrough());
    // Its cycle starts over: the next random delay (none) and it is up again.
    timers.advanceMs(0);
    EXPECT_TRUE(cat->isCatVisible());

    // A new difficulty applies from the next showing on.
    game->setDifficulty(GameDifficulty::easy);
    timers.advanceMs(1500);
    EXPECT_FALSE(cat->isCatVisible());
    finishFades(game->gameWindows());
    timers.advanceMs(2999);
    EXPECT_TRUE(cat->isCatVisible());
    timers.advanceMs(1);
    EXPECT_FALSE(cat->isCatVisible());
}

TEST_F(Game, RestartingMidGameKeepsThePetDimAndGivesBackItsOwnOpacity)
{
    pet().setWindowOpacity(0.7);
    defaults.setValue(WhackAMoleGameManager::gameDurationKey, 10);
    auto game = makeGame();
    game->startGame();
    // Restarted before the cats have shown: their first steps are still pending.
    const QList<GameCatWindow*> oldCats = game->gameWindows();
    const FloatingWindow* oldBoard = game->scoreWindow();

    game->startGame();
    EXPECT_NEAR(pet().windowOpacity(), 0.05, 0.01);
    EXPECT_TRUE(pet().isClickThrough());
    EXPECT_NEAR(game->savedMainWindowOpacity(), 0.7, 0.01);
    EXPECT_EQ(game->timeRemaining(), 10);
    EXPECT_EQ(game->score(), 0);
    for (GameCatWindow* cat : game->gameWindows())
        EXPECT_FALSE(oldCats.contains(cat));
    EXPECT_NE(game->scoreWindow(), oldBoard);

    // The old cats' cycles stop; the countdown starts over.
    timers.advanceMs(0);
    EXPECT_TRUE(loggedLines(u"WhackAMole"_s).contains(u"🛑 猫猫循环已停止（游戏结束）"_s));
    for (GameCatWindow* cat : game->gameWindows())
        EXPECT_TRUE(cat->isCatVisible());
    timers.advanceMs(9000);
    EXPECT_TRUE(game->isGameActive());
    Alerts::setNextAnswers({ 1 });
    timers.advanceMs(1000);
    EXPECT_FALSE(game->isGameActive());
    EXPECT_NEAR(pet().windowOpacity(), 0.7, 0.01);
    EXPECT_FALSE(pet().isClickThrough());
}

TEST_F(Game, BehaviourSwitchedOffOrHeldStillStaysSoAfterTheGame)
{
    // Switched off by the user, or paused as do-not-disturb pauses it.
    const std::function<void()> holds[]
        = { [&] { behavior.toggleBehaviorSystem(); }, [&] { behavior.pauseScheduling(); } };
    for (const auto& hold : holds) {
        if (!behavior.isActive())
            behavior.toggleBehaviorSystem();
        hold();
        ASSERT_FALSE(behavior.isRunning());
        const bool active = behavior.isActive();
        defaults.setValue(WhackAMoleGameManager::gameDurationKey, 1);
        auto game = makeGame();
        Alerts::setNextAnswers({ 1 });
        game->startGame();
        timers.advanceMs(1000 + WhackAMoleGameManager::gameOverDelayMs);
        EXPECT_FALSE(game->isGameActive());
        EXPECT_FALSE(behavior.isRunning()) << "the game's end set the pet walking";
        EXPECT_EQ(behavior.isActive(), active);
    }
    // A restart mid-game still gives back a behaviour that ran before the first game.
    behavior.startBehaviorSystem();
    auto game = makeGame();
    Alerts::setNextAnswers({ 1 });
    game->startGame();
    game->startGame();
    timers.advanceMs(1000 + WhackAMoleGameManager::gameOverDelayMs);
    EXPECT_TRUE(behavior.isRunning());
}

TEST_F(Game, CatsArePlacedWithinTheVisibleArea)
{
    RangeRecorder recorder;
    auto game = makeGame(&recorder);
    game->setDifficulty(GameDifficulty::easy);
    game->startGame();
    // Each cat: x and y where it is made, then the delay before it first shows.
    ASSERT_GE(recorder.ranges.size(), 3);
    EXPECT_EQ(recorder.ranges.at(0), qMakePair(0.0, 1312.0));
    EXPECT_EQ(recorder.ranges.at(1), qMakePair(25.0, 772.0));
    EXPECT_EQ(recorder.ranges.at(2), qMakePair(0.0, 1.0));
    recorder.ranges.clear();
    timers.advanceMs(0);
    ASSERT_EQ(recorder.ranges.size(), 6) << "each of the three cats jumps to a new place";
    EXPECT_EQ(recorder.ranges.at(0), qMakePair(0.0, 1312.0));
    EXPECT_EQ(recorder.ranges.at(1), qMakePair(25.0, 772.0));
}

TEST_F(Game, WithoutAScreenTheCountdownStillEndsTheGame)
{
    screens.setGeometries({});
    defaults.setValue(WhackAMoleGameManager::gameDurationKey, 2);
    auto game = makeGame();
    Alerts::setNextAnswers({ 1 });
    game->startGame();
    EXPECT_TRUE(game->gameWindows().isEmpty());
    EXPECT_EQ(game->scoreWindow(), nullptr);
    timers.advanceMs(2000);
    EXPECT_FALSE(game->isGameActive());
}

// The cat holds its game weakly: a tap reaches the game while it exists, and nothing once
// it has gone.
TEST_F(Game, ACatTapReachesItsGameOnlyWhileTheGameExists)
{
    auto game = makeGame();
    game->startGame();
    auto* cat = new GameCatWindow(QPointF(300, 200), QSizeF(128, 128), game.get(), {}, QCursor(), screens, random);
    EXPECT_EQ(cat->modelFrame(), QRectF(300, 200, 128, 128));
    tap(cat);
    EXPECT_EQ(game->score(), 1);
    ASSERT_EQ(game->fireworkWindows().size(), 1);
    EXPECT_EQ(game->fireworkWindows().first()->modelFrame(), QRectF(300, 220, 128, 128));

    game.reset();
    EXPECT_EQ(cat->gameManager(), nullptr);
    tap(cat);
    delete cat;
}

TEST_F(Game, HidingAHiddenCatCompletesAtOnce)
{
    auto game = makeGame();
    game->startGame();
    GameCatWindow* cat = game->gameWindows().first();
    bool done = false;
    cat->hideTemporarily([&] { done = true; });
    EXPECT_TRUE(done);
    EXPECT_TRUE(cat->isClickThrough());
    EXPECT_DOUBLE_EQ(cat->windowOpacity(), 0.0);
}

TEST_F(Game, TheScoreBoardFollowsTheGame)
{
    defaults.setValue(WhackAMoleGameManager::gameDurationKey, 12);
    auto game = makeGame();
    game->startGame();
    auto* board = game->scoreWindow()->findChild<GameScoreBoardView*>();
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(board->timeLabel()->text(), u"12秒"_s);
    EXPECT_EQ(board->scoreLabel()->text(), u"0"_s);
    const QColor normal = board->timeLabel()->palette().color(QPalette::WindowText);
    timers.advanceMs(1000);
    EXPECT_EQ(board->timeLabel()->text(), u"11秒"_s);
    EXPECT_EQ(board->timeLabel()->palette().color(QPalette::WindowText), normal);
    timers.advanceMs(1000);
    const QColor hurry = board->timeLabel()->palette().color(QPalette::WindowText);
    EXPECT_NE(hurry, normal);
    EXPECT_TRUE(hurry.hsvHue() <= 10 || hurry.hsvHue() >= 350) << hurry.name().toStdString();
    game->catClicked(game->gameWindows().first());
    EXPECT_EQ(board->scoreLabel()->text(), u"1"_s);
}

// The board as drawn: its figures bold at 16 px, the short time red and the score blue, both
// readable on the board over a light or a dark desktop, in a light and a dark palette.
TEST_F(Game, TheScoreBoardDrawsItsFiguresBoldAndReadable)
{
    defaults.setValue(WhackAMoleGameManager::gameDurationKey, 10);
    for (const bool dark : { false, true }) {
        SCOPED_TRACE(dark ? "dark" : "light");
        QApplication::setPalette(dark ? darkFusionPalette() : lightPalette());
        auto game = makeGame();
        game->startGame();
        auto* board = game->scoreWindow()->findChild<GameScoreBoardView*>();
        ASSERT_NE(board, nullptr);
        QCoreApplication::processEvents();
        const QImage shot = drawnImage(board);
        saveShot(shot, dark ? u"score-board-dark"_s : u"score-board-light"_s);
        const std::pair<QLabel*, std::string> figures[]
            = { { board->timeLabel(), "red" }, { board->scoreLabel(), "blue" } };
        // The board is its window colour at 0.95 over whatever desktop lies behind it.
        const QImage translucent = board->grab().toImage();
        for (const auto& [label, ink] : figures) {
            SCOPED_TRACE(label->objectName().toStdString());
            for (const QColor desktop : { QColor(Qt::white), QColor(Qt::black) }) {
                SCOPED_TRACE(desktop.name().toStdString());
                QImage over(translucent.size(), QImage::Format_RGB32);
                over.setDevicePixelRatio(translucent.devicePixelRatio());
                over.fill(desktop);
                QPainter(&over).drawImage(0, 0, translucent);
                expectReadable(over, areaIn(label, board), "figure", { ink });
            }
            const QImage drawn = drawnImage(label);
            const QFont own = label->font();
            label->setFont(TextStyle::systemFont(16, QFont::Bold));
            EXPECT_TRUE(drawnImage(label) == drawn) << "not the system font at 16 px, bold";
            label->setFont(own);
        }
    }
    QApplication::setPalette(lightPalette());
}

TEST(HammerCursor, StrikesAtItsHotSpotOrFallsBackToThePointingHand)
{
    EXPECT_EQ(loadHammerCursor({}).shape(), Qt::PointingHandCursor);
    EXPECT_EQ(loadHammerCursor(u"/nonexistent/hammer.png"_s).shape(), Qt::PointingHandCursor);
    const QCursor hammer = loadHammerCursor(Resources(Resources::locateRoot()).find(u"hammer"_s, u"png"_s));
    EXPECT_EQ(hammer.shape(), Qt::BitmapCursor);
    EXPECT_EQ(hammer.hotSpot(), QPoint(16, 28));
    EXPECT_EQ(hammer.pixmap().size(), QSize(32, 32));

    // A click lands where the hammer strikes: the head's steel at the hot spot, and nothing
    // of the drawing further down than its face.
    const QImage drawn = hammer.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    const QPoint hotSpot = hammer.hotSpot();
    int steelNearHotSpot = 0;
    int lowestInk = -1;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            const QColor c = drawn.pixelColor(x, y);
            if (c.alpha() < 128)
                continue;
            lowestInk = std::max(lowestInk, y);
            // Steel is a blue grey; the wooden handle is brown, red above blue.
            if (c.blue() > c.red() && std::abs(x - hotSpot.x()) <= 2 && std::abs(y - hotSpot.y()) <= 2)
                ++steelNearHotSpot;
        }
    }
    EXPECT_GT(steelNearHotSpot, 0) << "the hammer's head is not at the hot spot";
    EXPECT_LE(lowestInk, hotSpot.y() + 2) << "the hammer reaches below where it strikes";
}
