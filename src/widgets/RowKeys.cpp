#include "widgets/RowKeys.h"

#include <QAbstractItemView>
#include <QKeyEvent>

RowKeys::RowKeys(QAbstractItemView* view, Actions actions)
    : QObject(view)
    , m_view(view)
    , m_actions(std::move(actions))
{
}

RowKeys* RowKeys::install(QAbstractItemView* view, Actions actions)
{
    auto* keys = new RowKeys(view, std::move(actions));
    view->setFocusPolicy(Qt::StrongFocus);
    // Tab leaves the list rather than moving along its rows: the arrows do that.
    view->setTabKeyNavigation(false);
    view->installEventFilter(keys);
    return keys;
}

bool RowKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_view)
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn) {
        const QAbstractItemModel* model = m_view->model();
        if (!m_view->currentIndex().isValid() && model && model->rowCount() > 0)
            m_view->setCurrentIndex(model->index(0, 0));
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    // The keypad's Enter comes with the keypad modifier; any other modifier makes another key.
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    const RowAction* action = nullptr;
    switch (key->key()) {
    case Qt::Key_Space:
        action = &m_actions.toggle;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        action = &m_actions.open;
        break;
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        action = &m_actions.remove;
        break;
    default:
        return false;
    }
    const QModelIndex current = m_view->currentIndex();
    if (!*action || !current.isValid())
        return false;
    // A held key would flip a switch back and forth, or stack up questions.
    if (!key->isAutoRepeat())
        (*action)(current.row());
    return true;
}
