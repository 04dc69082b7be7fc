#pragma once

#include "platform/Lazy.h"
#include "server/APIClient.h"
#include "server/FriendModels.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

#include <QCoroTask>

#include <optional>

class Defaults;

/// The signed-in user's friends: the list as the server sends it, the user's own friend
/// code, adding by someone else's code, deleting, and the pinned friends that the pet's
/// menu lists at its top level. Only the pins are stored; the rest is fetched after each start.
class FriendManager final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FriendManager)

public:
    /// Friendship ids (not user ids) of the pinned friends, an array of integers.
    static const QString pinnedFriendsKey;

    /// @p signedInUser tells who is signed in without making the server client; left empty, the
    /// client is asked, as a manager built on a client that exists already does.
    FriendManager(Lazy<APIClient> client, Defaults& defaults, APIClient::UserIdSource signedInUser = {},
        QObject* parent = nullptr);

    [[nodiscard]] const QList<Friend>& friends() const { return m_friends; }
    [[nodiscard]] bool isLoading() const { return m_isLoading; }
    [[nodiscard]] const std::optional<QString>& currentVerificationCode() const { return m_currentVerificationCode; }
    [[nodiscard]] const QSet<qint64>& pinnedFriendIds() const { return m_pinnedFriendIds; }

    /// Pins the friendship `friendId` or unpins it, and stores the pins at once.
    void togglePinFriend(qint64 friendId);
    /// The listed friends that are pinned, newest friendship first; equal dates keep list order.
    [[nodiscard]] QList<Friend> getPinnedFriends() const;
    [[nodiscard]] bool isPinned(qint64 friendId) const { return m_pinnedFriendIds.contains(friendId); }
    /// Whether the user with this user id is in the list.
    [[nodiscard]] bool isFriend(qint64 userId) const;
    /// The listed friend with this friendship id.
    [[nodiscard]] std::optional<Friend> getFriend(qint64 friendId) const;

    /// A new code from the server; errors are passed on and the old code stays.
    QCoro::Task<QString> generateVerificationCode();
    /// The user's current code, or none; failures are only logged.
    QCoro::Task<> fetchCurrentCode();
    /// Adds the owner of `code`. A friend already listed is returned and the list stays as it was.
    QCoro::Task<Friend> addFriend(QString code);
    /// Replaces the list with the server's; a failure is logged and keeps the old list.
    QCoro::Task<> fetchFriendList();
    /// Reloads the list; the same as fetchFriendList().
    QCoro::Task<> refreshFriendList() { return fetchFriendList(); }
    /// Deletes the friendship on the server, then from the list; the pins are left alone.
    QCoro::Task<> deleteFriend(Friend friendRecord);

Q_SIGNALS:
    void friendsChanged();
    void isLoadingChanged(bool loading);
    void currentVerificationCodeChanged();
    void pinnedFriendIdsChanged();

private:
    [[nodiscard]] std::optional<qint64> signedInUser() const;
    void requireUser() const;
    void loadPinnedFriends();
    void savePinnedFriends();
    void setFriends(QList<Friend> friends);
    void setLoading(bool loading);
    void setCode(std::optional<QString> code);

    Lazy<APIClient> m_client;
    APIClient::UserIdSource m_signedInUser;
    Defaults& m_defaults;
    QList<Friend> m_friends;
    bool m_isLoading = false;
    std::optional<QString> m_currentVerificationCode;
    QSet<qint64> m_pinnedFriendIds;
};
