#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/// One step that turns a list of row ids into another: remove the row at `row`, or insert
/// at `row` the entry `source` of the new list. Applied in order, the steps keep every row
/// that stays, so a view keeps its scroll position and hover while the list changes.
struct ListEdit
{
    enum class Kind { remove, insert };
    Kind kind = Kind::remove;
    qsizetype row = 0;
    qsizetype source = 0;

    friend bool operator==(const ListEdit&, const ListEdit&) = default;
};

/// The removals and insertions that turn `before` into `after`. Ids may repeat. Rows keep
/// their relative order in both lists (the managers append and remove, never reorder); a
/// reordering still comes out right, only with more steps.
[[nodiscard]] QList<ListEdit> diffIds(const QStringList& before, const QStringList& after);
