#include "pet/DragEventHandler.h"

#include "pet/DoNotDisturbManager.h"
#include "pet/MovementAlgorithms.h"
#include "pet/PetState.h"
#include "platform/Clock.h"
#include "platform/FloatingWindow.h"
#include "platform/LogManager.h"
#include "platform/NumberFormat.h"
#include "platform/Screens.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWindow>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {
const QString category = u"Drag"_s;

QString pointText(double x, double y)
{
    return u"("_s + NumberFormat::shortestDouble(x) + u", "_s + NumberFormat::shortestDouble(y) + u")"_s;
}
} // namespace

DragEventHandler::DragEventHandler(
    Screens& screens, PetState& petState, DoNotDisturbManager& doNotDisturb, Clock* clock, QObject* parent)
    : QObject(parent)
    , m_screens(screens)
    , m_petState(petState)
    , m_doNotDisturb(doNotDisturb)
    , m_clock(clock ? *clock : Clock::system())
{
    m_screenHeight = m_screens.mainHeight();
    m_mouseDownTime = m_clock.now();
    connect(&m_screens, &Screens::screensChanged, this, &DragEventHandler::screenConfigurationChanged);
}

DragEventHandler::~DragEventHandler()
{
    stopMonitoring();
}

void DragEventHandler::startMonitoring(FloatingWindow* window)
{
    stopMonitoring();
    m_window = window;
    if (QCoreApplication* app = QCoreApplication::instance()) {
        app->installEventFilter(this);
        m_monitoring = true;
    }
}

void DragEventHandler::stopMonitoring()
{
    if (!m_monitoring)
        return;
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
    m_monitoring = false;
    m_pressedOnPet = false;
    m_isDragging = false;
}

bool DragEventHandler::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease && type != QEvent::MouseMove)
        return false;
    // Each pointer event reaches the native window first and is then passed to its widgets;
    // looking at the window's copy only sees every event once.
    auto* window = qobject_cast<QWindow*>(watched);
    if (!window || !m_window)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (type == QEvent::MouseMove ? !(mouse->buttons() & Qt::LeftButton) : mouse->button() != Qt::LeftButton)
        return false;
    const bool onPetWindow = window == m_window->windowHandle();
    return handleMouseEvent(type, m_screens.fromQtPoint(mouse->globalPosition()), onPetWindow);
}

bool DragEventHandler::handleMouseEvent(QEvent::Type type, QPointF point, bool onPetWindow)
{
    if (!m_window)
        return false;
    switch (type) {
    case QEvent::MouseButtonPress:
        // Only a press on the pet itself can start a drag; one in another of the program's
        // windows must never move the pet when the pointer later crosses it.
        m_pressedOnPet = onPetWindow && m_window->modelFrame().contains(point);
        if (m_pressedOnPet)
            handleMouseDown(point);
        return false;
    case QEvent::MouseMove: {
        if (!m_pressedOnPet && !m_isDragging)
            return false;
        const QPointF delta = point - m_dragStartMousePosition;
        // Made for every move, also during a drag: pointer positions within the threshold
        // of the press point do not move the window.
        if (std::hypot(delta.x(), delta.y()) <= dragThreshold)
            return false;
        if (!m_isDragging) {
            m_isDragging = true;
            QMetaObject::invokeMethod(
                &m_petState,
                [state = &m_petState] {
                    state->setInteracting(true);
                    state->recordInteraction();
                },
                Qt::QueuedConnection);
        }
        handleMouseDragged(point);
        return true;
    }
    case QEvent::MouseButtonRelease:
        m_pressedOnPet = false;
        if (!m_isDragging)
            return false;
        handleMouseUp();
        return true;
    default:
        return false;
    }
}

void DragEventHandler::handleMouseDown(QPointF point)
{
    m_dragStartMousePosition = point;
    const QRectF frame = m_window->modelFrame();
    m_dragStartWindowPosition = QPointF(frame.x(), frame.y());
    m_mouseDownTime = m_clock.now();
    LogManager::log(u"🖱️ 鼠标按下: 位置="_s + pointText(point.x(), point.y()), category);
}

void DragEventHandler::handleMouseDragged(QPointF point)
{
    const std::optional<QRectF> visible = m_screens.mainVisibleFrame();
    if (!m_isDragging || !visible)
        return;
    const QPointF wanted = m_dragStartWindowPosition + (point - m_dragStartMousePosition);
    const QSizeF size = m_window->modelFrame().size();
    // The window stays wholly inside the visible frame, off the panels; a visible frame
    // smaller than the window keeps it at the frame's bottom-left corner.
    const double x = clampToRange(wanted.x(), visible->x(), visible->x() + visible->width() - size.width());
    const double y = clampToRange(wanted.y(), visible->y(), visible->y() + visible->height() - size.height());
    const QPointF origin = m_doNotDisturb.getValidWindowOriginForDoNotDisturb(QPointF(x, y));
    m_window->setModelOrigin(origin);
    const QPointF stored(origin.x(), m_screenHeight - origin.y() - size.height());
    QMetaObject::invokeMethod(
        &m_petState, [state = &m_petState, stored] { state->setPosition(stored); }, Qt::QueuedConnection);
}

void DragEventHandler::handleMouseUp()
{
    m_isDragging = false;
    const QRectF frame = m_window->modelFrame();
    const double topLeftY = m_screenHeight - frame.y() - frame.height();
    const QPointF stored(frame.x(), topLeftY);
    const QDateTime now = m_clock.now();
    QMetaObject::invokeMethod(
        &m_petState,
        [state = &m_petState, stored, now] {
            state->setPosition(stored);
            state->setLastMoveTime(now);
            state->savePosition();
            state->setInteracting(false);
        },
        Qt::QueuedConnection);
    LogManager::log(u"🖱️ 结束拖动: 最终位置="_s + pointText(frame.x(), topLeftY), category);
}

void DragEventHandler::screenConfigurationChanged()
{
    m_screenHeight = m_screens.mainHeight();
}
