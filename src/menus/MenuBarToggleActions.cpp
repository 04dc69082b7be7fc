#include "menus/MenuBarToggleActions.h"

#include "menus/MenuBarCoordinator.h"
#include "pet/AutoBehaviorManager.h"
#include "pet/DoNotDisturbManager.h"
#include "platform/LogManager.h"
#include "shell/LaunchManager.h"

using namespace Qt::StringLiterals;

MenuBarToggleActions::MenuBarToggleActions(AutoBehaviorManager& autoBehaviorManager, LaunchManager& launchManager,
    DoNotDisturbManager& doNotDisturbManager, MenuBarCoordinator& statusMenu, QObject* parent)
    : QObject(parent)
    , m_autoBehaviorManager(autoBehaviorManager)
    , m_launchManager(launchManager)
    , m_doNotDisturbManager(doNotDisturbManager)
    , m_statusMenu(statusMenu)
{
}

void MenuBarToggleActions::toggleDoNotDisturb()
{
    m_doNotDisturbManager.toggleDoNotDisturbMode();
    finish(u"勿扰模式: "_s, m_doNotDisturbManager.isDoNotDisturbMode());
}

void MenuBarToggleActions::toggleAutoBehavior()
{
    m_autoBehaviorManager.toggleBehaviorSystem();
    finish(u"自动行为: "_s, m_autoBehaviorManager.isActive());
}

void MenuBarToggleActions::toggleAutoLaunch()
{
    if (m_launchManager.isAutoLaunchEnabled())
        m_launchManager.disableAutoLaunch();
    else
        m_launchManager.enableAutoLaunch();
    // Read back rather than assumed: registering can fail and leave the setting off.
    finish(u"开机启动: "_s, m_launchManager.isAutoLaunchEnabled());
}

void MenuBarToggleActions::finish(const QString& label, bool on)
{
    m_statusMenu.rebuildMenu();
    LogManager::log(label + (on ? u"开启"_s : u"关闭"_s), u"Settings"_s);
}
