#include "driftbottle/ChatMessageModel.h"

#include "driftbottle/ConversationManager.h"
#include "driftbottle/SameContent.h"

ChatMessageModel::ChatMessageModel(ConversationManager& manager, QObject* parent)
    : KeyedListModel(parent)
    , m_manager(manager)
    , m_rows(manager.chatMessages())
{
    connect(&manager, &ConversationManager::chatMessagesChanged, this, &ChatMessageModel::follow);
}

int ChatMessageModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

QVariant ChatMessageModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_rows.at(index.row()).content;
    return {};
}

void ChatMessageModel::follow()
{
    syncRows(
        m_rows, m_manager.chatMessages(), [](const ChatMessage& line) { return line.id; },
        [](const ChatMessage& a, const ChatMessage& b) { return sameContent(a, b); });
}
