// How a refreshed conversation list is described to a list model.
#include "driftbottle/ConversationListChange.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

/// Conversations named by one letter each; an upper-case letter has a newer message.
QList<Conversation> list(const QString& letters)
{
    QList<Conversation> out;
    for (const QChar letter : letters) {
        Conversation c;
        c.bottleId = letter.toLower();
        c.lastMessage = letter;
        c.lastMessageTime = QDateTime::fromSecsSinceEpoch(letter.isUpper() ? 2000 : 1000, Qt::UTC);
        out.append(c);
    }
    return out;
}

} // namespace

TEST(ConversationListChange, DescribesInPlaceChangesAndSingleMovesElseResets)
{
    using Move = ConversationListChange::Move;
    const struct
    {
        const char* before;
        const char* after;
        bool reset;
        std::optional<Move> move;
        QList<qsizetype> changed;
    } cases[] = {
        { "abcd", "abcd", false, {}, {} },
        { "abcd", "aBcd", false, {}, { 1 } },
        { "abcd", "ABcD", false, {}, { 0, 1, 3 } },
        { "abcd", "Dabc", false, Move { 3, 0 }, { 0 } }, // a new message lifts the last one to the top
        { "abcd", "aCbd", false, Move { 2, 1 }, { 1 } },
        { "abcd", "bcda", false, Move { 0, 3 }, {} }, // moved down, unchanged
        { "abcd", "bAcd", false, Move { 1, 0 }, { 1 } }, // a swap of neighbours is one move
        { "abcd", "badc", true, {}, {} }, // two moves
        { "abcd", "abc", true, {}, {} },
        { "", "a", true, {}, {} },
        { "", "", false, {}, {} },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.before) + " -> " + c.after);
        const auto change
            = ConversationListChange::between(list(QString::fromLatin1(c.before)), list(QString::fromLatin1(c.after)));
        EXPECT_EQ(change.reset, c.reset);
        ASSERT_EQ(change.move.has_value(), c.move.has_value());
        if (c.move) {
            EXPECT_EQ(change.move->from, c.move->from);
            EXPECT_EQ(change.move->to, c.move->to);
        }
        if (!c.reset) {
            EXPECT_EQ(change.changedRows, c.changed);
        }
    }
}
