#include "menus/MenuBarCoordinator.h"

#include "MenuParts.h"
#include "menus/MenuBarAboutActions.h"
#include "menus/MenuBarSettingsActions.h"
#include "pet/DoNotDisturbManager.h"
#include "platform/LogManager.h"
#include "platform/SecondaryColour.h"
#include "server/UserManager.h"
#include "support/DrawnText.h"

#include "support/Wait.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>

#include <csignal>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

/// The menu as the user reads it: visible texts, "-" for separators, "(off)" for disabled rows.
QStringList rows(const QMenu* menu)
{
    QStringList out;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator())
            out << u"-"_s;
        else
            out << action->iconText() + (action->isEnabled() ? QString() : u" (off)"_s);
    }
    return out;
}

int logCount(const QString& message)
{
    int count = 0;
    for (const LogManager::LogEntry& entry : LogManager::shared().logs())
        count += entry.message == message ? 1 : 0;
    return count;
}

} // namespace

TEST(MenuBarCoordinator, SignedOutMenuHoldsHeaderAndQuit)
{
    MenuParts parts;
    MenuBarCoordinator coordinator(parts.users, parts.doNotDisturb, parts.settings, parts.about, parts.resources);
    ASSERT_NE(coordinator.statusItem(), nullptr);
    ASSERT_NE(coordinator.menu(), nullptr);
    EXPECT_EQ(coordinator.statusItem()->contextMenu(), coordinator.menu());
    EXPECT_EQ(coordinator.statusItem()->toolTip(), u"Tamsel"_s);
    EXPECT_FALSE(coordinator.statusItem()->icon().isNull());

    EXPECT_EQ(rows(coordinator.menu()),
        (QStringList { u"Tamsel (off)"_s, u"-"_s, u"⚙️ 设置"_s, u"-"_s, u"🔄 检查更新"_s, u"-"_s, u"🚪 退出"_s }));
    const QList<QAction*> actions = coordinator.menu()->actions();
    EXPECT_FALSE(actions.first()->icon().isNull()) << "the header shows the icon";
    EXPECT_EQ(actions.last()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));

    // A plain click on the item opens the menu, as a right click does; opening refreshes
    // it in place with the same entries.
    QMenu* menu = coordinator.menu();
    Q_EMIT coordinator.statusItem()->activated(QSystemTrayIcon::Trigger);
    ASSERT_TRUE(waitUntil([&] { return menu->isVisible(); }));
    EXPECT_EQ(rows(menu),
        (QStringList { u"Tamsel (off)"_s, u"-"_s, u"⚙️ 设置"_s, u"-"_s, u"🔄 检查更新"_s, u"-"_s, u"🚪 退出"_s }));

    // The menu belongs to no window, yet its keys work while it is open.
    QSignalSpy updateCheck(&parts.about, &MenuBarAboutActions::updateCheckRequested);
    QTest::keyClick(menu, Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ(updateCheck.size(), 1);
    EXPECT_TRUE(waitUntil([] { return logCount(u"🔄 用户手动检查更新"_s) == 1; }));
    coordinator.menu()->findChild<QAction*>(u"preferencesItem"_s)->trigger();
    EXPECT_EQ(parts.preferencesOpened, 1);
    EXPECT_TRUE(waitUntil([] { return logCount(u"⚙️ 打开偏好设置"_s) == 1; }));
    QTest::keyClick(menu, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(waitUntil([] { return logCount(u"🚪 用户退出应用"_s) == 1; }));
}

TEST(MenuBarCoordinator, SetupIsOnceAndRebuildReplacesTheMenu)
{
    MenuParts parts;
    MenuBarCoordinator coordinator(parts.users, parts.doNotDisturb, parts.settings, parts.about, parts.resources);
    QSystemTrayIcon* item = coordinator.statusItem();
    coordinator.setupMenuBar();
    EXPECT_EQ(coordinator.statusItem(), item);

    QPointer<QMenu> old = coordinator.menu();
    coordinator.rebuildMenu();
    EXPECT_NE(coordinator.menu(), old.data());
    EXPECT_EQ(item->contextMenu(), coordinator.menu());
    EXPECT_TRUE(waitUntil([&] { return old.isNull(); })) << "the replaced menu is deleted";

    QSignalSpy visible(&coordinator, &MenuBarCoordinator::isMenuBarVisibleChanged);
    coordinator.setMenuBarVisible(true);
    EXPECT_EQ(visible.size(), 1) << "an unchanged value is announced again";
}

TEST(MenuBarCoordinator, HeaderFollowsTheSignedInUser)
{
    DriftUser stored;
    stored.id = 7;
    stored.email = u"tom@example.org"_s;
    stored.nickname = u"Tom & Jerry"_s;
    stored.avatarEmoji = u"🐱"_s;
    stored.createdAt = stored.lastActiveAt = stored.updatedAt = QDateTime(QDate(2026, 1, 5), QTime(8, 0), Qt::UTC);
    MenuParts parts(stored);
    UserManager& users = parts.users;
    ASSERT_TRUE(users.currentUser().has_value());
    DoNotDisturbManager& doNotDisturb = parts.doNotDisturb;

    MenuBarCoordinator coordinator(users, doNotDisturb, parts.settings, parts.about, parts.resources);
    EXPECT_EQ(rows(coordinator.menu()),
        (QStringList { u"Tamsel（Tom & Jerry） (off)"_s, u"-"_s, u"⚙️ 设置"_s, u"-"_s, u"🔄 检查更新"_s, u"-"_s,
            u"🚪 退出"_s }));

    const QMenu* signedIn = coordinator.menu();
    users.logout();
    EXPECT_NE(coordinator.menu(), signedIn) << "signing out rebuilds the menu";
    EXPECT_EQ(rows(coordinator.menu()),
        (QStringList { u"Tamsel (off)"_s, u"-"_s, u"⚙️ 设置"_s, u"-"_s, u"🔄 检查更新"_s, u"-"_s, u"🚪 退出"_s }));

    const QMenu* signedOut = coordinator.menu();
    Q_EMIT doNotDisturb.menuRebuildRequested();
    EXPECT_NE(coordinator.menu(), signedOut) << "do-not-disturb's automatic exit rebuilds it too";
}

// The header is off, yet it names the user: it must stay readable in either palette, also
// after a switch while the program runs.
TEST(MenuBarCoordinator, HeaderInkReadsInEitherPaletteAfterASwitch)
{
    MenuParts parts;
    MenuBarCoordinator coordinator(parts.users, parts.doNotDisturb, parts.settings, parts.about, parts.resources);
    const QPalette saved = QApplication::palette();
    for (const auto& [name, palette] : { std::pair { "light", lightPalette() }, { "dark", darkFusionPalette() } }) {
        QApplication::setPalette(palette);
        Q_EMIT coordinator.menu()->aboutToShow();
        const QPalette& drawn = coordinator.menu()->palette();
        for (QPalette::ColorRole background : { QPalette::Base, QPalette::Window }) {
            EXPECT_GE(SecondaryColour::contrast(
                          drawn.color(QPalette::Disabled, QPalette::Text), drawn.color(QPalette::Active, background)),
                SecondaryColour::minimumContrast)
                << name;
        }
    }
    QApplication::setPalette(saved);
}

TEST(MenuBarCoordinator, HeaderShowsNicknamesLiterally)
{
    EXPECT_EQ(MenuBarCoordinator::headerTitle(std::nullopt), u"Tamsel"_s);
    QAction action(MenuBarCoordinator::headerTitle(u"&Tom && Jerry&"_s));
    EXPECT_EQ(action.iconText(), u"Tamsel（&Tom && Jerry&）"_s) << "no ampersand is taken as a mnemonic";
    QAction empty(MenuBarCoordinator::headerTitle(QString()));
    EXPECT_EQ(empty.iconText(), u"Tamsel（）"_s);
}

TEST(MenuBarCoordinator, AVeryLongNicknameIsCutShortInTheHeader)
{
    DriftUser stored;
    stored.id = 7;
    stored.email = u"tom@example.org"_s;
    stored.nickname = QString(6000, u'喵');
    stored.avatarEmoji = u"🐱"_s;
    stored.createdAt = stored.lastActiveAt = stored.updatedAt = QDateTime(QDate(2026, 1, 5), QTime(8, 0), Qt::UTC);
    MenuParts parts(stored);
    MenuBarCoordinator coordinator(parts.users, parts.doNotDisturb, parts.settings, parts.about, parts.resources);
    QMenu* menu = coordinator.menu();
    EXPECT_LE(menu->sizeHint().width(), 600) << "the menu grows with the nickname";
    const QAction* header = menu->actions().first();
    EXPECT_TRUE(header->text().startsWith(u"Tamsel（喵"_s));
    EXPECT_TRUE(header->toolTip().contains(u"Tamsel（"_s + stored.nickname + u"）"_s));
}

TEST(MenuBarCoordinator, WithoutATrayItLogsOnceAndQuitStillWorks)
{
    if (QSystemTrayIcon::isSystemTrayAvailable())
        GTEST_SKIP() << "a system tray is available here";
    const QString message
        = u"⚠️ 系统托盘不可用，状态栏菜单无法显示；可用 SIGTERM 或 Ctrl+C 退出"_s;
    MenuParts parts;
    MenuBarCoordinator coordinator(parts.users, parts.doNotDisturb, parts.settings, parts.about, parts.resources);
    coordinator.setupMenuBar();
    coordinator.removeMenuBar();
    coordinator.setupMenuBar();
    ASSERT_TRUE(waitUntil([&] { return logCount(message) > 0; }));

    coordinator.menu()->actions().last()->trigger();
    ASSERT_TRUE(waitUntil([] { return logCount(u"🚪 用户退出应用"_s) == 1; }));
    EXPECT_EQ(logCount(message), 1);
}
