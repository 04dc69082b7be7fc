#include "app/DesktopPetApp.h"

#include "app/AppDelegate.h"
#include "core/AppNotification.h"
#include "core/PetType.h"
#include "driftbottle/ConversationManager.h"
#include "driftbottle/DriftBottleManager.h"
#include "driftbottle/RefreshTimer.h"
#include "friends/FriendManager.h"
#include "friends/FriendMessageManager.h"
#include "friends/FriendSession.h"
#include "pet/AutoBehaviorManager.h"
#include "pet/LottieAnimationManager.h"
#include "pet/MultiPetManager.h"
#include "pet/OpacityManager.h"
#include "pet/PetAppearanceManager.h"
#include "pet/PetContextMenu.h"
#include "pet/PetState.h"
#include "pet/SpeechBubbleWindowManager.h"
#include "pet/ThemeManager.h"
#include "platform/Clock.h"
#include "platform/Defaults.h"
#include "platform/Screens.h"
#include "platform/StandardOutput.h"
#include "platform/SystemInfo.h"
#include "platform/SystemNotifications.h"
#include "platform/TimerSource.h"
#include "preferences/PreferencesWindowManager.h"
#include "preferences/UpdateManager.h"
#include "reminders/AlarmManager.h"
#include "reminders/AlarmWindowManager.h"
#include "reminders/MinuteTicker.h"
#include "reminders/ReminderManager.h"
#include "server/APIClient.h"
#include "server/UserManager.h"
#include "shell/DoNotDisturbManager.h"
#include "shell/LaunchManager.h"
#include "shell/MenuBarAboutActions.h"
#include "shell/MenuBarCoordinator.h"
#include "shell/NotificationManager.h"
#include "shell/SystemMonitor.h"
#include "shell/TimeManager.h"
#include "shell/WindowManager.h"

#include <QCoreApplication>
#include <QTimer>

#include <memory>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

/// The alarm and reminder managers with their shared minute beat, created in start-up
/// order and freed in reverse. The alarm manager comes up with the reminder manager so
/// that enabled alarms ring whether or not their page was ever opened.
struct ReminderSystem
{
    MinuteTicker ticker { Clock::system() };
    ReminderManager reminders { Clock::system(), Defaults::shared(), SystemNotifications::shared(), ticker };
    AlarmWindowManager alarmWindows { Screens::shared() };
    AlarmManager alarms { Clock::system(), Defaults::shared(), ticker, alarmWindows };

    ReminderSystem()
    {
        MinuteTicker::installShared(&ticker);
        ReminderManager::installShared(&reminders);
        AlarmWindowManager::installShared(&alarmWindows);
        AlarmManager::installShared(&alarms);
    }
    ~ReminderSystem()
    {
        AlarmManager::installShared(nullptr);
        AlarmWindowManager::installShared(nullptr);
        ReminderManager::installShared(nullptr);
        MinuteTicker::installShared(nullptr);
    }
    ReminderSystem(const ReminderSystem&) = delete;
    ReminderSystem& operator=(const ReminderSystem&) = delete;
};

std::unique_ptr<ReminderSystem>& reminderSystem()
{
    static std::unique_ptr<ReminderSystem> system;
    return system;
}

FriendSession* friendSession = nullptr;

} // namespace

DesktopPetApp::DesktopPetApp(QObject* parent)
    : QObject(parent)
    , m_delegate(new AppDelegate(this))
{
    // Queued so that it runs once the event loop is running, never inside this constructor.
    QTimer::singleShot(0, this, &DesktopPetApp::runStartup);
}

DesktopPetApp::~DesktopPetApp()
{
    reminderSystem().reset();
}

void DesktopPetApp::runStartup()
{
    StandardOutput::printLine(u"🚀 Tamsel启动中..."_s);
    initializeCoreManagers();
    StandardOutput::printLine(u"✅ 核心管理器初始化完成"_s);
    requestPermissions();
    // The right-click menu attaches to every pet view the window manager builds.
    PetContextMenu::shared();
    WindowManager::shared().createPetWindow();
    LottieAnimationManager::shared().playBehavior(PetBehavior::idle);
    startP1Features();
    startP2Features();
    StandardOutput::printLine(u"✅ Tamsel启动完成！"_s);
}

void DesktopPetApp::initializeCoreManagers()
{
    // The order matters: each initialiser may read what the ones before it set up.
    PetState::shared();
    AutoBehaviorManager::shared();
    MenuBarCoordinator::shared();
    LaunchManager::shared();
    WindowManager::shared();
    TimeManager::shared();
    SystemMonitor::shared();
    if (!reminderSystem())
        reminderSystem() = std::make_unique<ReminderSystem>();
    NotificationManager::shared();
    ThemeManager::shared();
    PetAppearanceManager::shared();
    SpeechBubbleWindowManager::shared();
    createPreferences();
    LottieAnimationManager::shared();
    createUpdates();
    createDriftBottleManagers();
    createFriendManagers();
}

void DesktopPetApp::createPreferences()
{
    auto* preferences = new PreferencesWindowManager(
        PreferencesServices { PetState::shared(), OpacityManager::shared(), MultiPetManager::shared(),
            DoNotDisturbManager::shared(), PetAppearanceManager::shared(), WindowManager::shared(), Screens::shared(),
            NotificationManager::shared(), UserManager::shared(), APIClient::shared(), SystemInfo::system() });
    PreferencesWindowManager::installShared(preferences);
    QObject::connect(&MenuBarCoordinator::shared(), &MenuBarCoordinator::preferencesRequested, preferences,
        [preferences] { preferences->showPreferencesWindow(); });
    QObject::connect(&PetContextMenu::shared(), &PetContextMenu::reminderPageRequested, preferences,
        [preferences] { preferences->showPreferencesWindow(PreferenceTab::reminder); });
}

void DesktopPetApp::createUpdates()
{
    auto* updates = new UpdateManager(Defaults::shared(), Clock::system(), APIClient::shared().baseURL());
    UpdateManager::installShared(updates);
    QObject::connect(&MenuBarAboutActions::shared(), &MenuBarAboutActions::updateCheckRequested, updates,
        &UpdateManager::checkForUpdatesManually);
    // Freed in reverse order of creation while the application still stands.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, [updates] {
        UpdateManager::installShared(nullptr);
        delete updates;
        PreferencesWindowManager* preferences = PreferencesWindowManager::sharedOrNull();
        PreferencesWindowManager::installShared(nullptr);
        delete preferences;
    });
}

void DesktopPetApp::createDriftBottleManagers()
{
    // Owned here until the composition root owns every manager; freed in reverse order at
    // quit, while the account and the client they hold still exist.
    auto* refreshTimer = new QtRefreshTimer;
    auto* bottles
        = new DriftBottleManager(APIClient::shared(), UserManager::shared(), Defaults::shared(), Clock::system());
    auto* conversations = new ConversationManager(APIClient::shared(), UserManager::shared(), *bottles, *refreshTimer);
    DriftBottleManager::installShared(bottles);
    ConversationManager::installShared(conversations);
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, [=] {
        ConversationManager::installShared(nullptr);
        delete conversations;
        DriftBottleManager::installShared(nullptr);
        delete bottles;
        delete refreshTimer;
    });
}

void DesktopPetApp::createFriendManagers()
{
    auto* friends = new FriendManager(APIClient::shared(), Defaults::shared());
    FriendManager::installShared(friends);
    auto* messages = new FriendMessageManager(APIClient::shared(), UserManager::shared(), TimerSource::system());
    FriendMessageManager::installShared(messages);
    friendSession = new FriendSession(*friends, *messages, UserManager::shared(), TimerSource::system());
    // Freed in reverse order at quit, while the client and the account they use still live.
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, [friends, messages] {
        delete std::exchange(friendSession, nullptr);
        FriendMessageManager::installShared(nullptr);
        delete messages;
        FriendManager::installShared(nullptr);
        delete friends;
    });
}

void DesktopPetApp::requestPermissions()
{
    SystemNotifications::shared().requestAuthorization([](bool granted, const QString&) {
        StandardOutput::printLine(granted ? u"✅ 通知权限已获得"_s : u"⚠️ 通知权限被拒绝"_s);
    });
}

void DesktopPetApp::startP1Features()
{
    AutoBehaviorManager::shared().startBehaviorSystem();
    MenuBarCoordinator& menuBar = MenuBarCoordinator::shared();
    if (menuBar.isMenuBarVisible()) {
        if (!menuBar.statusItem())
            menuBar.setupMenuBar();
        menuBar.setMenuBarVisible(true);
    }
    StandardOutput::printLine(u"✅ P1功能启动完成"_s);
    showWelcomeNotification();
}

void DesktopPetApp::startP2Features()
{
    TimeManager::shared().startTimeMonitoring();
    SystemMonitor::shared().startMonitoring();
    ReminderManager::shared().startReminderSystem();
    ThemeManager::shared().startThemeMonitoring();
    if (friendSession)
        friendSession->startAtLaunch();
    QTimer::singleShot(updateCheckDelayMs, Qt::PreciseTimer, &UpdateManager::shared(),
        [] { UpdateManager::shared().checkForUpdatesAutomatically(); });
    StandardOutput::printLine(u"✅ P2功能启动完成"_s);
}

void DesktopPetApp::showWelcomeNotification()
{
    NotificationManager::shared().sendNotification(
        AppNotification::make(emoji(PetAppearanceManager::shared().currentPetType()) + u" Tamsel"_s,
            u"欢迎回来！你的桌面宠物已经准备好陪伴你了～"_s, NotificationType::general, NotificationPriority::normal,
            QDateTime::currentDateTime()));
}
