#include "pet/DoNotDisturbManager.h"

#include "pet/MovementAlgorithms.h"
#include "pet/PetBehaviorControl.h"
#include "pet/PetState.h"
#include "pet/PetWindowHost.h"
#include "platform/Defaults.h"
#include "platform/FloatingWindow.h"
#include "platform/LogManager.h"
#include "platform/NumberFormat.h"
#include "platform/Screens.h"

#include <QCoreApplication>

#include <cmath>

using namespace Qt::StringLiterals;

static_assert(DoNotDisturbManager::petSize.width() == Screens::petSize
    && DoNotDisturbManager::petSize.height() == Screens::petSize);

namespace {
const QString category = u"DoNotDisturb"_s;
}

DoNotDisturbManager::DoNotDisturbManager(Defaults& defaults, Screens& screens, PetWindowHost& pet, PetState& petState,
    PetBehaviorControl& scheduler, QObject* parent)
    : QObject(parent)
    , m_defaults(defaults)
    , m_screens(screens)
    , m_pet(pet)
    , m_petState(petState)
    , m_scheduler(scheduler)
{
    if (m_defaults.value(bottomOffsetKey).isDouble())
        setBottomOffset(m_defaults.doubleValue(bottomOffsetKey));
}

void DoNotDisturbManager::setDoNotDisturbMode(bool on)
{
    if (m_isDoNotDisturbMode == on)
        return;
    m_isDoNotDisturbMode = on;
    Q_EMIT isDoNotDisturbModeChanged(on);
    if (on)
        enterDoNotDisturbMode();
    else
        exitDoNotDisturbMode();
}

void DoNotDisturbManager::setBottomOffset(double offset)
{
    // Not a number would leave the pinned pet nowhere; it means the default, as a missing key does.
    if (!std::isfinite(offset))
        offset = defaultBottomOffset;
    m_bottomOffset = offset;
    m_defaults.setValue(bottomOffsetKey, offset);
    Q_EMIT bottomOffsetChanged(offset);
    if (m_isDoNotDisturbMode)
        applyCurrentBottomOffset();
}

void DoNotDisturbManager::toggleDoNotDisturbMode()
{
    setDoNotDisturbMode(!m_isDoNotDisturbMode);
    LogManager::log(u"勿扰模式: "_s + (m_isDoNotDisturbMode ? u"开启"_s : u"关闭"_s), category);
}

double DoNotDisturbManager::pinnedBottom(const QRectF& frame) const
{
    // A negative offset sinks the pet below the screen's edge, into the panel's place, as the
    // appearance slider offers. Only an offset that would leave too little of the pet on the
    // screen to reach it (and leave the mode from its menu) is held back.
    const double sunk = frame.y() - (petSize.height() - minimumVisibleHeight);
    const double raised = frame.y() + frame.height() - minimumVisibleHeight;
    return clampToRange(frame.y() + m_bottomOffset, sunk, raised);
}

double DoNotDisturbManager::pinnedStoredY() const
{
    const QRectF frame = *m_screens.mainFrame();
    return frame.height() - pinnedBottom(frame) - petSize.height();
}

void DoNotDisturbManager::enterDoNotDisturbMode()
{
    FloatingWindow* window = m_pet.petWindow();
    const std::optional<QRectF> frame = m_screens.mainFrame();
    if (!window || !frame)
        return;
    const QRectF windowFrame = window->modelFrame();
    m_originalPosition = QPointF(windowFrame.x(), windowFrame.y());
    m_scheduler.pauseScheduling();
    LogManager::log(u"⏸️ 勿扰模式：已暂停自动行为系统"_s, category);

    const QPointF pinned(frame->x() + sideMargin, pinnedStoredY());
    m_pet.updateWindowPosition(pinned);
    m_petState.updatePosition(pinned);
    LogManager::log(
        u"📍 宠物已固定在屏幕左下角（距离底部："_s + NumberFormat::shortestDouble(m_bottomOffset) + u"px），完全静止"_s,
        category);
}

void DoNotDisturbManager::exitDoNotDisturbMode()
{
    // The pet goes back before the scheduler restarts, so the next walk is planned from
    // where the pet really stands rather than from the corner it leaves.
    std::optional<QPointF> restored;
    if (m_originalPosition) {
        restored = m_screens.storedFromPetOrigin(*m_originalPosition);
        m_pet.updateWindowPosition(*restored);
        m_petState.updatePosition(*restored);
    }
    if (m_scheduler.isActive()) {
        m_scheduler.startBehaviorSystem();
        LogManager::log(u"自动行为系统已恢复"_s, u"AutoBehavior"_s);
    }
    LogManager::log(u"▶️ 勿扰模式：已恢复自动行为系统"_s, category);
    if (!restored)
        return;
    LogManager::log(u"宠物已返回原位置"_s, category);
    m_originalPosition.reset();
}

QPointF DoNotDisturbManager::getValidWindowOriginForDoNotDisturb(QPointF origin) const
{
    const std::optional<QRectF> frame = m_screens.mainFrame();
    if (!m_isDoNotDisturbMode || !frame)
        return origin;
    const double minX = frame->x() + sideMargin;
    const double maxX = frame->x() + frame->width() - petSize.width() - sideMargin;
    return { clampToRange(origin.x(), minX, maxX), pinnedBottom(*frame) };
}

void DoNotDisturbManager::applyCurrentBottomOffset()
{
    FloatingWindow* window = m_pet.petWindow();
    if (!m_isDoNotDisturbMode || !window || !m_screens.hasMainScreen())
        return;
    const QPointF pinned(window->modelFrame().x(), pinnedStoredY());
    m_pet.updateWindowPosition(pinned);
    m_petState.updatePosition(pinned);
    LogManager::log(
        u"勿扰模式底部距离已更新为 "_s + NumberFormat::shortestDouble(m_bottomOffset) + u" 像素"_s, category);
}

void DoNotDisturbManager::exitIfActiveDueToUserAction()
{
    if (!m_isDoNotDisturbMode)
        return;
    setDoNotDisturbMode(false);
    QMetaObject::invokeMethod(this, &DoNotDisturbManager::menuRebuildRequested, Qt::QueuedConnection);
    LogManager::log(u"因用户动作自动退出勿扰模式"_s, category);
}
