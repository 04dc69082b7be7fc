#pragma once

#include "server/DriftBottleModels.h"

#include <QAbstractListModel>
#include <QList>

class ConversationManager;

/// The selected conversation's lines as rows. New replies at the end are inserted as rows,
/// so the bubbles already laid out stay; anything else rebuilds the list.
class ChatMessageModel final : public QAbstractListModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChatMessageModel)

public:
    explicit ChatMessageModel(ConversationManager& manager, QObject* parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] const ChatMessage& messageAt(int row) const { return m_rows.at(row); }

private:
    void follow();

    ConversationManager& m_manager;
    QList<ChatMessage> m_rows;
};
