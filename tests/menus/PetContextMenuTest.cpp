#include "menus/PetContextMenu.h"
#include "pet/AutoBehaviorManager.h"
#include "pet/DoNotDisturbManager.h"
#include "pet/LottieAnimationManager.h"
#include "pet/LottiePetView.h"
#include "pet/MultiPetManager.h"
#include "platform/Defaults.h"
#include "platform/FloatingWindow.h"

#include "support/FakeRandom.h"
#include "support/PetRig.h"
#include "support/Wait.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QScreen>
#include <QSignalSpy>
#include <QStyle>
#include <QTemporaryDir>
#include <QTextDocumentFragment>

#include <memory>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QStringList rows(const QMenu* menu)
{
    QStringList out;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator())
            out << u"-"_s;
        else
            out << action->iconText() + (action->menu() ? u" ▸"_s : QString());
    }
    return out;
}

QAction* item(const QMenu* menu, const QString& text)
{
    for (QAction* action : menu->actions()) {
        if (action->iconText() == text)
            return action;
        if (action->menu()) {
            if (QAction* inner = item(action->menu(), text))
                return inner;
        }
    }
    return nullptr;
}

/// The pet with everything its menu reaches.
struct Rig : PetRig
{
    Rig()
        : PetRig({ QRect(0, 0, 1440, 900), QRect(0, 0, 1440, 900) })
    {
    }

    FakeRandom random;
    AutoBehaviorManager scheduler { petState, windowManager, screens, &clock, &random };
    DoNotDisturbManager doNotDisturb { defaults, screens, windowManager, petState, scheduler };
    MultiPetManager clones { defaults, screens, windowManager, animations, &random };
    PetContextMenu menu { doNotDisturb, animations, scheduler, clones };

    std::unique_ptr<QMenu> build() { return std::unique_ptr<QMenu>(menu.createAnimationContextMenu()); }
};

} // namespace

TEST(PetContextMenu, HoldsTheEntriesInOrderAndOffersTheOppositeDoNotDisturb)
{
    Rig rig;
    auto menu = rig.build();
    EXPECT_EQ(rows(menu.get()),
        (QStringList { u"🐾 互动 ▸"_s, u"-"_s, u"🍾 漂流瓶"_s, u"-"_s, u"⏰ 提醒/闹钟"_s, u"-"_s, u"🔨 打猫猫"_s,
            u"✨ 撒豆成兵"_s, u"-"_s, u"🌙 开启勿扰"_s, u"-"_s }));
    for (const QAction* action : menu->actions())
        EXPECT_TRUE(action->isEnabled()) << "no item is ever disabled";

    item(menu.get(), u"🌙 开启勿扰"_s)->trigger();
    EXPECT_TRUE(rig.doNotDisturb.isDoNotDisturbMode());
    auto reopened = rig.build();
    EXPECT_EQ(rows(reopened.get()).at(9), u"🌙 关闭勿扰"_s);
    QSignalSpy reminders(&rig.menu, &PetContextMenu::reminderPageRequested);
    item(reopened.get(), u"⏰ 提醒/闹钟"_s)->trigger();
    EXPECT_EQ(reminders.size(), 1);
    EXPECT_TRUE(rig.doNotDisturb.isDoNotDisturbMode()) << "the reminders page leaves do-not-disturb on";
    QSignalSpy games(&rig.menu, &PetContextMenu::gameRequested);
    item(reopened.get(), u"🔨 打猫猫"_s)->trigger();
    EXPECT_EQ(games.size(), 1);
    EXPECT_TRUE(rig.doNotDisturb.isDoNotDisturbMode()) << "the game leaves do-not-disturb on";
    item(reopened.get(), u"🌙 关闭勿扰"_s)->trigger();
    EXPECT_FALSE(rig.doNotDisturb.isDoNotDisturbMode());

    // The friends' section goes after the behaviours, rebuilt with every menu.
    int built = 0;
    rig.menu.setFriendsSection([&](QMenu* m) {
        ++built;
        m->addAction(u"👥 发私信"_s);
    });
    auto withFriends = rig.build();
    EXPECT_EQ(rows(withFriends.get()),
        (QStringList { u"🐾 互动 ▸"_s, u"-"_s, u"👥 发私信"_s, u"🍾 漂流瓶"_s, u"-"_s, u"⏰ 提醒/闹钟"_s, u"-"_s,
            u"🔨 打猫猫"_s, u"✨ 撒豆成兵"_s, u"-"_s, u"🌙 开启勿扰"_s, u"-"_s }));
    rig.build();
    EXPECT_EQ(built, 2);
}

TEST(PetContextMenu, BehaviourItemsLeaveDoNotDisturbThenPlayAndRun)
{
    // Written out here rather than read from the menu, so that a row mapped to the wrong
    // animation or behaviour shows.
    struct Row
    {
        QString title;
        PetBehavior animation;
        AutoBehavior behavior;
    };
    const Row expected[] = {
        { u"🚶 走路"_s, PetBehavior::moving, AutoBehavior::walk },
        { u"🏃 进入"_s, PetBehavior::entering, AutoBehavior::enter },
        { u"😉 眨眼"_s, PetBehavior::resting, AutoBehavior::blink },
        { u"🤔 思考"_s, PetBehavior::thinking, AutoBehavior::thinking },
        { u"🎮 玩耍"_s, PetBehavior::special, AutoBehavior::gaming },
        { u"👋 打招呼"_s, PetBehavior::interacting, AutoBehavior::greeting },
        { u"🙈 躲猫猫"_s, PetBehavior::exploring, AutoBehavior::explore },
        { u"🐾 抓屁股"_s, PetBehavior::idle, AutoBehavior::scratching },
    };
    Rig rig;
    LottieAnimationManager& animations = rig.animations;
    AutoBehaviorManager& scheduler = rig.scheduler;
    QStringList titles;
    for (const Row& row : expected)
        titles << row.title;
    EXPECT_EQ(rows(rig.build()->actions().first()->menu()), titles);
    for (const Row& row : expected) {
        rig.doNotDisturb.setDoNotDisturbMode(true);
        auto menu = rig.build();
        // The animation is played by the item itself, before the scheduler hears of it.
        std::optional<PetBehavior> playedBeforeRun;
        const auto connection = QObject::connect(&scheduler, &AutoBehaviorManager::behaviorDidChange,
            [&] { playedBeforeRun = animations.currentBehavior(); });
        QAction* action = item(menu.get(), row.title);
        ASSERT_NE(action, nullptr) << row.title.toStdString();
        action->trigger();
        QObject::disconnect(connection);

        EXPECT_FALSE(rig.doNotDisturb.isDoNotDisturbMode()) << row.title.toStdString();
        EXPECT_EQ(playedBeforeRun, row.animation) << row.title.toStdString();
        EXPECT_EQ(scheduler.currentBehavior(), row.behavior) << row.title.toStdString();
    }
}

TEST(PetContextMenu, ClonesLeaveDoNotDisturbFirst)
{
    Rig rig;
    rig.doNotDisturb.setDoNotDisturbMode(true);
    auto menu = rig.build();
    item(menu.get(), u"✨ 撒豆成兵"_s)->trigger();
    EXPECT_FALSE(rig.doNotDisturb.isDoNotDisturbMode());
    EXPECT_EQ(rig.clones.clonedWindows().size(), MultiPetManager::cloneCount);
}

TEST(PetContextMenu, DriftBottlesLeaveDoNotDisturbFirst)
{
    Rig rig;
    std::optional<bool> doNotDisturbWhenOpened;
    rig.menu.setDriftBottleAction([&] { doNotDisturbWhenOpened = rig.doNotDisturb.isDoNotDisturbMode(); });
    rig.doNotDisturb.setDoNotDisturbMode(true);
    auto menu = rig.build();
    item(menu.get(), u"🍾 漂流瓶"_s)->trigger();
    EXPECT_EQ(doNotDisturbWhenOpened, false);
}

TEST(PetContextMenu, RightClickOpensAFreshMenuWhileThePetHoldsStill)
{
    Rig rig;
    rig.scheduler.forceBehavior(AutoBehavior::walk);
    const auto steps = [&] {
        const QPointF before = rig.petState.data().position;
        for (int i = 0; i < 3; ++i)
            rig.scheduler.updateMovement();
        return rig.petState.data().position != before;
    };
    LottiePetView view(PetViewObjects {
        .lottieManager = rig.animations, .interactionHandler = rig.interaction, .petState = rig.petState });
    view.resize(LottiePetView::viewSize, LottiePetView::viewSize);
    view.show();
    rig.menu.attach(&view);
    rig.menu.attach(&view); // attaching twice still opens one menu

    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10), view.mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(&view, &event);
    QList<QMenu*> open;
    ASSERT_TRUE(waitUntil([&] {
        open.clear();
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* menu = qobject_cast<QMenu*>(widget); menu && menu->isVisible())
                open << menu;
        }
        return !open.isEmpty();
    }));
    ASSERT_EQ(open.size(), 1);
    EXPECT_EQ(open.first()->objectName(), u"petMenu"_s);
    EXPECT_FALSE(steps()) << "the pet walked away from its open menu";

    QPointer<QMenu> shown = open.first();
    shown->close();
    EXPECT_TRUE(waitUntil([&] { return shown.isNull(); })) << "a closed menu is deleted";
    EXPECT_TRUE(steps()) << "the walk carries on once the menu is closed";
}

TEST(PetContextMenu, LongAndManyEntriesStayReachable)
{
    Rig rig;
    // What the friends' section holds for a user with thousands of friends, one of them
    // with a nickname of thousands of characters that also look like markup.
    const QString longName = u"🐱 <b>Tom & Jerry</b> "_s + QString(6000, u'喵');
    rig.menu.setFriendsSection([&](QMenu* menu) {
        QMenu* friends = menu->addMenu(u"👥 发私信"_s);
        friends->addAction(QString(longName).replace(u"&"_s, u"&&"_s));
        for (int i = 0; i < 3000; ++i)
            friends->addAction(u"🐶 朋友 "_s + QString::number(i));
        friends->addSeparator();
        friends->addAction(u"🔑 添加好友"_s);
        friends->addAction(u"🔄 刷新列表"_s);
    });
    const auto menu = rig.build();
    QMenu* friends = item(menu.get(), u"👥 发私信"_s)->menu();
    ASSERT_NE(friends, nullptr);

    const QRect screen = QApplication::primaryScreen()->availableGeometry();
    friends->popup(screen.topLeft());
    ASSERT_TRUE(waitUntil([&] { return friends->isVisible(); }));
    EXPECT_LE(friends->width(), screen.width() / 2) << "a long nickname widens the menu across the screen";
    EXPECT_LE(friends->height(), screen.height());
    // One column that scrolls: every item can be reached, the last ones too.
    EXPECT_TRUE(friends->style()->styleHint(QStyle::SH_Menu_Scrollable, nullptr, friends));
    const QList<QAction*> actions = friends->actions();
    for (QAction* action : { actions.at(1), actions.at(2999), actions.last() })
        EXPECT_EQ(friends->actionGeometry(action).x(), friends->actionGeometry(actions.first()).x())
            << action->text().toStdString();

    // The cut name keeps its beginning and shows whole, as plain text, in its tool tip.
    const QAction* cut = actions.first();
    EXPECT_TRUE(cut->text().startsWith(u"🐱 <b>Tom && Jerry</b>"_s));
    EXPECT_TRUE(cut->text().endsWith(u"…"_s));
    EXPECT_TRUE(friends->toolTipsVisible());
    EXPECT_EQ(QTextDocumentFragment::fromHtml(cut->toolTip()).toPlainText(), longName);
    // Short texts stay as they are, without a tool tip.
    EXPECT_EQ(actions.last()->text(), u"🔄 刷新列表"_s);
    EXPECT_TRUE(actions.last()->toolTip() == u"🔄 刷新列表"_s || actions.last()->toolTip().isEmpty());
    friends->hide();
}
