#include "pet/OpacityTrackingView.h"

#include "pet/OpacityManager.h"

OpacityTrackingView::OpacityTrackingView(QWidget* parent)
    : QWidget(parent)
{
    // Entries and exits arrive whether or not the program is active; the pet never is.
    setAttribute(Qt::WA_Hover);
}

void OpacityTrackingView::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    OpacityManager::shared().mouseEntered();
}

void OpacityTrackingView::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    OpacityManager::shared().mouseExited();
}
