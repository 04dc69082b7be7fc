#include "platform/LottiePlayer.h"
#include "platform/FloatingWindow.h"
#include "platform/InputShape.h"
#include "platform/LottieAnimation.h"
#include "platform/LottieCache.h"
#include "platform/LottieFrames.h"
#include "platform/Screens.h"

#include "LottieTestFiles.h"
#include "support/Wait.h"

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QPaintEvent>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <set>
#include <vector>

using namespace Qt::StringLiterals;
using lottietest::Motion;

namespace {

class LottiePlayerTest : public ::testing::Test
{
protected:
    QString file(const QString& name, const QByteArray& content)
    {
        return lottietest::write(m_dir.filePath(name), content);
    }
    QString moving(int frames = 10, double fps = 30)
    {
        return file(u"moving.json"_s, lottietest::document(frames, fps));
    }

    static void advance(LottiePlayer& player, int ticks)
    {
        for (int i = 0; i < ticks; ++i)
            player.advance();
    }

    QTemporaryDir m_dir;
};

struct CompletionLog
{
    std::vector<bool> calls;
    LottiePlayer::Completion callback()
    {
        return [this](bool finished) { calls.push_back(finished); };
    }
};

// Counts the paints a widget receives.
class PaintCounter final : public QObject
{
public:
    int paints = 0;
    QRect lastRect;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++paints;
            lastRect = static_cast<QPaintEvent*>(event)->rect();
        }
        return false;
    }
};

QRegion drawnShape(LottieAnimation& animation, int frame)
{
    return InputShape::ofImage(animation.render(frame, QSize(128, 128)));
}

bool samePixels(const QRegion& a, const QRegion& b)
{
    return a.xored(b).isEmpty();
}

} // namespace

TEST_F(LottiePlayerTest, UnloadableFilesAreRefusedAndPlaybackGoesOn)
{
    LottiePlayer player;
    const QString good = moving();
    ASSERT_TRUE(player.setAnimation(good));
    player.setLoopMode(true);
    player.play();
    advance(player, 3);

    const QString refused[] = {
        m_dir.filePath(u"missing.json"_s),
        file(u"empty.json"_s, QByteArray()),
        file(u"blank.json"_s, "  \n"),
        file(u"truncated.json"_s, lottietest::document(10, 30).left(60)),
        file(u"array.json"_s, "[1,2,3]"),
        file(u"object.json"_s, "{}"),
        file(u"nolayers.json"_s, R"({"v":"5.7.0","fr":30,"ip":0,"op":10,"w":128,"h":128,"layers":"x"})"),
        file(u"noframes.json"_s, lottietest::document(10, 30).replace("\"op\":10,\"w\"", "\"op\":0,\"w\"")),
        file(u"zerorate.json"_s, lottietest::document(10, 0)),
        file(u"huge.json"_s, lottietest::document(10, 30, Motion::Still, 100000, 100000)),
    };
    for (const QString& path : refused) {
        EXPECT_FALSE(player.setAnimation(path)) << path.toStdString();
        EXPECT_EQ(player.animationPath(), good);
        EXPECT_EQ(player.currentFrame(), 3);
        EXPECT_TRUE(player.isPlaying());
    }
    player.advance();
    EXPECT_EQ(player.currentFrame(), 4);
}

TEST_F(LottiePlayerTest, NothingLoadedPlaysNothing)
{
    LottiePlayer player;
    CompletionLog log;
    player.play(log.callback());
    EXPECT_FALSE(player.isPlaying());
    EXPECT_EQ(log.calls, std::vector<bool> { false });
    player.advance();
    EXPECT_EQ(player.currentFrame(), 0);
}

TEST_F(LottiePlayerTest, PlayOnceStopsOnLastFrameAndCompletesOnce)
{
    LottiePlayer player;
    ASSERT_TRUE(player.setAnimation(moving(10)));
    EXPECT_FALSE(player.loopMode()) << "plays once unless told to loop";
    CompletionLog log;
    player.play(log.callback());
    advance(player, 8);
    EXPECT_EQ(player.currentFrame(), 8);
    EXPECT_TRUE(log.calls.empty());
    player.advance();
    EXPECT_EQ(player.currentFrame(), 9);
    EXPECT_FALSE(player.isPlaying());
    advance(player, 5);
    EXPECT_EQ(player.currentFrame(), 9);
    EXPECT_EQ(log.calls, std::vector<bool> { true });

    // Playing a finished animation again starts it over.
    CompletionLog again;
    player.play(again.callback());
    EXPECT_EQ(player.currentFrame(), 0);
    advance(player, 9);
    EXPECT_EQ(again.calls, std::vector<bool> { true });
    EXPECT_EQ(log.calls.size(), 1u);
}

TEST_F(LottiePlayerTest, InterruptedPlaybackCompletesWithFalse)
{
    LottiePlayer player;
    ASSERT_TRUE(player.setAnimation(moving(10)));
    CompletionLog first, second, third;
    player.play(first.callback());
    advance(player, 4);
    player.play(second.callback());
    EXPECT_EQ(first.calls, std::vector<bool> { false });
    EXPECT_EQ(player.currentFrame(), 4) << "a new play() continues from where the last one was";

    player.pause();
    EXPECT_EQ(second.calls, std::vector<bool> { false });
    EXPECT_EQ(player.currentFrame(), 4);
    EXPECT_FALSE(player.isPlaying());
    player.advance();
    EXPECT_EQ(player.currentFrame(), 4);

    player.play(third.callback());
    player.stop();
    EXPECT_EQ(third.calls, std::vector<bool> { false });
    EXPECT_EQ(player.currentFrame(), 0);

    CompletionLog replaced;
    player.play(replaced.callback());
    ASSERT_TRUE(player.setAnimation(file(u"other.json"_s, lottietest::document(20, 30))));
    EXPECT_EQ(replaced.calls, std::vector<bool> { false });
    EXPECT_FALSE(player.isPlaying());
    EXPECT_EQ(player.frameCount(), 20);
}

TEST_F(LottiePlayerTest, CompletionMayRestartOrDeleteThePlayer)
{
    auto* player = new LottiePlayer;
    ASSERT_TRUE(player->setAnimation(moving(3)));
    int restarts = 0;
    LottiePlayer::Completion restart = [&](bool finished) {
        if (finished && ++restarts < 3)
            player->play(restart);
    };
    player->play(restart);
    advance(*player, 20);
    EXPECT_EQ(restarts, 3);

    bool deleted = false;
    player->play([&](bool) {
        delete player;
        deleted = true;
    });
    player->play(); // interrupts the first completion, which deletes the player
    EXPECT_TRUE(deleted);
}

TEST_F(LottiePlayerTest, LoopWrapsToTheFirstFrameWithoutCompleting)
{
    LottiePlayer player;
    ASSERT_TRUE(player.setAnimation(moving(10)));
    player.setLoopMode(true);
    CompletionLog log;
    player.play(log.callback());
    advance(player, 9);
    EXPECT_EQ(player.currentFrame(), 9);
    player.advance();
    EXPECT_EQ(player.currentFrame(), 0);
    advance(player, 23);
    EXPECT_EQ(player.currentFrame(), 3);
    EXPECT_TRUE(player.isPlaying());
    EXPECT_TRUE(log.calls.empty());

    // Turning the loop off lets the running playback end on its last frame.
    player.setLoopMode(false);
    advance(player, 10);
    EXPECT_EQ(player.currentFrame(), 9);
    EXPECT_EQ(log.calls, std::vector<bool> { true });
}

TEST_F(LottiePlayerTest, SpeedScalesTheFrameRate)
{
    LottiePlayer player;
    ASSERT_TRUE(player.setAnimation(moving(100, 30)));
    player.setLoopMode(true);
    player.show();
    player.play();
    EXPECT_EQ(player.tickMs(), 33);

    player.setSpeed(0.5);
    EXPECT_EQ(player.tickMs(), 67);
    player.setSpeed(2.0);
    EXPECT_EQ(player.tickMs(), 17);
    EXPECT_TRUE(player.isTicking());

    // Faster than a tick can show: several frames per tick, real time kept.
    player.setSpeed(4.0); // 120 frames a second
    EXPECT_EQ(player.tickMs(), LottiePlayer::minimumTickMs);
    const int before = player.currentFrame();
    advance(player, 25); // 25 × 16 ms = 0.4 s = 48 frames
    EXPECT_EQ(player.currentFrame(), before + 48);

    for (const double bad :
        { 0.0, -1.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity() }) {
        player.setSpeed(bad);
        EXPECT_EQ(player.speed(), 1.0);
        EXPECT_EQ(player.tickMs(), 33);
    }
}

TEST_F(LottiePlayerTest, TicksOnlyWhileVisibleAndPlayingOnATimerSharedByTheSameRate)
{
    QWidget window;
    auto* player = new LottiePlayer(&window);
    ASSERT_TRUE(player->setAnimation(moving()));
    player->setLoopMode(true);
    player->play();
    EXPECT_FALSE(player->isTicking()) << "not shown yet";
    window.show();
    EXPECT_TRUE(player->isTicking());

    window.hide();
    EXPECT_FALSE(player->isTicking());
    EXPECT_TRUE(player->isPlaying()) << "hiding pauses without forgetting the playback";
    window.show();
    EXPECT_TRUE(player->isTicking());

    player->hide();
    EXPECT_FALSE(player->isTicking());
    player->show();
    EXPECT_TRUE(player->isTicking());

    player->pause();
    EXPECT_FALSE(player->isTicking());
    window.hide();
    window.show();
    EXPECT_FALSE(player->isTicking()) << "a paused player stays paused when shown again";

    player->setLoopMode(false);
    player->play();
    EXPECT_TRUE(player->isTicking());
    advance(*player, 20);
    EXPECT_FALSE(player->isTicking()) << "a finished play-once animation needs no timer";

    // Players at one rate step from one timer; another rate has its own.
    const FrameTicker& ticker = LottieCache::shared().ticker();
    std::vector<std::unique_ptr<LottiePlayer>> clones;
    for (const double speed : { 1.0, 1.0, 1.0, 2.0 }) {
        clones.push_back(std::make_unique<LottiePlayer>(&window));
        ASSERT_TRUE(clones.back()->setAnimation(moving()));
        clones.back()->setLoopMode(true);
        clones.back()->setSpeed(speed);
        clones.back()->show();
        clones.back()->play();
    }
    EXPECT_EQ(ticker.timerCount(), 2);
    clones.pop_back();
    EXPECT_EQ(ticker.timerCount(), 1) << "a player that goes takes its timer with it when it was the last";
}

TEST_F(LottiePlayerTest, PlayersShareOneParsedAnimation)
{
    const QString path = moving();
    LottiePlayer first;
    LottiePlayer second;
    ASSERT_TRUE(first.setAnimation(path));
    ASSERT_TRUE(second.setAnimation(m_dir.path() + u"/./moving.json"_s));
    ASSERT_NE(first.animation(), nullptr);
    EXPECT_EQ(first.animation(), second.animation());
    EXPECT_EQ(first.animationPath(), second.animationPath());
}

TEST_F(LottiePlayerTest, LoopRendersEachFrameOnceAndRepaintsOnlyChanges)
{
    LottiePlayer player;
    player.resize(128, 128);
    ASSERT_TRUE(player.setAnimation(moving(10)));
    player.setLoopMode(true);
    player.show();
    player.play();
    PaintCounter counter;
    player.installEventFilter(&counter);
    for (int i = 0; i < 31; ++i) {
        player.advance();
        QApplication::processEvents();
    }
    EXPECT_EQ(counter.paints, 31);
    EXPECT_LE(counter.lastRect.width(), 30) << "a step repaints where the square moved, not the whole player";

    LottiePlayer twin;
    twin.resize(128, 128);
    ASSERT_TRUE(twin.setAnimation(player.animationPath()));
    twin.setLoopMode(true);
    twin.show();
    twin.play();
    for (int i = 0; i < 10; ++i) {
        twin.advance();
        QApplication::processEvents();
    }
    const auto frames = LottieCache::shared().frames(player.animation(), QSize(128, 128), player.devicePixelRatioF());
    EXPECT_EQ(frames->renderCount(), 10) << "three loops of two players draw each frame once";

    // An animation that never changes is painted once, however long it plays.
    ASSERT_TRUE(player.setAnimation(file(u"still.json"_s, lottietest::document(10, 30, Motion::Still))));
    player.play();
    QApplication::processEvents();
    counter.paints = 0;
    for (int i = 0; i < 30; ++i) {
        player.advance();
        QApplication::processEvents();
    }
    EXPECT_EQ(counter.paints, 0);
}

TEST_F(LottiePlayerTest, UnusedFramesAreReleased)
{
    const QString path = moving();
    auto& cache = LottieCache::shared();
    cache.setKeepUnusedFramesMs(0);
    const auto keepAgain = qScopeGuard([&] { cache.setKeepUnusedFramesMs(LottieCache::keepUnusedFramesMs); });
    const int storesBefore = cache.liveFrameStoreCount();
    {
        LottiePlayer player;
        player.resize(64, 64);
        ASSERT_TRUE(player.setAnimation(path));
        player.show();
        QApplication::processEvents();
        EXPECT_EQ(cache.liveFrameStoreCount(), storesBefore + 1);
        player.resize(96, 96);
        QApplication::processEvents();
        EXPECT_EQ(cache.liveFrameStoreCount(), storesBefore + 1) << "the old size's frames go with the resize";
    }
    EXPECT_EQ(cache.liveFrameStoreCount(), storesBefore);

    // Parsed files outlive their players only as the few most recent ones.
    for (int i = 0; i < LottieCache::recentAnimations + 3; ++i) {
        LottiePlayer player;
        ASSERT_TRUE(player.setAnimation(file(u"a%1.json"_s.arg(i), lottietest::document(5, 30))));
    }
    EXPECT_EQ(cache.liveAnimationCount(), LottieCache::recentAnimations);
}

TEST_F(LottiePlayerTest, PaintsAspectFitOnTransparentBackground)
{
    LottiePlayer player;
    player.resize(200, 100);
    ASSERT_TRUE(player.setAnimation(file(u"full.json"_s, lottietest::document(5, 30, Motion::FullCanvas))));
    QImage shot(player.size(), QImage::Format_ARGB32_Premultiplied);
    shot.fill(Qt::transparent);
    player.render(&shot, QPoint(), QRegion(), QWidget::DrawChildren); // without the window background
    const auto alphaAt = [&](int x, int y) { return qAlpha(shot.pixel(x, y)); };
    EXPECT_EQ(alphaAt(10, 50), 0) << "left of the centred square";
    EXPECT_EQ(alphaAt(190, 50), 0) << "right of the centred square";
    EXPECT_EQ(alphaAt(52, 2), 255);
    EXPECT_EQ(alphaAt(147, 97), 255);
}

TEST_F(LottiePlayerTest, ChangedRectCoversOnlyWhatMoved)
{
    // The square (20 × 20, centred at x = 10 + 5 × frame, y = 64) moves 5 px a frame.
    const auto animation = LottieCache::shared().animation(moving(10));
    ASSERT_NE(animation, nullptr);
    LottieFrames frames(animation, QSize(128, 128), 1.0);
    const QRect step = frames.changedRect(4);
    EXPECT_TRUE(step.contains(QRect(15, 54, 25, 20))) << "old and new place of the square";
    EXPECT_LE(step.width(), 27);
    EXPECT_LE(step.height(), 22);
    EXPECT_TRUE(frames.changedRect(0).contains(QRect(0, 54, 65, 20))) << "the wrap from the last frame";

    // Kept frames come back as drawn, also once nothing holds them unpacked.
    for (int i = 0; i < 10; ++i)
        ASSERT_FALSE(frames.frame(i).isNull());
    frames.releaseUnpacked();
    for (const int i : { 4, 0, 9 })
        EXPECT_EQ(frames.frame(i), animation->render(i, QSize(128, 128))) << i;

    const auto still
        = LottieCache::shared().animation(file(u"still.json"_s, lottietest::document(10, 30, Motion::Still)));
    LottieFrames stillFrames(still, QSize(128, 128), 1.0);
    EXPECT_TRUE(stillFrames.changedRect(5).isEmpty());
    EXPECT_EQ(stillFrames.pictureId(3), stillFrames.pictureId(4)) << "identical frames share one picture";
}

TEST_F(LottiePlayerTest, AnimationShapeIsRenamedOnlyWhenItGrows)
{
    // The square (20 px wide) moves 5 px a frame: frame 2 lies within frames 1 and 3.
    const auto animation = LottieCache::shared().animation(moving(10));
    ASSERT_NE(animation, nullptr);
    LottieFrames frames(animation, QSize(128, 128), 1.0);
    LottieFrames other(animation, QSize(128, 128), 1.0);
    std::vector<qint64> names { frames.animationShapeId(), other.animationShapeId() };
    for (const int frame : { 1, 3, 2 }) {
        (void)frames.animationShape(frame);
        names.push_back(frames.animationShapeId());
    }
    EXPECT_EQ(names[4], names[3]) << "a frame within the shape so far leaves its name as it was";
    EXPECT_EQ(std::set<qint64>(names.begin(), names.end()).size(), 4u) << "every other shape has a name of its own";
    EXPECT_TRUE(samePixels(frames.animationShape(2), drawnShape(*animation, 1) + drawnShape(*animation, 3)));
}

TEST_F(LottiePlayerTest, WindowInputFollowsTheAnimationShapeWhereverThePlayerSits)
{
    Screens screens({ { QRect(0, 0, 1440, 900), QRect(0, 25, 1440, 825) } });
    FloatingWindow window(FloatingWindow::Focus::Refuse, screens);
    window.resize(200, 200);
    auto* player = new LottiePlayer(&window);
    player->setGeometry(10, 6, 128, 128);
    player->setShapesWindowInput(true);
    ASSERT_TRUE(player->setAnimation(moving(10)));
    player->setLoopMode(true);
    window.show();
    player->play();
    QApplication::processEvents();
    // Two passes: the first grows the shape frame by frame, the second keeps it.
    QRegion shown;
    for (int tick = 0; tick < 20; ++tick) {
        shown += drawnShape(*player->animation(), player->currentFrame());
        ASSERT_TRUE(window.inputRegion());
        EXPECT_TRUE(samePixels(*window.inputRegion(), shown.translated(10, 6))) << "tick " << tick;
        player->advance();
    }
    // Moved in its window once the shape stopped growing, the player takes its shape along.
    player->move(40, 30);
    player->advance();
    EXPECT_TRUE(samePixels(*window.inputRegion(), shown.translated(40, 30)));
    // Another animation brings its own shape, smaller than the one before.
    ASSERT_TRUE(player->setAnimation(file(u"still.json"_s, lottietest::document(10, 30, Motion::Still))));
    player->play();
    player->advance();
    EXPECT_TRUE(samePixels(*window.inputRegion(), drawnShape(*player->animation(), 0).translated(40, 30)));
}

TEST_F(LottiePlayerTest, UnusedFramesAreKeptAWhileForTheNextPlayer)
{
    LottieCache cache;
    cache.setKeepUnusedFramesMs(300);
    const auto animation = cache.animation(moving(10));
    ASSERT_NE(animation, nullptr);
    {
        const auto frames = cache.frames(animation, QSize(64, 64), 1.0);
        for (int i = 0; i < 10; ++i)
            EXPECT_FALSE(frames->frame(i).isNull());
    }
    // Asked again soon after the last user went: the same frames, nothing drawn again.
    auto again = cache.frames(animation, QSize(64, 64), 1.0);
    EXPECT_EQ(again->renderCount(), 10);
    auto second = cache.frames(animation, QSize(64, 64), 1.0);
    EXPECT_EQ(second.get(), again.get());
    again.reset();
    EXPECT_EQ(cache.liveFrameStoreCount(), 1) << "one user still holds them";

    second.reset();
    EXPECT_EQ(cache.liveFrameStoreCount(), 1) << "unused frames are kept a while";
    ASSERT_TRUE(waitUntil([&] { return cache.liveFrameStoreCount() == 0; }, 3000)) << "and then they go";

    // Beyond the byte budget they go at once, however long they could stay.
    cache.setKeepUnusedFramesMs(60 * 1000);
    cache.setKeepUnusedFramesBytes(0);
    EXPECT_FALSE(cache.frames(animation, QSize(32, 32), 1.0)->frame(0).isNull());
    EXPECT_EQ(cache.liveFrameStoreCount(), 0);
}
