#pragma once

#include "server/DriftBottleModels.h"
#include "widgets/KeyedListModel.h"

#include <QList>

#include <optional>

class Clock;
class ConversationManager;

/// The conversation list as rows for a list view. It follows the manager row by row, by
/// bottle id; the highlighted row follows the manager's selection.
class ConversationListModel final : public KeyedListModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ConversationListModel)

public:
    enum Role {
        NameRole = Qt::UserRole + 1,
        AvatarRole,
        TimeTextRole,
        LastMessageRole,
        HasReplyRole,
        SelectedRole,
        BottleIdRole,
    };

    ConversationListModel(ConversationManager& manager, const Clock& clock, QObject* parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] const Conversation& conversationAt(int row) const { return m_rows.at(row); }
    /// The row of `bottleId`, or -1.
    [[nodiscard]] int rowOf(const QString& bottleId) const;

    /// The other user's name; a bottle nobody answered yet is still waiting when it is ours.
    [[nodiscard]] static QString displayName(const Conversation& conversation);
    /// The other user's emoji; an empty one stays empty.
    [[nodiscard]] static QString avatar(const Conversation& conversation);
    /// "HH:mm" today, "昨天" yesterday, "MM-dd" any other day (also a future one), in local time.
    [[nodiscard]] static QString formatTime(const QDateTime& time, const QDateTime& now);

private:
    void follow();
    void followSelection();
    void rowChanged(int row);

    ConversationManager& m_manager;
    const Clock& m_clock;
    QList<Conversation> m_rows;
    std::optional<QString> m_selectedId;
};
