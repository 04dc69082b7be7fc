#include "pet/OpacityManager.h"

#include "pet/PetWindowHost.h"
#include "platform/Defaults.h"
#include "platform/FloatingWindow.h"
#include "platform/LogManager.h"
#include "platform/NumberFormat.h"

#include <QCoreApplication>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {
const QString category = u"Opacity"_s;
}

OpacityManager::OpacityManager(Defaults& defaults, PetWindowHost& pet, QObject* parent)
    : QObject(parent)
    , m_defaults(defaults)
    , m_pet(pet)
{
    // The pet window is what first uses the setting. The program builds this manager before
    // the window, so the stored value is taken in when the window is there to show it.
    if (m_pet.petWindow())
        loadStoredOpacity();
}

void OpacityManager::loadStoredOpacity()
{
    // A missing value reads 0: it is assigned, then replaced by fully opaque, and each
    // assignment is written back and applied.
    setDefaultOpacity(m_defaults.doubleValue(defaultOpacityKey));
    if (m_defaultOpacity == 0.0)
        setDefaultOpacity(1.0);
}

void OpacityManager::setDefaultOpacity(double opacity)
{
    // A negative value or one that is not a number would leave the pet invisible at rest
    // for good (and a NaN must never reach a fade): such a value means fully opaque.
    if (!std::isfinite(opacity) || opacity < 0.0)
        opacity = 1.0;
    m_defaultOpacity = opacity;
    // Once assigned, the setting is the stored one: there is nothing left to take in.
    m_loaded = true;
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
    FloatingWindow* window = m_pet.petWindow();
    if (window && !m_loaded)
        loadStoredOpacity();
    if (!window || m_isOpacityManagementPaused || m_isMouseInside)
        return;
    window->fadeTo(m_defaultOpacity, restFadeMs);
    LogManager::log(u"应用默认透明度: "_s + NumberFormat::shortestDouble(m_defaultOpacity), category);
}

void OpacityManager::mouseEntered()
{
    FloatingWindow* window = m_pet.petWindow();
    if (!window)
        return;
    m_isMouseInside = true;
    // While paused the pointer is still followed, only the window is left alone: a pointer
    // that left during a game would otherwise keep the pet opaque long after it.
    if (m_isOpacityManagementPaused)
        return;
    window->fadeTo(1.0, hoverFadeMs);
    LogManager::log(u"鼠标进入，透明度 → 100%"_s, category);
}

void OpacityManager::mouseExited()
{
    FloatingWindow* window = m_pet.petWindow();
    if (!window)
        return;
    m_isMouseInside = false;
    if (m_isOpacityManagementPaused)
        return;
    window->fadeTo(m_defaultOpacity, restFadeMs);
    // Truncated toward zero; printed from the double so that no value overflows an integer.
    const QString percent = QString::number(std::trunc(m_defaultOpacity * 100.0), 'f', 0);
    LogManager::log(u"鼠标离开，透明度 → "_s + percent + u"%"_s, category);
}
