#include "widgets/FocusHold.h"

#include <algorithm>

void FocusHold::take(QWidget* holder, std::initializer_list<const QWidget*> controls)
{
    const QWidget* focus = holder->window()->focusWidget();
    if (!focus || std::none_of(controls.begin(), controls.end(), [focus](const QWidget* c) { return c == focus; }))
        return;
    m_holder = holder;
    // Any widget can hold the focus when given it, whatever its policy; this one ignores keys.
    holder->setFocus(Qt::OtherFocusReason);
}

void FocusHold::giveTo(QWidget* to)
{
    QWidget* holder = m_holder;
    m_holder = nullptr;
    if (holder && holder->window()->focusWidget() == holder && to->isEnabled() && to->isVisible())
        to->setFocus(Qt::OtherFocusReason);
}
