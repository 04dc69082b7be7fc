#include "driftbottle/ConversationListModel.h"

#include "driftbottle/ConversationManager.h"
#include "driftbottle/SameContent.h"
#include "platform/Clock.h"

using namespace Qt::StringLiterals;

ConversationListModel::ConversationListModel(ConversationManager& manager, const Clock& clock, QObject* parent)
    : KeyedListModel(parent)
    , m_manager(manager)
    , m_clock(clock)
    , m_rows(manager.conversations())
{
    if (manager.currentConversation())
        m_selectedId = manager.currentConversation()->bottleId;
    connect(&manager, &ConversationManager::conversationsChanged, this, &ConversationListModel::follow);
    connect(&manager, &ConversationManager::currentConversationChanged, this, &ConversationListModel::followSelection);
}

int ConversationListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

QVariant ConversationListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const Conversation& c = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case NameRole:
        return displayName(c);
    case AvatarRole:
        return avatar(c);
    case TimeTextRole:
        return formatTime(c.lastMessageTime, m_clock.now());
    case LastMessageRole:
        return c.lastMessage;
    case HasReplyRole:
        return c.hasReply;
    case SelectedRole:
        return m_selectedId && *m_selectedId == c.bottleId;
    case BottleIdRole:
        return c.bottleId;
    default:
        return {};
    }
}

int ConversationListModel::rowOf(const QString& bottleId) const
{
    for (int row = 0; row < m_rows.size(); ++row) {
        if (m_rows.at(row).bottleId == bottleId)
            return row;
    }
    return -1;
}

QString ConversationListModel::displayName(const Conversation& conversation)
{
    if (conversation.otherUserName && !conversation.otherUserName->isEmpty())
        return *conversation.otherUserName;
    return conversation.conversationType == ConversationType::sent ? u"等待捡起..."_s : u"未知用户"_s;
}

QString ConversationListModel::avatar(const Conversation& conversation)
{
    return conversation.otherUserEmoji.value_or(u"🐱"_s);
}

QString ConversationListModel::formatTime(const QDateTime& time, const QDateTime& now)
{
    const QDate day = time.toLocalTime().date();
    const QDate today = now.toLocalTime().date();
    if (day == today)
        return time.toLocalTime().toString(u"HH:mm"_s);
    if (day == today.addDays(-1))
        return u"昨天"_s;
    return time.toLocalTime().toString(u"MM-dd"_s);
}

void ConversationListModel::follow()
{
    syncRows(
        m_rows, m_manager.conversations(), [](const Conversation& c) { return c.bottleId; },
        [](const Conversation& a, const Conversation& b) { return sameContent(a, b); });
}

void ConversationListModel::followSelection()
{
    const std::optional<Conversation>& current = m_manager.currentConversation();
    const std::optional<QString> selected = current ? std::optional<QString>(current->bottleId) : std::nullopt;
    if (selected == m_selectedId)
        return;
    const std::optional<QString> previous = std::exchange(m_selectedId, selected);
    if (previous)
        rowChanged(rowOf(*previous));
    if (selected)
        rowChanged(rowOf(*selected));
}

void ConversationListModel::rowChanged(int row)
{
    if (row >= 0 && row < m_rows.size())
        Q_EMIT dataChanged(index(row), index(row));
}
