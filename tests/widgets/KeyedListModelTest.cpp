// The keyed row diff behind every list model: the rows end up as the fresh list, rows that
// stay are followed by the view (its persistent indexes), and the steps are few.
#include "widgets/KeyedListModel.h"

#include <QAbstractItemModelTester>
#include <QPersistentModelIndex>
#include <QRandomGenerator>
#include <QSet>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

/// Rows named by one letter: the letter's case is the row's content, the lower-case letter its key.
class LetterModel final : public KeyedListModel
{
public:
    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
    }
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override
    {
        return index.isValid() && role == Qt::DisplayRole ? QVariant(m_rows.at(index.row())) : QVariant();
    }

    void set(const QString& letters)
    {
        QList<QChar> fresh(letters.cbegin(), letters.cend());
        syncRows(
            m_rows, fresh, [](QChar row) { return row.toLower(); }, std::equal_to<>());
    }
    [[nodiscard]] QString text() const { return QString(m_rows.constData(), m_rows.size()); }

private:
    QList<QChar> m_rows;
};

struct Steps
{
    int removes = 0;
    int inserts = 0;
    int moves = 0;
};

/// Applies `after` to a model holding `before` and checks what every refresh must give:
/// the rows as asked, consistent signals, each kept row followed, exactly the rows whose
/// content changed announced. Returns the structural steps it took.
Steps sync(const QString& before, const QString& after)
{
    LetterModel model;
    model.set(before);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QList<QPersistentModelIndex> held;
    for (int row = 0; row < model.rowCount(); ++row)
        held.append(model.index(row));
    QSignalSpy removes(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy inserts(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy moves(&model, &QAbstractItemModel::rowsMoved);
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);

    model.set(after);

    EXPECT_EQ(model.text(), after);
    EXPECT_EQ(resets.size(), 0);
    // The n-th row of a key before stands for the n-th row of that key after.
    QHash<QChar, QList<int>> afterRows;
    for (int row = 0; row < after.size(); ++row)
        afterRows[after[row].toLower()].append(row);
    QHash<QChar, int> seen;
    QSet<int> changedRows;
    for (int row = 0; row < before.size(); ++row) {
        const QChar key = before[row].toLower();
        const int nth = seen[key]++;
        const int expected = nth < afterRows[key].size() ? afterRows[key][nth] : -1;
        EXPECT_EQ(held[row].isValid() ? held[row].row() : -1, expected) << "row " << row;
        if (expected >= 0 && after[expected] != before[row])
            changedRows.insert(expected);
    }
    QSet<int> announced;
    for (const QList<QVariant>& change : std::as_const(changes)) {
        for (int row = change[0].toModelIndex().row(); row <= change[1].toModelIndex().row(); ++row)
            announced.insert(row);
    }
    EXPECT_EQ(announced, changedRows);
    return { static_cast<int>(removes.size()), static_cast<int>(inserts.size()), static_cast<int>(moves.size()) };
}

} // namespace

TEST(KeyedListModel, TurnsTheRowsIntoTheFreshListInFewSteps)
{
    const struct
    {
        const char* before;
        const char* after;
        Steps steps;
    } cases[] = {
        { "", "", {} },
        { "", "abc", { 0, 1, 0 } }, // neighbours go in together
        { "abc", "", { 1, 0, 0 } },
        { "abcd", "aBcD", {} }, // new content in place
        { "abc", "abcd", { 0, 1, 0 } },
        { "abcd", "acd", { 1, 0, 0 } },
        { "abcde", "ae", { 1, 0, 0 } },
        { "abcde", "bd", { 3, 0, 0 } },
        { "ba", "dcba", { 0, 1, 0 } }, // two picks at the top
        { "abcd", "Dabc", { 0, 0, 1 } }, // a new message lifts the last conversation to the top
        { "abcd", "bcda", { 0, 0, 1 } }, // one moved down
        { "abcd", "bacd", { 0, 0, 1 } }, // neighbours swapped
        { "abcd", "badc", { 0, 0, 2 } },
        { "abcd", "dcba", { 0, 0, 3 } },
        { "abcde", "xeydz", { 1, 3, 1 } },
        { "aab", "ab", { 1, 0, 0 } }, // repeated keys, as a duplicated alarm id allows
        { "ab", "aab", { 0, 1, 0 } },
        { "abab", "b", { 2, 0, 0 } },
        { "aBa", "Aab", { 0, 0, 1 } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.before) + " -> " + c.after);
        const Steps steps = sync(QString::fromLatin1(c.before), QString::fromLatin1(c.after));
        EXPECT_EQ(steps.removes, c.steps.removes);
        EXPECT_EQ(steps.inserts, c.steps.inserts);
        EXPECT_EQ(steps.moves, c.steps.moves);
    }
}

TEST(KeyedListModel, AnyRefreshComesOutRight)
{
    QRandomGenerator random(28);
    const auto letters = [&random](int most) {
        QString out;
        for (int n = random.bounded(most + 1); n > 0; --n) {
            const QChar letter(u'a' + random.bounded(8));
            out.append(random.bounded(3) == 0 ? letter.toUpper() : letter);
        }
        return out;
    };
    for (int i = 0; i < 400; ++i) {
        const QString before = letters(10);
        const QString after = letters(10);
        SCOPED_TRACE(QString(before + u" -> "_s + after).toStdString());
        sync(before, after);
        if (::testing::Test::HasFailure())
            break;
    }
}
