#include "pet/MultiPetManager.h"

#include "pet/ClonePetView.h"
#include "pet/LottieAnimationManager.h"
#include "pet/PetAppearanceManager.h"
#include "platform/FloatingWindow.h"
#include "platform/LottiePlayer.h"
#include "platform/Resources.h"
#include "support/FakeRandom.h"
#include "support/PetRig.h"
#include "support/Wait.h"

#include "support/LogLines.h"

#include <QWindow>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

struct Clones : ::testing::Test, PetRig
{
    // 1440 × 900 with a 25 pt panel on top and a 50 pt dock at the bottom.
    Clones()
        : PetRig({ QRect(0, 0, 1440, 900), QRect(0, 25, 1440, 825) })
    {
    }

    FakeRandom random;

    std::unique_ptr<MultiPetManager> make(Screens* on = nullptr, RandomSource* source = nullptr)
    {
        return std::make_unique<MultiPetManager>(
            defaults, on ? *on : screens, windowManager, animations, source ? source : &random);
    }

    /// Queues the draws of ten clones: behaviour index, x and y for each.
    void queueClones()
    {
        for (int i = 0; i < MultiPetManager::cloneCount; ++i) {
            random.ints.append(i % 8);
            random.reals.append(100.5 + i * 100);
            random.reals.append(60.9 + i * 50);
        }
    }
};

} // namespace

TEST_F(Clones, DismissTimeIsReadWrittenBackAndFallsBackToThreeSeconds)
{
    EXPECT_EQ(make()->cloneDismissTime(), 3.0);
    EXPECT_EQ(defaults.doubleValue(MultiPetManager::cloneDismissTimeKey), 3.0);

    for (const double bad : { 0.0, -2.0 }) {
        defaults.setValue(MultiPetManager::cloneDismissTimeKey, bad);
        EXPECT_EQ(make()->cloneDismissTime(), 3.0) << bad;
        EXPECT_EQ(defaults.doubleValue(MultiPetManager::cloneDismissTimeKey), 3.0);
    }
    defaults.setValue(MultiPetManager::cloneDismissTimeKey, 5.5);
    auto manager = make();
    EXPECT_EQ(manager->cloneDismissTime(), 5.5);

    manager->setCloneDismissTime(std::nan(""));
    EXPECT_EQ(manager->cloneDismissTime(), 3.0);
    manager->setCloneDismissTime(7.0);
    EXPECT_EQ(defaults.doubleValue(MultiPetManager::cloneDismissTimeKey), 7.0);
}

TEST_F(Clones, TimerIntervalsAreNeverNegativeNorOverflow)
{
    EXPECT_EQ(MultiPetManager::timerIntervalMs(3.0), 3000);
    EXPECT_EQ(MultiPetManager::timerIntervalMs(0.0001), 1);
    EXPECT_EQ(MultiPetManager::timerIntervalMs(1e12), std::numeric_limits<int>::max());
    EXPECT_EQ(MultiPetManager::timerIntervalMs(-1.0), 0);
    EXPECT_EQ(MultiPetManager::timerIntervalMs(std::nan("")), 0);
}

TEST_F(Clones, TenClickThroughClonesAppearAtRandomPlaces)
{
    auto manager = make();
    queueClones();
    manager->performTransformation();
    const QList<FloatingWindow*> clones = manager->clonedWindows();
    ASSERT_EQ(clones.size(), 10);
    for (int i = 0; i < clones.size(); ++i) {
        FloatingWindow* clone = clones[i];
        EXPECT_TRUE(clone->isVisible());
        EXPECT_TRUE(clone->isClickThrough());
        EXPECT_TRUE(clone->windowHandle()->flags().testFlag(Qt::WindowTransparentForInput));
        EXPECT_EQ(clone->modelFrame().size(), QSizeF(128, 128));
        auto* view = clone->findChild<ClonePetView*>();
        ASSERT_TRUE(view);
        EXPECT_EQ(view->behavior(), allPetBehaviors.at(static_cast<std::size_t>(i % 8)));
        // The cat has every animation: each clone plays one.
        ASSERT_TRUE(view->player());
        EXPECT_TRUE(view->player()->isPlaying());
    }
    EXPECT_EQ(clones[1]->modelFrame().topLeft(), QPointF(std::round(200.5), std::round(110.9)));
    EXPECT_TRUE(manager->dismissTimer().isActive());
    EXPECT_EQ(manager->dismissTimer().interval(), 3000);

    const QStringList lines = loggedLines(u"MultiPet"_s);
    EXPECT_EQ(lines.first(), u"🎭 开始执行撒豆成兵特效"_s);
    EXPECT_TRUE(lines.contains(u"📍 主窗口引用: nil"_s));
    EXPECT_TRUE(lines.contains(u"➕ 创建克隆[0]: 待机 at (100, 60)"_s));
    EXPECT_TRUE(lines.contains(u"➕ 创建克隆[9]: 移动 at (1000, 510)"_s));
    EXPECT_TRUE(lines.contains(u"✨ 撒豆成兵已触发，创建了10个克隆宠物"_s));
    EXPECT_FALSE(lines.contains(u"📌 确认主窗口可见"_s));
}

TEST_F(Clones, TheTimerRemovesThemAndThePetComesToTheFront)
{
    windowManager.createPetWindow();
    auto manager = make();
    manager->setCloneDismissTime(0.05);
    queueClones();
    manager->performTransformation();
    QList<QPointer<FloatingWindow>> clones;
    for (FloatingWindow* clone : manager->clonedWindows())
        clones.append(clone);
    EXPECT_TRUE(loggedLines(u"MultiPet"_s).contains(u"📌 确认主窗口可见"_s));

    ASSERT_TRUE(waitUntil([&] { return manager->clonedWindows().isEmpty(); }));
    EXPECT_FALSE(manager->dismissTimer().isActive());
    QStringList lines = loggedLines(u"MultiPet"_s);
    EXPECT_TRUE(lines.contains(u"⏰ 0.05秒计时器触发，开始清除克隆"_s));
    EXPECT_TRUE(lines.contains(u"🌟 开始清除10个克隆宠物"_s));
    EXPECT_TRUE(lines.contains(u"✅ 所有克隆宠物清除完成"_s));

    // Faded out, hidden, then closed; the pet is raised once more and stays.
    ASSERT_TRUE(waitUntil(
        [&] { return std::all_of(clones.begin(), clones.end(), [](const auto& clone) { return clone.isNull(); }); }));
    ASSERT_TRUE(waitUntil([&] { return loggedLines(u"MultiPet"_s).contains(u"✅ 确认主窗口仍然可见，应用已激活"_s); }));
    lines = loggedLines(u"MultiPet"_s);
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(lines.contains(u"🚪 克隆窗口[%1]已隐藏"_s.arg(i))) << i;
    ASSERT_TRUE(windowManager.petWindow());
    EXPECT_TRUE(windowManager.petWindow()->isVisible());
}

TEST_F(Clones, ChoosingTheEffectAgainReplacesTheClones)
{
    auto manager = make();
    queueClones();
    manager->performTransformation();
    QList<QPointer<FloatingWindow>> first;
    for (FloatingWindow* clone : manager->clonedWindows())
        first.append(clone);
    // A new value applies from the next effect on, not to the running timer.
    manager->setCloneDismissTime(6.0);
    EXPECT_EQ(manager->dismissTimer().interval(), 3000);

    queueClones();
    manager->performTransformation();
    EXPECT_EQ(manager->clonedWindows().size(), 10);
    EXPECT_EQ(manager->dismissTimer().interval(), 6000);
    for (const auto& clone : first)
        EXPECT_FALSE(manager->clonedWindows().contains(clone.data()));
    ASSERT_TRUE(waitUntil(
        [&] { return std::all_of(first.begin(), first.end(), [](const auto& clone) { return clone.isNull(); }); }));
    EXPECT_EQ(manager->clonedWindows().size(), 10);
}

TEST_F(Clones, ScreensTooSmallOrMissing)
{
    // A visible frame smaller than a clone: every clone sits at its lower bound.
    Screens tiny { QList<ScreenGeometry> { { QRect(0, 0, 100, 100), QRect(0, 0, 100, 100) } } };
    auto small = make(&tiny, &RandomSource::system());
    small->performTransformation();
    ASSERT_EQ(small->clonedWindows().size(), 10);
    for (FloatingWindow* clone : small->clonedWindows())
        EXPECT_EQ(clone->modelFrame().topLeft(), QPointF(0, 0));

    Screens none { QList<ScreenGeometry> {} };
    auto headless = make(&none);
    headless->performTransformation();
    EXPECT_TRUE(headless->clonedWindows().isEmpty());
    EXPECT_FALSE(headless->dismissTimer().isActive());
    EXPECT_EQ(loggedLines(u"MultiPet"_s).last(), u"❌ 无法获取屏幕信息"_s);
}

TEST_F(Clones, ACloneOfAMissingAnimationStaysEmpty)
{
    Resources empty { dir.path() };
    LottieAnimationManager bare { appearance, empty };
    ClonePetView view(PetBehavior::moving, bare);
    EXPECT_FALSE(view.player());

    ClonePetView walking(PetBehavior::exploring, animations);
    ASSERT_TRUE(walking.player());
    EXPECT_FALSE(walking.player()->loopMode());
    EXPECT_EQ(walking.player()->speed(), 2.5);
    EXPECT_TRUE(loggedLines(u"MultiPet"_s).last().startsWith(u"🎬 克隆宠物加载动画: "_s));
}
