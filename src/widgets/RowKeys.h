#pragma once

#include <QObject>

#include <functional>

class QAbstractItemView;

/// Lets the keyboard do with a list's rows what the mouse does. The list takes the focus
/// by Tab and by click and, coming in, lands on a row (the first while none is current), so
/// the arrows have one to move from. On the current row Space flips its switch, Return or
/// Enter opens it, and Delete or Backspace asks to delete it. A key the list was given no
/// action for goes on to the list as before; the actions themselves decide whether a row
/// allows them, and a delete action asks the user before anything goes.
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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    RowKeys(QAbstractItemView* view, Actions actions);

    QAbstractItemView* m_view;
    Actions m_actions;
};
