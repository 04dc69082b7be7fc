#include "pet/InteractionHandler.h"

#include "pet/PetState.h"
#include "platform/Clock.h"
#include "platform/Screens.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>

InteractionHandler::InteractionHandler(PetState& petState, Screens& screens, Clock* clock, QObject* parent)
    : QObject(parent)
    , m_petState(petState)
    , m_screens(screens)
    , m_clock(clock ? *clock : Clock::system())
    , m_lastClickTime(m_clock.now())
{
}

void InteractionHandler::handleSingleClick()
{
    performSingleClickAction();
    m_lastClickTime = m_clock.now();
}

void InteractionHandler::performSingleClickAction()
{
    m_petState.updateAnimationState(PetAnimationState::clickFeedback);
    // Each click schedules its own end; a second click within 0.5 s does not extend the first.
    QTimer::singleShot(
        clickFeedbackMs, Qt::PreciseTimer, this, [this] { m_petState.updateAnimationState(PetAnimationState::idle); });
}

QPointF InteractionHandler::limitedPosition(QSizeF translation) const
{
    const QPointF p = m_dragStartPosition + QPointF(translation.width(), translation.height());
    const std::optional<QRectF> visible = m_screens.mainVisibleFrame();
    if (!visible)
        return p;
    return { std::max(0.0, std::min(visible->width() - 64.0, p.x())),
        std::max(0.0, std::min(visible->height() - 64.0, p.y())) };
}

void InteractionHandler::updateDrag(QSizeF translation)
{
    setDragOffset(translation);
    const QPointF p = limitedPosition(translation);
    const double height = m_screens.mainHeight();
    QMetaObject::invokeMethod(
        this, [this, p, height] { Q_EMIT petWindowPlacementRequested(Screens::petOriginFromStored(p, height)); },
        Qt::QueuedConnection);
}

void InteractionHandler::endDrag(QSizeF finalTranslation)
{
    const QPointF p = limitedPosition(finalTranslation);
    m_petState.setPosition(p);
    m_petState.setLastMoveTime(m_clock.now());
    m_petState.savePosition();
    Q_EMIT petWindowMoveRequested(p);
    setDragging(false);
    setDragOffset(QSizeF());
    m_petState.setInteracting(false);
}

void InteractionHandler::resetInteraction()
{
    setDragging(false);
    setDragOffset(QSizeF());
    m_petState.setInteracting(false);
}

void InteractionHandler::setDragging(bool dragging)
{
    if (m_isDragging == dragging)
        return;
    m_isDragging = dragging;
    Q_EMIT isDraggingChanged(dragging);
}

void InteractionHandler::setDragOffset(QSizeF offset)
{
    if (m_dragOffset == offset)
        return;
    m_dragOffset = offset;
    Q_EMIT dragOffsetChanged(offset);
}
