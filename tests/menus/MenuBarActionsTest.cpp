#include "menus/MenuBarAboutActions.h"
#include "menus/MenuBarCoordinator.h"
#include "menus/MenuBarFeatureActions.h"
#include "menus/MenuBarInteractionActions.h"
#include "menus/MenuBarSettingsActions.h"
#include "menus/MenuBarToggleActions.h"
#include "pet/AutoBehaviorManager.h"
#include "pet/DoNotDisturbManager.h"
#include "platform/Alerts.h"
#include "platform/LogWindowManager.h"
#include "platform/LoginItem.h"
#include "platform/SystemNotifications.h"
#include "server/APIClient.h"
#include "server/UserManager.h"
#include "shell/LaunchManager.h"
#include "shell/NotificationManager.h"

#include "shell/FakeNotificationBackend.h"
#include "shell/FakeNotificationService.h"
#include "shell/PrivateBus.h"
#include "support/FakeRandom.h"
#include "support/LogLines.h"
#include "support/PetRig.h"
#include "support/Wait.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

/// The pet with its scheduler and do-not-disturb, as the pet's actions and the switches reach them.
struct PetParts : PetRig
{
    PetParts()
        : PetRig({ QRect(0, 0, 1440, 900), QRect(0, 0, 1440, 900) })
    {
    }

    FakeRandom random;
    AutoBehaviorManager scheduler { petState, windowManager, screens, &clock, &random };
    DoNotDisturbManager doNotDisturb { defaults, screens, windowManager, petState, scheduler };
};

} // namespace

TEST(MenuBarInteractionActions, EachLeavesDoNotDisturbPlaysRunsThenLogs)
{
    struct Row
    {
        void (MenuBarInteractionActions::*trigger)();
        PetBehavior animation;
        AutoBehavior behavior;
        QString line;
    };
    const Row rows[] = {
        { &MenuBarInteractionActions::triggerWalk, PetBehavior::moving, AutoBehavior::walk, u"🚶 触发走路动作"_s },
        { &MenuBarInteractionActions::triggerEnter, PetBehavior::entering, AutoBehavior::enter, u"🏃 触发进入动作"_s },
        { &MenuBarInteractionActions::triggerBlink, PetBehavior::resting, AutoBehavior::blink, u"😉 触发眨眼动作"_s },
        { &MenuBarInteractionActions::triggerThink, PetBehavior::thinking, AutoBehavior::thinking,
            u"🤔 触发思考动作"_s },
        { &MenuBarInteractionActions::triggerPlay, PetBehavior::special, AutoBehavior::gaming, u"🎮 触发玩耍动作"_s },
        { &MenuBarInteractionActions::triggerGreet, PetBehavior::interacting, AutoBehavior::greeting,
            u"👋 触发打招呼动作"_s },
        { &MenuBarInteractionActions::triggerHideAndSeek, PetBehavior::exploring, AutoBehavior::explore,
            u"🙈 触发躲猫猫动作"_s },
        { &MenuBarInteractionActions::triggerScratch, PetBehavior::idle, AutoBehavior::scratching,
            u"🐾 触发抓屁股动作"_s },
    };

    PetParts pet;
    MenuBarInteractionActions actions(pet.animations, pet.scheduler, pet.doNotDisturb);
    QStringList steps;
    QObject::connect(&pet.doNotDisturb, &DoNotDisturbManager::isDoNotDisturbModeChanged, [&](bool on) {
        if (!on)
            steps << u"awake"_s;
    });
    QObject::connect(&pet.animations, &LottieAnimationManager::currentBehaviorChanged,
        [&](PetBehavior played) { steps << u"play "_s + rawValue(played); });
    QObject::connect(&pet.scheduler, &AutoBehaviorManager::behaviorDidChange, [&] {
        steps << u"run "_s + rawValue(pet.scheduler.currentBehavior());
        steps << u"logged "_s + QString::number(loggedLines(u"Interaction"_s).size());
    });

    for (const Row& row : rows) {
        SCOPED_TRACE(row.line.toStdString());
        pet.doNotDisturb.setDoNotDisturbMode(true);
        steps.clear();
        const qsizetype before = loggedLines(u"Interaction"_s).size();

        (actions.*row.trigger)();

        // Waking up may restart the scheduler, which picks a behaviour of its own in between.
        ASSERT_GE(steps.size(), 4);
        EXPECT_EQ(steps.first(), u"awake"_s);
        EXPECT_EQ(steps.mid(steps.size() - 3),
            (QStringList { u"play "_s + rawValue(row.animation), u"run "_s + rawValue(row.behavior),
                u"logged "_s + QString::number(before) }))
            << "do-not-disturb ends first, the line comes last";
        const QStringList lines = loggedLines(u"Interaction"_s);
        ASSERT_EQ(lines.size(), before + 1);
        EXPECT_EQ(lines.last(), row.line);
    }
}

namespace {

/// The switches with the status menu they rebuild; launch at login writes into a folder of the test's own.
struct ToggleParts : PetParts
{
    QTemporaryDir autostart;
    LoginItem loginItem { u"/opt/tamsel/bin/tamsel"_s, autostart.path() };
    LaunchManager launch { loginItem };
    APIClient client { u"http://127.0.0.1:9/api"_s, [] { return std::optional<qint64>(); } };
    UserManager users { defaults, client };
    FakeNotificationBackend backend;
    NotificationManager notifications { backend, defaults, &clock };
    MenuBarAboutActions about { notifications, &clock };
    LogWindowManager logWindow { LogManager::shared() };
    MenuBarSettingsActions settings { logWindow, {} };
    MenuBarCoordinator statusMenu { users, doNotDisturb, settings, about, resources };
    MenuBarToggleActions toggles { scheduler, launch, doNotDisturb, statusMenu };

    /// Runs one switch and tells whether the status menu was rebuilt.
    bool rebuiltBy(void (MenuBarToggleActions::*toggle)())
    {
        QPointer<QMenu> old = statusMenu.menu();
        old->setObjectName(u"before"_s);
        (toggles.*toggle)();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return old.isNull() && statusMenu.menu() && statusMenu.menu()->objectName() != u"before"_s;
    }
};

} // namespace

TEST(MenuBarToggleActions, EachRebuildsTheMenuAndLogsTheStateAfterTheChange)
{
    ToggleParts parts;
    const qsizetype before = loggedLines(u"Settings"_s).size();

    EXPECT_TRUE(parts.rebuiltBy(&MenuBarToggleActions::toggleDoNotDisturb));
    EXPECT_TRUE(parts.doNotDisturb.isDoNotDisturbMode());
    EXPECT_TRUE(parts.rebuiltBy(&MenuBarToggleActions::toggleDoNotDisturb));
    EXPECT_FALSE(parts.doNotDisturb.isDoNotDisturbMode());

    ASSERT_TRUE(parts.scheduler.isActive());
    EXPECT_TRUE(parts.rebuiltBy(&MenuBarToggleActions::toggleAutoBehavior));
    EXPECT_FALSE(parts.scheduler.isActive());
    EXPECT_FALSE(parts.scheduler.isRunning()) << "switching off stops the scheduler";
    EXPECT_TRUE(parts.rebuiltBy(&MenuBarToggleActions::toggleAutoBehavior));
    EXPECT_TRUE(parts.scheduler.isRunning());

    EXPECT_TRUE(parts.rebuiltBy(&MenuBarToggleActions::toggleAutoLaunch));
    EXPECT_TRUE(QFile::exists(parts.loginItem.entryPath()));
    EXPECT_TRUE(parts.rebuiltBy(&MenuBarToggleActions::toggleAutoLaunch));
    EXPECT_FALSE(QFile::exists(parts.loginItem.entryPath()));

    EXPECT_EQ(loggedLines(u"Settings"_s).mid(before),
        (QStringList { u"勿扰模式: 开启"_s, u"勿扰模式: 关闭"_s, u"自动行为: 关闭"_s, u"自动行为: 开启"_s,
            u"开机启动: 开启"_s, u"开机启动: 关闭"_s }));
}

TEST(MenuBarToggleActions, AFailedLaunchRegistrationIsLoggedAsOff)
{
    ToggleParts parts;
    // A plain file where the autostart folder should be: the entry cannot be written.
    QFile blocker(parts.autostart.filePath(u"blocked"_s));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    LoginItem blocked(u"/opt/tamsel/bin/tamsel"_s, blocker.fileName() + u"/autostart"_s);
    LaunchManager launch(blocked);
    MenuBarToggleActions toggles(parts.scheduler, launch, parts.doNotDisturb, parts.statusMenu);
    Alerts::setNextAnswers({ 0 });

    toggles.toggleAutoLaunch();

    EXPECT_FALSE(launch.isAutoLaunchEnabled());
    EXPECT_EQ(loggedLines(u"Settings"_s).last(), u"开机启动: 关闭"_s);
    EXPECT_TRUE(waitUntil([] { return !Alerts::answeredAlerts().isEmpty(); })) << "the failure is still reported";
    Alerts::clearAnsweredAlerts();
}

namespace {

/// The about box's parts: notifications go through a fake daemon on a bus of the test's own.
class MenuBarAboutBox : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!bus.isRunning())
            GTEST_SKIP() << "dbus-daemon could not be started for a private bus";
        ASSERT_TRUE(service.isRegistered());
        Alerts::clearAnsweredAlerts();
    }
    void TearDown() override { Alerts::clearAnsweredAlerts(); }

    PrivateBus bus;
    FakeNotificationService service { bus.connect(u"daemon"_s) };
    SystemNotifications backend { bus.connect(u"client"_s) };
    QTemporaryDir dir;
    Defaults defaults { dir.filePath(u"defaults.json"_s) };
    FakeClock clock;
    NotificationManager notifications { backend, defaults, &clock };
    MenuBarAboutActions about { notifications, &clock };
};

} // namespace

TEST_F(MenuBarAboutBox, OkayOnlyLogsThatTheBoxWasShownCopyCopiesAndNotifies)
{
    QGuiApplication::clipboard()->setText(u"the user's own"_s);
    const qsizetype before = loggedLines(u"UI"_s).size();
    Alerts::setNextAnswers({ 0 });

    about.showAbout();

    const QList<Alerts::Record> shown = Alerts::answeredAlerts();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown.first().title, u"关于Tamsel"_s);
    EXPECT_EQ(shown.first().buttons, (QStringList { u"确定"_s, u"复制邮箱"_s }));
    const QStringList text = shown.first().text.split(u'\n');
    ASSERT_GE(text.size(), 7);
    EXPECT_EQ(text.mid(1, 5),
        (QStringList { u"Linux 桌面宠物应用"_s, QString(), u"让可爱的宠物陪伴你的工作和生活！"_s, QString(),
            u"开发者联系方式："_s }));
    EXPECT_TRUE(text.at(6).contains(MenuBarAboutActions::contactIdentifier));

    EXPECT_EQ(loggedLines(u"UI"_s).mid(before), QStringList { u"❓ 显示关于信息"_s });
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"the user's own"_s);
    EXPECT_TRUE(notifications.notificationHistory().isEmpty());

    // The second button puts the address on the clipboard and says so.
    const qsizetype beforeCopy = loggedLines(u"UI"_s).size();
    Alerts::setNextAnswers({ 1 });
    about.showAbout();

    EXPECT_EQ(QGuiApplication::clipboard()->text(), MenuBarAboutActions::contactIdentifier);
    const QStringList lines = loggedLines(u"UI"_s).mid(beforeCopy);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines.first().contains(MenuBarAboutActions::contactIdentifier)) << lines.first().toStdString();
    EXPECT_EQ(lines.last(), u"❓ 显示关于信息"_s) << "the box's own line comes after the copy";

    ASSERT_EQ(notifications.notificationHistory().size(), 1);
    const AppNotification& sent = notifications.notificationHistory().first();
    EXPECT_EQ(sent.type, NotificationType::general);
    EXPECT_EQ(sent.priority, NotificationPriority::normal);
    EXPECT_EQ(sent.timestamp, clock.now());
    EXPECT_FALSE(QUuid::fromString(sent.id).isNull());
    ASSERT_TRUE(waitUntil([&] { return !service.calls().isEmpty(); }));
    EXPECT_EQ(service.calls().first().summary, u"已复制"_s);
    EXPECT_TRUE(service.calls().first().body.contains(MenuBarAboutActions::contactIdentifier));
}

TEST(MenuBarOtherActions, OpenTheirWindowsAndLogAfterwards)
{
    // The debug logs.
    LogWindowManager logWindow(LogManager::shared());
    std::optional<qsizetype> loggedWhenOpened;
    MenuBarSettingsActions settings(logWindow, [&] { loggedWhenOpened = loggedLines(u"UI"_s).size(); });
    settings.showDebugLogs();
    ASSERT_NE(logWindow.logWindow(), nullptr);
    EXPECT_TRUE(logWindow.logWindow()->isVisible());
    EXPECT_EQ(loggedLines(u"Debug"_s).last(), u"📋 打开调试日志窗口"_s);

    // The preferences: opened first, then logged; without a window to open, nothing is claimed.
    settings.showPreferences();
    ASSERT_EQ(loggedWhenOpened, 0);
    EXPECT_EQ(loggedLines(u"UI"_s), QStringList { u"⚙️ 打开偏好设置"_s });
    MenuBarSettingsActions noPreferences { logWindow, {} };
    noPreferences.showPreferences();
    EXPECT_EQ(loggedLines(u"UI"_s).size(), 1);

    // The drift bottles, which log nothing of their own.
    int bottleWindows = 0;
    MenuBarDriftBottleActions bottles([&] { ++bottleWindows; });
    bottles.showDriftBottleWindow();
    EXPECT_EQ(bottleWindows, 1);

    // The game: started first, then logged.
    std::optional<qsizetype> loggedWhenStarted;
    MenuBarGameActions game([&] { loggedWhenStarted = loggedLines(u"Game"_s).size(); });
    game.startWhackAMoleGame();
    ASSERT_EQ(loggedWhenStarted, 0);
    EXPECT_EQ(loggedLines(u"Game"_s), QStringList { u"🎮 启动打猫猫游戏"_s });

    MenuBarGameActions noGame { {} };
    noGame.startWhackAMoleGame();
    EXPECT_EQ(loggedLines(u"Game"_s).size(), 1) << "nothing claims a start that did not happen";
}
