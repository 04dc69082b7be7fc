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
    , m_appDelegate(new AppDelegate(root, this))
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
    m_root.managers().windows->createPetWindow();
    m_root.managers().animations->playBehavior(PetBehavior::idle);
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
    m_root.systemNotifications().requestAuthorization([](bool granted, const QString&) {
        StandardOutput::printLine(granted ? u"✅ 通知权限已获得"_s : u"⚠️ 通知权限被拒绝"_s);
    });
}

void DesktopPetApp::startP1Features()
{
    m_root.managers().scheduler->startBehaviorSystem();
    MenuBarCoordinator& menuBar = *m_root.managers().statusMenu;
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
    const CompositionRoot::Managers& managers = m_root.managers();
    managers.time->startTimeMonitoring();
    managers.systemMonitor->startMonitoring();
    managers.reminders->startReminderSystem();
    managers.themes->startThemeMonitoring();
    m_root.startFriendsAtLaunch();
    QTimer::singleShot(updateCheckDelayMs, Qt::PreciseTimer, managers.updates,
        [updates = managers.updates] { updates->checkForUpdatesAutomatically(); });
    StandardOutput::printLine(u"✅ P2功能启动完成"_s);
}

void DesktopPetApp::showWelcomeNotification()
{
    m_root.managers().notifications->sendNotification(
        AppNotification::make(emoji(m_root.managers().appearance->currentPetType()) + u" Tamsel"_s,
            u"欢迎回来！你的桌面宠物已经准备好陪伴你了～"_s, NotificationType::general, NotificationPriority::normal,
            QDateTime::currentDateTime()));
}
