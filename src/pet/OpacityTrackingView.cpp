#include "pet/OpacityTrackingView.h"

#include "platform/FloatingWindow.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QTimer>

OpacityTrackingView::OpacityTrackingView(QWidget* parent)
    : QWidget(parent)
{
    // Entries and exits arrive whether or not the program is active; the pet never is.
    setAttribute(Qt::WA_Hover);
    watchWindow();
}

void OpacityTrackingView::watchWindow()
{
    QWidget* top = window();
    if (top == m_window)
        return;
    if (m_window)
        m_window->removeEventFilter(this);
    m_window = top;
    if (top != this)
        top->installEventFilter(this);
}

bool OpacityTrackingView::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::ParentChange:
        watchWindow();
        break;
    case QEvent::Enter:
        pointerArrived();
        break;
    case QEvent::Leave:
        pointerLeft();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

bool OpacityTrackingView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window) {
        if (event->type() == QEvent::Enter)
            pointerArrived();
        else if (event->type() == QEvent::Leave)
            pointerLeft();
    } else if (watched == m_popup && event->type() == QEvent::Hide) {
        popupClosed();
    }
    return false;
}

void OpacityTrackingView::popupClosed()
{
    if (m_popup) {
        m_popup->removeEventFilter(this);
        disconnect(m_popup, &QObject::destroyed, this, nullptr);
    }
    m_popup = nullptr;
    // The window system reports the pointer over the pet again on its own; only a pointer
    // that is elsewhere by now must be told. Judged once the menu has gone.
    QTimer::singleShot(0, this, [this] {
        if (!m_popup && m_inside && !pointerIsOverWindow())
            pointerLeft();
    });
}

void OpacityTrackingView::pointerArrived()
{
    if (m_inside)
        return;
    m_inside = true;
    Q_EMIT pointerEntered();
}

void OpacityTrackingView::pointerLeft()
{
    if (!m_inside)
        return;
    // Opening a menu from the pet is not leaving it; where the pointer goes then is
    // known only when the menu closes.
    if (QWidget* popup = QApplication::activePopupWidget()) {
        awaitPopupClosing(popup);
        return;
    }
    m_inside = false;
    Q_EMIT pointerExited();
}

void OpacityTrackingView::awaitPopupClosing(QWidget* popup)
{
    if (popup == m_popup)
        return;
    if (m_popup) {
        m_popup->removeEventFilter(this);
        disconnect(m_popup, &QObject::destroyed, this, nullptr);
    }
    m_popup = popup;
    popup->installEventFilter(this);
    // A menu deleted while shown may go without a hide event.
    connect(popup, &QObject::destroyed, this, &OpacityTrackingView::popupClosed);
}

bool OpacityTrackingView::pointerIsOverWindow() const
{
    if (!m_window || !m_window->isVisible())
        return false;
    const QPoint local = m_window->mapFromGlobal(QCursor::pos());
    if (!m_window->rect().contains(local))
        return false;
    const auto* floating = qobject_cast<const FloatingWindow*>(m_window.data());
    if (!floating || !floating->inputRegion())
        return true;
    const qreal ratio = m_window->devicePixelRatioF();
    return floating->inputRegion()->contains(QPoint(qRound(local.x() * ratio), qRound(local.y() * ratio)));
}
