#pragma once

#include "platform/TimerSource.h"

#include <QObject>

#include <memory>

class FriendManager;
class FriendMessageManager;
class UserManager;

/// Starts and stops the friend features with the account: at launch with a stored user and
/// after each sign-in it loads the friend list and opens the message connection a moment
/// later; signing out closes the connection. The list itself stays until the next load.
class FriendSession final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FriendSession)

public:
    /// The connection opens this long after the launch-time list load starts...
    static constexpr int launchConnectDelayMs = 2000;
    /// ...and this long after a sign-in.
    static constexpr int signInConnectDelayMs = 1000;

    FriendSession(FriendManager& friends, FriendMessageManager& messages, UserManager& users, TimerSource& timers,
        QObject* parent = nullptr);
    ~FriendSession() override;

    /// The launch step: does nothing without a stored user. The list's fetch starts on the
    /// next turn of the event loop, after the caller's own work; the connection's delay counts
    /// from this call.
    void startAtLaunch();

private:
    void onSignedIn();
    void onSignedOut();

    FriendManager& m_friends;
    FriendMessageManager& m_messages;
    UserManager& m_users;
    TimerSource& m_timers;
    std::unique_ptr<TimerSource::Timer> m_pendingConnect;
};
