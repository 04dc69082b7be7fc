#include "widgets/RowKeys.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>
#include <utility>

RowKeys::RowKeys(QAbstractItemView* view, Actions actions)
    : QObject(view)
    , m_view(view)
    , m_viewport(view->viewport())
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
    keys->m_viewport->installEventFilter(keys);
    keys->watch(view->model());
    return keys;
}

void RowKeys::setFocusWhenEmpty(QWidget* widget)
{
    m_whenEmpty = widget;
}

void RowKeys::watch(QAbstractItemModel* model)
{
    if (model == m_model)
        return;
    if (m_model)
        disconnect(m_model, nullptr, this, nullptr);
    m_model = model;
    if (!model)
        return;
    connect(model, &QAbstractItemModel::rowsRemoved, this, &RowKeys::rowsGone);
    connect(model, &QAbstractItemModel::modelReset, this, &RowKeys::rowsGone);
}

void RowKeys::rowsGone()
{
    // The view and the page answer the same signals, the page perhaps by hiding an empty
    // list; the focus is placed once they all have.
    if (m_deleting < 0 || m_settling)
        return;
    m_settling = true;
    QTimer::singleShot(0, this, &RowKeys::settle);
}

void RowKeys::settle()
{
    m_settling = false;
    const int row = std::exchange(m_deleting, -1);
    const QAbstractItemModel* model = m_view->model();
    if (row < 0 || !model)
        return;
    if (const int count = model->rowCount(); count > 0 && m_view->isVisible()) {
        m_view->setCurrentIndex(model->index(std::min(row, count - 1), 0));
        m_view->setFocus(Qt::OtherFocusReason);
        return;
    }
    QWidget* next = m_whenEmpty;
    if (!next || !next->isVisible() || !next->isEnabled()) {
        next = nullptr;
        for (QWidget* w = m_view->nextInFocusChain(); w && w != m_view; w = w->nextInFocusChain()) {
            if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)
                && w->window() == m_view->window()) {
                next = w;
                break;
            }
        }
    }
    if (next)
        next->setFocus(Qt::TabFocusReason);
}

void RowKeys::pointAt(QPoint pos)
{
    // The row stays where the user clicked it: only the keyboard scrolls the list to its row,
    // and the release must come up on the control that took the press. The view would also
    // scroll to the pressed row a moment later (it waits to tell a double click), so its
    // scrolling stays off until the press has been handled.
    if (m_view->hasAutoScroll()) {
        m_view->setAutoScroll(false);
        QTimer::singleShot(0, m_view, [view = m_view] { view->setAutoScroll(true); });
    }
    QItemSelectionModel* selection = m_view->selectionModel();
    const QModelIndex under = m_view->indexAt(pos);
    if (selection && under != m_view->currentIndex())
        selection->setCurrentIndex(under, QItemSelectionModel::NoUpdate);
}

bool RowKeys::eventFilter(QObject* watched, QEvent* event)
{
    // Only pointers are compared here: a view being destroyed still sends its widgets' events.
    if (watched == m_viewport) {
        if (event->type() == QEvent::MouseButtonPress)
            pointAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        return false;
    }
    if (watched != m_view)
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn) {
        // The keyboard needs a row to move from. A click picks its own, the one under the
        // pointer, and a window or menu handing the focus back leaves the row as it was:
        // picking the first row then would scroll it into view under the pointer.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        const bool pickedElsewhere
            = reason == Qt::MouseFocusReason || reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason;
        const QAbstractItemModel* model = m_view->model();
        if (pickedElsewhere)
            return false;
        if (!m_view->currentIndex().isValid() && model && model->rowCount() > 0)
            m_view->setCurrentIndex(model->index(0, 0));
        else if (m_view->currentIndex().isValid())
            m_view->scrollTo(m_view->currentIndex()); // the ring shows where the keyboard came back
        return false;
    }
    if (event->type() == QEvent::FocusOut && !m_settling) {
        // The user went elsewhere before the row went: the focus is not called back for it.
        // The question box and other windows take the focus only for a while.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            m_deleting = -1;
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    // A delete that was declined, or whose removal never came, leaves no row to return to.
    m_deleting = -1;
    watch(m_view->model());
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
    if (key->isAutoRepeat())
        return true;
    if (action == &m_actions.remove)
        m_deleting = current.row();
    (*action)(current.row());
    return true;
}
