#include "widgets/KeyedListModel.h"

#include <algorithm>

namespace {

/// Marks one longest run of strictly increasing values (not necessarily neighbours).
QList<bool> longestIncreasing(const QList<qsizetype>& values)
{
    QList<qsizetype> tails; // for each length, the index of the smallest value ending such a run
    QList<qsizetype> previous(values.size(), -1);
    for (qsizetype i = 0; i < values.size(); ++i) {
        const auto at = std::lower_bound(tails.begin(), tails.end(), values[i],
            [&values](qsizetype tail, qsizetype value) { return values[tail] < value; });
        if (at != tails.begin())
            previous[i] = *(at - 1);
        if (at == tails.end())
            tails.append(i);
        else
            *at = i;
    }
    QList<bool> in(values.size(), false);
    for (qsizetype i = tails.isEmpty() ? -1 : tails.last(); i >= 0; i = previous[i])
        in[i] = true;
    return in;
}

} // namespace

QList<bool> KeyedListModel::reorder(QList<qsizetype> target, qsizetype freshCount, const Edits& edits)
{
    // Rows that go, in runs of neighbours, from the last run up so the rows above keep their places.
    for (qsizetype last = target.size() - 1; last >= 0;) {
        if (target[last] >= 0) {
            --last;
            continue;
        }
        qsizetype first = last;
        while (first > 0 && target[first - 1] < 0)
            --first;
        beginRemoveRows({}, static_cast<int>(first), static_cast<int>(last));
        edits.remove(first, last - first + 1);
        target.remove(first, last - first + 1);
        endRemoveRows();
        last = first - 1;
    }

    // The most rows that already stand in the fresh order stay where they are ("placed");
    // each of the others moves once, in fresh order, to just after the placed row before it.
    QList<bool> placed = longestIncreasing(target);
    QList<qsizetype> movers;
    for (qsizetype i = 0; i < target.size(); ++i) {
        if (!placed[i])
            movers.append(target[i]);
    }
    std::sort(movers.begin(), movers.end());
    for (const qsizetype wanted : std::as_const(movers)) {
        const qsizetype from = target.indexOf(wanted);
        qsizetype after = -1;
        for (qsizetype i = 0; i < target.size(); ++i) {
            if (placed[i] && target[i] < wanted)
                after = i;
        }
        const qsizetype to = from <= after ? after : after + 1;
        // Qt names the destination as the row before which the moved one goes.
        if (to != from
            && beginMoveRows(
                {}, static_cast<int>(from), static_cast<int>(from), {}, static_cast<int>(to > from ? to + 1 : to))) {
            edits.move(from, to);
            target.move(from, to);
            placed.move(from, to);
            endMoveRows();
        }
        placed[to] = true;
    }

    // The rows are in fresh order now, with gaps where new rows go: fill them, runs at once.
    QList<bool> kept(freshCount, false);
    for (const qsizetype t : std::as_const(target))
        kept[t] = true;
    for (qsizetype row = 0; row < freshCount;) {
        if (kept[row]) {
            ++row;
            continue;
        }
        qsizetype count = 1;
        while (row + count < freshCount && !kept[row + count])
            ++count;
        beginInsertRows({}, static_cast<int>(row), static_cast<int>(row + count - 1));
        edits.insert(row, count);
        endInsertRows();
        row += count;
    }
    return kept;
}

void KeyedListModel::announceChanged(const QList<qsizetype>& rows)
{
    for (qsizetype i = 0; i < rows.size();) {
        qsizetype end = i + 1;
        while (end < rows.size() && rows[end] == rows[end - 1] + 1)
            ++end;
        Q_EMIT dataChanged(index(static_cast<int>(rows[i])), index(static_cast<int>(rows[end - 1])));
        i = end;
    }
}
