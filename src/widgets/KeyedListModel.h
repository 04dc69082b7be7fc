#pragma once

#include <QAbstractListModel>
#include <QHash>
#include <QList>

#include <functional>
#include <type_traits>
#include <utility>

/// A list model whose rows follow a source list by key. A refresh is announced row by row:
/// rows whose key went are removed, rows that changed place are moved, new rows are
/// inserted and rows whose content changed are announced as changed, so a view keeps its
/// scroll position, hover and selection while the list changes under it.
class KeyedListModel : public QAbstractListModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(KeyedListModel)

public:
    explicit KeyedListModel(QObject* parent = nullptr)
        : QAbstractListModel(parent)
    {
    }

protected:
    /// Turns `rows` into `fresh`. `keyOf(row)` gives a row's key, `same(a, b)` whether two
    /// rows of one key look alike (a record without an equality of its own may say never:
    /// every kept row is then announced). Keys may repeat: the n-th row of a key stands for
    /// the n-th row of that key in `fresh`.
    template<typename Row, typename KeyOf, typename Same>
    void syncRows(QList<Row>& rows, const QList<Row>& fresh, KeyOf keyOf, Same same)
    {
        using Key = std::decay_t<std::invoke_result_t<KeyOf, const Row&>>;
        QHash<std::pair<Key, int>, qsizetype> freshRow;
        QHash<Key, int> seen;
        for (qsizetype i = 0; i < fresh.size(); ++i) {
            const Key key = keyOf(fresh[i]);
            freshRow.insert({ key, seen[key]++ }, i);
        }
        seen.clear();
        QList<qsizetype> target;
        target.reserve(rows.size());
        for (const Row& row : std::as_const(rows)) {
            const Key key = keyOf(row);
            target.append(freshRow.value({ key, seen[key]++ }, -1));
        }

        const Edits edits {
            [&rows](qsizetype first, qsizetype count) { rows.remove(first, count); },
            [&rows](qsizetype from, qsizetype to) { rows.move(from, to); },
            [&rows, &fresh](qsizetype at, qsizetype count) {
                rows.insert(at, count, Row());
                std::copy(fresh.cbegin() + at, fresh.cbegin() + at + count, rows.begin() + at);
            },
        };
        const QList<bool> kept = reorder(std::move(target), fresh.size(), edits);

        QList<qsizetype> changed;
        for (qsizetype i = 0; i < fresh.size(); ++i) {
            if (kept[i] && !same(std::as_const(rows)[i], fresh[i])) {
                rows[i] = fresh[i];
                changed.append(i);
            }
        }
        announceChanged(changed);
    }

private:
    /// How syncRows() changes the row list itself, between the model's announcements.
    struct Edits
    {
        std::function<void(qsizetype first, qsizetype count)> remove;
        /// Moves one row so that it ends up at `to`.
        std::function<void(qsizetype from, qsizetype to)> move;
        /// Inserts the fresh rows at..at+count-1 at `at`.
        std::function<void(qsizetype at, qsizetype count)> insert;
    };

    /// Brings the rows into the order of the fresh list. `target[i]` is the fresh index of
    /// row i, or -1 for a row that goes. Returns, for each fresh row, whether it was an old
    /// row kept (rather than inserted).
    QList<bool> reorder(QList<qsizetype> target, qsizetype freshCount, const Edits& edits);
    /// Announces the rows (ascending) as changed, one signal per run of neighbours.
    void announceChanged(const QList<qsizetype>& rows);
};
