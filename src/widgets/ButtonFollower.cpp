#include "widgets/ButtonFollower.h"

#include <QAbstractButton>
#include <QEvent>

ButtonFollower::ButtonFollower(QAbstractButton* button, bool onStyleChange)
    : QObject(button)
    , m_button(button)
    , m_onStyleChange(onStyleChange)
{
    button->installEventFilter(this);
    watchParent();
}

bool ButtonFollower::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == m_button && type == QEvent::ParentChange)
        watchParent();
    const bool ownChange = type == QEvent::PaletteChange || type == QEvent::ParentChange
        || type == QEvent::ApplicationPaletteChange
        || (m_onStyleChange && (type == QEvent::Polish || type == QEvent::StyleChange));
    if ((watched == m_button && ownChange) || (watched == m_parent && type == QEvent::PaletteChange))
        refresh();
    return false;
}

void ButtonFollower::watchParent()
{
    if (m_parent)
        m_parent->removeEventFilter(this);
    m_parent = m_button->parentWidget();
    if (m_parent)
        m_parent->installEventFilter(this);
}
