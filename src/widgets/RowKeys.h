#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>

#include <functional>

class QAbstractItemModel;
class QAbstractItemView;

/// Lets the keyboard do with a list's rows what the mouse does. The list takes the focus
/// by Tab and by click. Coming in by the keyboard it lands on a row (the first while none is
/// current), so the arrows have one to move from; a press of the mouse makes the row under
/// the pointer current, or none off the rows, and never scrolls the list. On the current
/// row Space flips its switch, Return or Enter opens it, and Delete or Backspace asks to
/// delete it. A key the list was given no action for goes on to the list as before; the
/// actions themselves decide whether a row allows them, and a delete action asks the user
/// before anything goes. Once a row deleted by key has gone, the keyboard stays where it
/// was: on the row that took its place, on the new last row, or, with no rows left, on the
/// widget the page names for that.
class RowKeys final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RowKeys)

public:
    /// What a key does to the row at `row`.
    using RowAction = std::function<void(int row)>;

    struct Actions
    {
        RowAction toggle;
        RowAction open;
        RowAction remove;
    };

    /// Makes `view`'s rows work by keys; the view owns what this returns.
    static RowKeys* install(QAbstractItemView* view, Actions actions);

    /// Where the focus goes when the last row is deleted by key, the page's add button most
    /// often; without one it goes on along the focus chain.
    void setFocusWhenEmpty(QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    RowKeys(QAbstractItemView* view, Actions actions);

    void watch(QAbstractItemModel* model);
    /// Makes the row at `pos` in the viewport current, where the mouse went down.
    void pointAt(QPoint pos);
    void rowsGone();
    void settle();

    QAbstractItemView* m_view;
    /// Where the view takes the mouse.
    QWidget* m_viewport;
    Actions m_actions;
    QPointer<QWidget> m_whenEmpty;
    QPointer<QAbstractItemModel> m_model;
    /// The row Delete was pressed on, while its removal may still be on its way.
    int m_deleting = -1;
    bool m_settling = false;
};
