#include "pet/OpacityTrackingView.h"

OpacityTrackingView::OpacityTrackingView(QWidget* parent)
    : QWidget(parent)
{
    // Entries and exits arrive whether or not the program is active; the pet never is.
    setAttribute(Qt::WA_Hover);
}

void OpacityTrackingView::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    Q_EMIT pointerEntered();
}

void OpacityTrackingView::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    Q_EMIT pointerExited();
}
