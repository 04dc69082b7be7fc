#include "app/AppDelegate.h"

#include "app/CompositionRoot.h"
#include "pet/WindowManager.h"
#include "platform/FloatingWindow.h"
#include "platform/LogManager.h"
#include "platform/WindowFront.h"

using namespace Qt::StringLiterals;

namespace {
const QString category = u"AppDelegate"_s;

QString boolText(bool value)
{
    return value ? u"true"_s : u"false"_s;
}
} // namespace

AppDelegate::AppDelegate(const CompositionRoot& root, QObject* parent)
    : QObject(parent)
    , m_root(root)
{
}

FloatingWindow* AppDelegate::petWindow() const
{
    const WindowManager* windows = m_root.managers().windows;
    return windows ? windows->petWindow() : nullptr;
}

void AppDelegate::applicationDidBecomeActive()
{
    LogManager::log(u"✅ 应用已激活"_s, category);
}

void AppDelegate::applicationWillTerminate()
{
    LogManager::log(u"🛑 应用即将退出"_s, category);
}

bool AppDelegate::applicationShouldTerminateAfterLastWindowClosed()
{
    LogManager::log(u"🔔 applicationShouldTerminateAfterLastWindowClosed 被调用，返回 false"_s, category);
    FloatingWindow* window = petWindow();
    if (!window) {
        LogManager::log(u"⚠️ 主窗口引用丢失！"_s, category);
        return false;
    }
    // The pet sits above normal windows; report that level as the floating one.
    const int level = window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) ? 3 : 0;
    LogManager::log(
        u"主窗口状态: visible="_s + boolText(window->isVisible()) + u", level="_s + QString::number(level), category);
    if (!window->isVisible()) {
        LogManager::log(u"⚠️ 主窗口不可见，尝试恢复"_s, category);
        WindowFront::bringForward(*window);
    }
    return false;
}

bool AppDelegate::applicationShouldHandleReopen(bool hasVisibleWindows)
{
    LogManager::log(u"🔄 应用重新打开，hasVisibleWindows="_s + boolText(hasVisibleWindows), category);
    if (FloatingWindow* window = petWindow())
        WindowFront::bringForward(*window);
    return true;
}
