#include "friends/FriendListModel.h"

#include "friends/FriendManager.h"

FriendListModel::FriendListModel(FriendManager& friends, QObject* parent)
    : QAbstractListModel(parent)
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
    const QList<Friend>& target = m_friends.friends();
    const auto indexOf = [this](qint64 id, qsizetype from) {
        for (qsizetype j = from; j < m_rows.size(); ++j) {
            if (m_rows.at(j).id == id)
                return j;
        }
        return qsizetype(-1);
    };
    qsizetype i = 0;
    while (i < target.size()) {
        const Friend& wanted = target.at(i);
        if (i < m_rows.size() && m_rows.at(i).id == wanted.id) {
            m_rows[i] = wanted;
            const QModelIndex changed = index(static_cast<int>(i));
            Q_EMIT dataChanged(changed, changed);
            ++i;
            continue;
        }
        const qsizetype found = indexOf(wanted.id, i + 1);
        if (found >= 0) {
            // The rows before the wanted friend are gone from the list.
            beginRemoveRows({}, static_cast<int>(i), static_cast<int>(found - 1));
            m_rows.remove(i, found - i);
            endRemoveRows();
            continue;
        }
        beginInsertRows({}, static_cast<int>(i), static_cast<int>(i));
        m_rows.insert(i, wanted);
        endInsertRows();
        ++i;
    }
    if (m_rows.size() > target.size()) {
        beginRemoveRows({}, static_cast<int>(target.size()), static_cast<int>(m_rows.size() - 1));
        m_rows.resize(target.size());
        endRemoveRows();
    }
}

void FriendListModel::pinsChanged()
{
    if (!m_rows.isEmpty())
        Q_EMIT dataChanged(index(0), index(static_cast<int>(m_rows.size() - 1)), { PinnedRole });
}
