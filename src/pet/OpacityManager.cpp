#include "pet/OpacityManager.h"

#include "platform/Defaults.h"
#include "platform/FloatingWindow.h"
#include "platform/LogManager.h"
#include "platform/NumberFormat.h"
#include "shell/WindowManager.h"

#include <QCoreApplication>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {
const QString category = u"Opacity"_s;
}

OpacityManager::OpacityManager(Defaults* defaults, WindowProvider petWindow, QObject* parent)
    : QObject(parent)
    , m_defaults(defaults ? *defaults : Defaults::shared())
    , m_petWindow(petWindow ? std::move(petWindow) : WindowProvider([] { return WindowManager::shared().petWindow(); }))
{
    // A missing value reads 0, which (like any value that is not a positive number) means
    // fully opaque; the setter writes the result back.
    setDefaultOpacity(m_defaults.doubleValue(defaultOpacityKey));
}

OpacityManager& OpacityManager::shared()
{
    static OpacityManager* instance = new OpacityManager(nullptr, {}, nullptr);
    return *instance;
}

void OpacityManager::setDefaultOpacity(double opacity)
{
    // Zero, negative or not a number would leave the pet invisible at rest (and a NaN must
    // never reach a fade).
    if (!std::isfinite(opacity) || opacity <= 0.0)
        opacity = 1.0;
    m_defaultOpacity = opacity;
    Q_EMIT defaultOpacityChanged(opacity);
    m_defaults.setValue(defaultOpacityKey, opacity);
    applyDefaultOpacity();
}

void OpacityManager::pauseOpacityManagement()
{
    m_isOpacityManagementPaused = true;
    LogManager::log(u"⏸️ 暂停透明度自动管理"_s, category);
}

void OpacityManager::resumeOpacityManagement()
{
    m_isOpacityManagementPaused = false;
    LogManager::log(u"▶️ 恢复透明度自动管理"_s, category);
    applyDefaultOpacity();
}

void OpacityManager::applyDefaultOpacity()
{
    FloatingWindow* window = m_petWindow();
    if (!window || m_isOpacityManagementPaused || m_isMouseInside)
        return;
    window->fadeTo(m_defaultOpacity, restFadeMs);
    LogManager::log(u"应用默认透明度: "_s + NumberFormat::shortestDouble(m_defaultOpacity), category);
}

void OpacityManager::mouseEntered()
{
    FloatingWindow* window = m_petWindow();
    if (!window || m_isOpacityManagementPaused)
        return;
    m_isMouseInside = true;
    window->fadeTo(1.0, hoverFadeMs);
    LogManager::log(u"鼠标进入，透明度 → 100%"_s, category);
}

void OpacityManager::mouseExited()
{
    FloatingWindow* window = m_petWindow();
    if (!window || m_isOpacityManagementPaused)
        return;
    m_isMouseInside = false;
    window->fadeTo(m_defaultOpacity, restFadeMs);
    const auto percent = static_cast<long long>(std::trunc(m_defaultOpacity * 100.0));
    LogManager::log(u"鼠标离开，透明度 → "_s + QString::number(percent) + u"%"_s, category);
}
