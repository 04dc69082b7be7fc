#pragma once

#include "platform/Lazy.h"
#include "server/DriftUser.h"

#include <QObject>
#include <QString>

#include <QCoroTask>

#include <optional>

class APIClient;
class Defaults;

/// The account: stand-alone or online mode, the signed-in user and the sign-in flag, kept
/// across launches under "UserMode", "CurrentUser" and "IsLoggedIn". A stored user stays
/// signed in until logout(); there is no token and no expiry.
class UserManager final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(UserManager)

public:
    static const QString userModeKey;
    static const QString currentUserKey;
    static const QString isLoggedInKey;

    /// The server client is only made when a sign-in or a profile change first needs it.
    UserManager(Defaults& defaults, Lazy<APIClient> client, QObject* parent = nullptr);

    [[nodiscard]] UserMode userMode() const { return m_userMode; }
    [[nodiscard]] const std::optional<DriftUser>& currentUser() const { return m_currentUser; }
    [[nodiscard]] bool isLoggedIn() const { return m_isLoggedIn; }
    /// Online mode with the sign-in flag set (a user record may still be missing).
    [[nodiscard]] bool isOnlineMode() const { return m_userMode == UserMode::online && m_isLoggedIn; }

    /// Stores the mode; offline also clears the sign-in flag but keeps the user.
    void setUserMode(UserMode mode);
    /// Signs in through the server, which creates the account on first use. Needs online
    /// mode, else throws APIError offlineMode; server failures are rethrown unchanged.
    QCoro::Task<> loginOnline(QString email, QString nickname, QString avatarEmoji, QString password);
    /// Forgets the user and the flag; the mode stays.
    void logout();
    /// Sends a profile change and takes the server's record as a whole. Needs online mode
    /// and a user, else throws APIError offlineMode.
    QCoro::Task<> updateUserInfo(
        std::optional<QString> nickname, std::optional<QString> avatarEmoji, std::optional<QString> bio);

Q_SIGNALS:
    // Emitted on every assignment, as observers of the account expect.
    void userModeChanged(UserMode mode);
    void currentUserChanged();
    void isLoggedInChanged(bool loggedIn);

    /// After a sign-in, a sign-out and a profile change, once the state is final: the
    /// status menu rebuilds itself and its icon.
    void accountChanged();
    /// After a successful sign-in (after accountChanged): the friend features start.
    void signedIn();
    /// During logout, before accountChanged: the friend features stop.
    void signedOut();

private:
    void loadUserSettings();
    void saveCurrentUser(const DriftUser& user);
    void setCurrentUser(std::optional<DriftUser> user);
    void setLoggedIn(bool loggedIn);

    Defaults& m_userDefaults;
    Lazy<APIClient> m_client;
    UserMode m_userMode = UserMode::offline;
    std::optional<DriftUser> m_currentUser;
    bool m_isLoggedIn = false;
};
