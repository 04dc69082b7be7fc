#include "driftbottle/ChatMessageModel.h"

#include "driftbottle/ConversationListChange.h"
#include "driftbottle/ConversationManager.h"

ChatMessageModel::ChatMessageModel(ConversationManager& manager, QObject* parent)
    : QAbstractListModel(parent)
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
    const QList<ChatMessage>& after = m_manager.chatMessages();
    const qsizetype before = m_rows.size();
    bool samePrefix = after.size() >= before;
    for (qsizetype i = 0; samePrefix && i < before; ++i)
        samePrefix = sameContent(m_rows.at(i), after.at(i));
    if (!samePrefix) {
        beginResetModel();
        m_rows = after;
        endResetModel();
        return;
    }
    if (after.size() == before)
        return;
    beginInsertRows({}, static_cast<int>(before), static_cast<int>(after.size() - 1));
    m_rows = after;
    endInsertRows();
}
