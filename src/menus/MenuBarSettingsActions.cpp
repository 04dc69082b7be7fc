#include "menus/MenuBarSettingsActions.h"

#include "platform/LogManager.h"
#include "platform/LogWindowManager.h"

#include <utility>

using namespace Qt::StringLiterals;

MenuBarSettingsActions::MenuBarSettingsActions(
    LogWindowManager& logWindow, std::function<void()> showPreferencesWindow, QObject* parent)
    : QObject(parent)
    , m_logWindow(logWindow)
    , m_showPreferencesWindow(std::move(showPreferencesWindow))
{
}

void MenuBarSettingsActions::showPreferences()
{
    if (!m_showPreferencesWindow)
        return;
    m_showPreferencesWindow();
    LogManager::log(u"⚙️ 打开偏好设置"_s, u"UI"_s);
}

void MenuBarSettingsActions::showDebugLogs()
{
    m_logWindow.showLogWindow();
    LogManager::log(u"📋 打开调试日志窗口"_s, u"Debug"_s);
}
