#include "reminders/pages/SwitchButton.h"

#include "reminders/pages/ManagementRowDelegate.h"
#include "widgets/FocusRing.h"

#include <QPainter>

SwitchButton::SwitchButton(const QString& name, QWidget* parent)
    : QAbstractButton(parent)
{
    setCheckable(true);
    setText(name);
    setAccessibleName(name);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    // Its track fills it edge to edge and the knob comes close: the ring goes around it.
    FocusRing::ringAround(this);
}

void SwitchButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // It stands on its container's background.
    const QWidget* under = parentWidget() ? parentWidget() : this;
    paintSwitch(painter, QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), isChecked(),
        under->palette().color(under->backgroundRole()), isEnabled());
}
