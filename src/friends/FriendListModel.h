#pragma once

#include "server/FriendModels.h"
#include "widgets/KeyedListModel.h"

#include <QList>

class FriendManager;

/// The friend list of FriendManager as rows, in the manager's order, with each friend's pin,
/// following the manager row by row by friend id.
class FriendListModel final : public KeyedListModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FriendListModel)

public:
    enum Role {
        FriendIdRole = Qt::UserRole + 1,
        NicknameRole,
        AvatarRole,
        FriendSinceRole,
        PinnedRole,
    };

    explicit FriendListModel(FriendManager& friends, QObject* parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] const Friend& friendAt(int row) const { return m_rows.at(row); }

private:
    void sync();
    void pinsChanged();

    FriendManager& m_friends;
    QList<Friend> m_rows;
};
