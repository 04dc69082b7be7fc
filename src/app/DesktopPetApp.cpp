#include "app/DesktopPetApp.h"

#include "app/AppDelegate.h"
#include "app/CompositionRoot.h"
#include "core/AppNotification.h"
#include "core/PetType.h"
#include "menus/MenuBarCoordinator.h"
#include "pet/AutoBehaviorManager.h"
#include "pet/LottieAnimationManager.h"
#include "pet/PetAppearanceManager.h"
#include "pet/PetState.h"
#include "pet/SpeechBubbleWindowManager.h"
#include "pet/ThemeManager.h"
#include "pet/WindowManager.h"
#include "platform/StandardOutput.h"
#include "platform/SystemNotifications.h"
#include "preferences/UpdateManager.h"
#include "reminders/ReminderManager.h"
#include "shell/LaunchManager.h"
#include "shell/NotificationManager.h"
#include "shell/SystemMonitor.h"
#include "shell/TimeManager.h"

#include <QTimer>

using namespace Qt::StringLiterals;

DesktopPetApp::DesktopPetApp(CompositionRoot& root, QObject* parent)
    : QObject(parent)
    , m_root(root)
    , m_delegate(new AppDelegate(this))
{
    // Queued so that it runs once the event loop is running, never inside this constructor.
    QTimer::singleShot(0, this, &DesktopPetApp::runStartup);
}

void DesktopPetApp::runStartup()
{
    StandardOutput::printLine(u"🚀 Tamsel启动中..."_s);
    initializeCoreManagers();
    StandardOutput::printLine(u"✅ 核心管理器初始化完成"_s);
    requestPermissions();
    WindowManager::shared().createPetWindow();
    LottieAnimationManager::shared().playBehavior(PetBehavior::idle);
    startP1Features();
    startP2Features();
    StandardOutput::printLine(u"✅ Tamsel启动完成！"_s);
}

void DesktopPetApp::initializeCoreManagers()
{
    m_root.createManagers();
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
    m_root.startFriendsAtLaunch();
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
