#include "reminders/pages/ListDiff.h"

QList<ListEdit> diffIds(const QStringList& before, const QStringList& after)
{
    QList<ListEdit> edits;
    qsizetype i = 0; // next row of `before` not yet looked at
    qsizetype j = 0; // next entry of `after` not yet placed
    qsizetype row = 0; // where the working list stands
    while (i < before.size() && j < after.size()) {
        if (before[i] == after[j]) {
            ++i;
            ++j;
            ++row;
        } else if (after.indexOf(before[i], j + 1) >= 0) {
            // The old row comes back later: the new entry goes in before it.
            edits.append({ ListEdit::Kind::insert, row, j });
            ++j;
            ++row;
        } else {
            edits.append({ ListEdit::Kind::remove, row, 0 });
            ++i;
        }
    }
    for (; i < before.size(); ++i)
        edits.append({ ListEdit::Kind::remove, row, 0 });
    for (; j < after.size(); ++j, ++row)
        edits.append({ ListEdit::Kind::insert, row, j });
    return edits;
}
