#include "friends/FriendListModel.h"

#include "friends/FriendManager.h"

FriendListModel::FriendListModel(FriendManager& friends, QObject* parent)
    : KeyedListModel(parent)
    , m_friends(friends)
    , m_rows(friends.friends())
{
    connect(&m_friends, &FriendManager::friendsChanged, this, &FriendListModel::sync);
    connect(&m_friends, &FriendManager::pinnedFriendIdsChanged, this, &FriendListModel::pinsChanged);
}

int FriendListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

QVariant FriendListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const Friend& f = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case NicknameRole:
        return f.nickname;
    case FriendIdRole:
        return f.id;
    case AvatarRole:
        return f.avatarEmoji;
    case FriendSinceRole:
        return f.friendSince;
    case PinnedRole:
        return m_friends.pinnedFriendIds().contains(f.id);
    default:
        return {};
    }
}

void FriendListModel::sync()
{
    // Friends compare by id alone, so every kept row is announced: its name or avatar may be new.
    syncRows(
        m_rows, m_friends.friends(), [](const Friend& f) { return f.id; },
        [](const Friend&, const Friend&) { return false; });
}

void FriendListModel::pinsChanged()
{
    if (!m_rows.isEmpty())
        Q_EMIT dataChanged(index(0), index(static_cast<int>(m_rows.size() - 1)), { PinnedRole });
}
