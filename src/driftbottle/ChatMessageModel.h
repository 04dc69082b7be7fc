#pragma once

#include "server/DriftBottleModels.h"
#include "widgets/KeyedListModel.h"

#include <QList>

class ConversationManager;

/// The selected conversation's lines as rows, following the manager row by row by line id,
/// so new replies are inserted and the bubbles already laid out stay.
class ChatMessageModel final : public KeyedListModel
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
