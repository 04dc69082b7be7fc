#include "driftbottle/ConversationListChange.h"

bool sameContent(const Conversation& a, const Conversation& b)
{
    return a.bottleId == b.bottleId && a.lastMessageTime == b.lastMessageTime && a.lastMessage == b.lastMessage
        && a.otherUserId == b.otherUserId && a.otherUserName == b.otherUserName && a.otherUserEmoji == b.otherUserEmoji
        && a.conversationType == b.conversationType && a.status == b.status && a.hasReply == b.hasReply
        && a.unreadCount == b.unreadCount;
}

bool sameContent(const ChatMessage& a, const ChatMessage& b)
{
    return a.id == b.id && a.content == b.content && a.senderId == b.senderId && a.senderName == b.senderName
        && a.senderEmoji == b.senderEmoji && a.createdAt == b.createdAt && a.isFromMe == b.isFromMe;
}

namespace {

/// Where `after` holds `before` with one element taken out and put back elsewhere.
std::optional<ConversationListChange::Move> singleMove(
    const QList<Conversation>& before, const QList<Conversation>& after)
{
    const qsizetype n = before.size();
    qsizetype first = 0;
    while (first < n && before[first].bottleId == after[first].bottleId)
        ++first;
    if (first == n)
        return std::nullopt;
    qsizetype last = n - 1;
    while (last > first && before[last].bottleId == after[last].bottleId)
        --last;
    // Within [first, last] the window is rotated by one place, one way or the other.
    const auto rotatedBy = [&](qsizetype shiftBefore, qsizetype shiftAfter) {
        for (qsizetype i = first; i + 1 <= last; ++i) {
            if (before[i + shiftBefore].bottleId != after[i + shiftAfter].bottleId)
                return false;
        }
        return true;
    };
    if (before[last].bottleId == after[first].bottleId && rotatedBy(0, 1))
        return ConversationListChange::Move { last, first }; // moved up
    if (before[first].bottleId == after[last].bottleId && rotatedBy(1, 0))
        return ConversationListChange::Move { first, last }; // moved down
    return std::nullopt;
}

} // namespace

ConversationListChange ConversationListChange::between(
    const QList<Conversation>& before, const QList<Conversation>& after)
{
    ConversationListChange change;
    if (before.size() != after.size()) {
        change.reset = true;
        return change;
    }
    bool sameOrder = true;
    for (qsizetype i = 0; i < before.size() && sameOrder; ++i)
        sameOrder = before[i].bottleId == after[i].bottleId;
    if (!sameOrder) {
        change.move = singleMove(before, after);
        if (!change.move) {
            change.reset = true;
            return change;
        }
    }
    // The old row of each new row, following the move when there is one.
    const auto oldRow = [&](qsizetype row) -> qsizetype {
        if (!change.move)
            return row;
        const auto [from, to] = *change.move;
        if (row == to)
            return from;
        if (from < to && row >= from && row < to)
            return row + 1;
        if (to < from && row > to && row <= from)
            return row - 1;
        return row;
    };
    for (qsizetype row = 0; row < after.size(); ++row) {
        if (!sameContent(before[oldRow(row)], after[row]))
            change.changedRows.append(row);
    }
    return change;
}
