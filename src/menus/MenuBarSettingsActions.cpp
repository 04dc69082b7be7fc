#include "menus/MenuBarSettingsActions.h"

#include "platform/LogManager.h"
#include "platform/LogWindowManager.h"

using namespace Qt::StringLiterals;

MenuBarSettingsActions::MenuBarSettingsActions(LogWindowManager& logWindow, QObject* parent)
    : QObject(parent)
    , m_logWindow(logWindow)
{
}

void MenuBarSettingsActions::showDebugLogs()
{
    m_logWindow.showLogWindow();
    LogManager::log(u"📋 打开调试日志窗口"_s, u"Debug"_s);
}
