#include "TestAnimation.h"
#include "support/LogLines.h"

#include "pet/AutoBehaviorManager.h"
#include "pet/InteractionHandler.h"
#include "pet/LottieAnimationManager.h"
#include "pet/LottiePetView.h"
#include "pet/PetAppearanceManager.h"
#include "pet/PetState.h"
#include "pet/WindowManager.h"
#include "platform/Defaults.h"
#include "platform/LottiePlayer.h"
#include "platform/Resources.h"
#include "platform/Screens.h"
#include "support/FakeRandom.h"
#include "support/Wait.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Two clicks in quick succession, as the pointer sends them: press, release, press, release.
void doubleClick(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(64, 64));
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(64, 64));
}

// Plays a behaviour and lets the view catch up, as the event loop would.
void play(LottieAnimationManager& manager, PetBehavior behavior)
{
    manager.playBehavior(behavior);
    QCoreApplication::processEvents();
}

struct PetViewFixture : ::testing::Test
{
    QTemporaryDir dir;
    Defaults defaults { dir.filePath(u"defaults.json"_s) };
    QString root = dir.filePath(u"res"_s);
    Resources resources { root };
    PetAppearanceManager appearance { defaults };
    FakeRandom random;
    Screens screens { QList<ScreenGeometry> { { QRect(0, 0, 1440, 900), QRect(0, 0, 1440, 900) } } };

    PetViewFixture()
    {
        for (const char* name :
            { "cat_scratching_butt", "cat_blinking", "cat_thinking", "cat_gaming", "cat_greeting", "cat_walking" })
            writeTestAnimation(catPath(QString::fromLatin1(name)));
    }
    // Clicks on views that a test does not click.
    PetState clickState { defaults, screens };
    InteractionHandler clicks { clickState, screens };

    // What a view observes when it is left to play what it is told.
    PetViewObjects objects(LottieAnimationManager& manager)
    {
        return { .lottieManager = manager, .interactionHandler = clicks, .petState = clickState };
    }

    QString catPath(const QString& name) const
    {
        return root + u"/Resources/LottieAnimations/Cat/"_s + name + u".json"_s;
    }
};

} // namespace

TEST_F(PetViewFixture, ShowsTheCurrentBehaviourAndReloadsOnlyANewFile)
{
    LottieAnimationManager manager(appearance, resources);
    LottiePetView view(objects(manager), nullptr, &random);
    view.show();
    play(manager, PetBehavior::idle);
    ASSERT_NE(view.player(), nullptr);
    EXPECT_EQ(view.currentPath(), catPath(u"cat_scratching_butt"_s));
    EXPECT_TRUE(view.player()->isPlaying());
    EXPECT_TRUE(view.player()->loopMode());
    EXPECT_EQ(view.player()->speed(), 0.8);

    // Playing the current behaviour again keeps the running animation where it is (the frame
    // timer may still step it on while events are processed, but it must not start over).
    view.player()->advance();
    view.player()->advance();
    const int frame = view.player()->currentFrame();
    ASSERT_GT(frame, 0);
    play(manager, PetBehavior::idle);
    EXPECT_GE(view.player()->currentFrame(), frame);

    play(manager, PetBehavior::thinking);
    EXPECT_EQ(view.currentPath(), catPath(u"cat_thinking"_s));
    EXPECT_FALSE(view.player()->loopMode());
    EXPECT_EQ(view.player()->speed(), 1.0);
    EXPECT_EQ(view.player()->currentFrame(), 0);
}

TEST_F(PetViewFixture, ABrokenFileIsLoggedAndTheLastAnimationStays)
{
    LottieAnimationManager manager(appearance, resources);
    LottiePetView view(objects(manager), nullptr, &random);
    const auto shown = view.player()->animation();
    ASSERT_NE(shown, nullptr);

    for (const QByteArray& content : { QByteArray(), QByteArrayLiteral("{\"v\": 5, \"layers\": [") }) {
        QFile broken(catPath(u"cat_gaming"_s));
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
        broken.write(content);
        broken.close();
        play(manager, PetBehavior::special);
        EXPECT_TRUE(loggedLines(u"Lottie"_s).contains(u"❌ 无法加载 Lottie 动画: "_s + catPath(u"cat_gaming"_s)));
        EXPECT_EQ(view.player()->animation(), shown);
        play(manager, PetBehavior::idle);
    }

    // A missing file does not make the pet vanish either; the next good one plays. What is
    // played is logged before what cannot be shown.
    QFile::remove(catPath(u"cat_greeting"_s));
    play(manager, PetBehavior::interacting);
    const QStringList lines = loggedLines(u"Lottie"_s);
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines.at(lines.size() - 2), u"播放动画: 打招呼 (速度: 1.0)"_s);
    EXPECT_EQ(lines.last(), u"❌ 未找到动画文件: cat_greeting.json in Resources/LottieAnimations/Cat"_s);
    ASSERT_NE(view.player(), nullptr);
    EXPECT_EQ(view.player()->animation(), shown);
    EXPECT_EQ(view.currentPath(), catPath(u"cat_scratching_butt"_s));
    play(manager, PetBehavior::resting);
    EXPECT_EQ(view.currentPath(), catPath(u"cat_blinking"_s));
    EXPECT_TRUE(view.player()->isPlaying());
}

TEST_F(PetViewFixture, ASingleTapWaitsForTheDoubleClickIntervalAndADoubleTapIsNeverAlsoASingleOne)
{
    LottieAnimationManager manager(appearance, resources);
    PetState petState(defaults, screens);
    InteractionHandler interaction(petState, screens);
    LottiePetView view(
        PetViewObjects { .lottieManager = manager, .interactionHandler = interaction, .petState = petState }, nullptr,
        &random);
    int clicks = 0;
    QObject::connect(&petState, &PetState::dataChanged,
        [&] { clicks += petState.data().animationState == PetAnimationState::clickFeedback; });
    view.show();

    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(64, 64));
    EXPECT_EQ(manager.currentBehavior(), PetBehavior::idle);
    ASSERT_TRUE(waitUntil([&] { return manager.currentBehavior() == PetBehavior::resting; }));
    EXPECT_EQ(clicks, 1);

    random.ints = { 1 };
    doubleClick(&view);
    EXPECT_EQ(manager.currentBehavior(), PetBehavior::special);
    QTest::qWait(QApplication::doubleClickInterval() + 100);
    EXPECT_EQ(manager.currentBehavior(), PetBehavior::special);
    EXPECT_EQ(clicks, 1);

    // The dog cannot think: a double tap leaves its idle animation.
    appearance.changePetType(PetType::dog);
    random.ints = { 0 };
    doubleClick(&view);
    EXPECT_EQ(manager.currentBehavior(), PetBehavior::idle);
}

TEST_F(PetViewFixture, TheSchedulersBehaviourChangesPlayTheirAnimationOnlyWhenTheBehaviourChanges)
{
    LottieAnimationManager manager(appearance, resources);
    WindowManager windows(clickState, screens, manager, clicks);
    AutoBehaviorManager scheduler(clickState, windows, screens, nullptr, &random);
    scheduler.stopBehaviorSystem();
    scheduler.forceBehavior(AutoBehavior::gaming);
    PetViewObjects observed = objects(manager);
    observed.autoBehaviorManager = &scheduler;
    LottiePetView view(observed, nullptr, &random);
    QSignalSpy played(&manager, &LottieAnimationManager::currentBehaviorChanged);

    // The behaviour the scheduler already runs when the view is made is not played again.
    view.onAutoBehaviorChanged(AutoBehavior::gaming);
    EXPECT_EQ(played.count(), 0);
    scheduler.forceBehavior(AutoBehavior::walk);
    EXPECT_EQ(manager.currentBehavior(), PetBehavior::moving);
    scheduler.forceBehavior(AutoBehavior::walk);
    EXPECT_EQ(played.count(), 1);
    scheduler.forceBehavior(AutoBehavior::greeting);
    EXPECT_EQ(manager.currentBehavior(), PetBehavior::interacting);
    EXPECT_EQ(played.count(), 2);
}

TEST_F(PetViewFixture, ARightClickAsksForTheMenuAtThePointer)
{
    LottieAnimationManager manager(appearance, resources);
    LottiePetView view(objects(manager), nullptr, &random);
    QSignalSpy menu(&view, &LottiePetView::contextMenuRequested);
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 20), QPoint(310, 420));
    QApplication::sendEvent(&view, &event);
    ASSERT_EQ(menu.count(), 1);
    EXPECT_EQ(menu.at(0).at(0).toPoint(), QPoint(310, 420));
}
