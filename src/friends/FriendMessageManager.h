#pragma once

#include "platform/Lazy.h"
#include "platform/TimerSource.h"
#include "server/FriendModels.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

#include <QCoroTask>

#include <deque>
#include <functional>
#include <memory>
#include <optional>

class APIClient;
class QWebSocket;
class UserManager;

/// The live connection for friend messages: one WebSocket while a user is signed in. It
/// authenticates, pings every 30 s, counts every friend message the server pushes and
/// hands each to the installed callback; when the socket fails it reconnects after 2, 4,
/// 8, 16 and 30 s and then gives up. Messages are sent over HTTP.
///
/// A message is acknowledged as delivered only when its receiver says the user can see it
/// (confirmDelivered()); one refused or never shown is sent again by the server at the next
/// connection, and shown once. When the signed-in user changes, what still waits for the
/// one before is dropped unacknowledged: the server gives it to them at their next connection.
class FriendMessageManager final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FriendMessageManager)

public:
    /// Returns whether it took the message; one it refuses is neither counted nor acknowledged.
    using MessageCallback = std::function<bool(const FriendMessage&)>;
    /// The socket address to open; empty when there is none.
    using AddressSource = std::function<QString()>;

    static constexpr int pingIntervalMs = 30000;
    static constexpr int maxReconnectAttempts = 5;
    /// Larger messages close the socket (and a reconnect follows). Below it, a friend message
    /// of any size is read, cut and acknowledged; other frames too large for the contract
    /// are ignored without losing the connection.
    static constexpr qint64 maxIncomingMessageBytes = 16 * 1024 * 1024;
    /// Messages held while nobody has installed the callback yet. Beyond either bound they
    /// are refused, so the server keeps them.
    static constexpr qsizetype maxQueuedMessages = 200;
    static constexpr qsizetype maxQueuedBytes = 4 * 1024 * 1024;

    /// Opens the socket at the address derived from the client's base address.
    FriendMessageManager(Lazy<APIClient> client, UserManager& users, TimerSource& timers, QObject* parent = nullptr);
    /// Opens the socket at whatever `address` says (a test server's port).
    FriendMessageManager(Lazy<APIClient> client, UserManager& users, TimerSource& timers, AddressSource address,
        QObject* parent = nullptr);
    ~FriendMessageManager() override;

    /// "ws://localhost:3000/ws" when the base address mentions localhost, else port 3005 of
    /// its host; empty when the base address names no host.
    [[nodiscard]] static QString socketAddress(const QString& baseURL);

    [[nodiscard]] bool isConnected() const { return m_isConnected; }
    [[nodiscard]] int unreadCount() const { return m_unreadCount; }
    [[nodiscard]] int reconnectAttempts() const { return m_reconnectAttempts; }

    /// Opens (or reopens) the socket for the signed-in user; does nothing without one.
    void connect();
    /// Closes the socket with "going away" and stops the ping and any reconnection.
    void disconnect();

    /// Installs the receiver of friend messages and hands it, in order, those that arrived before.
    void setOnMessageReceived(MessageCallback callback);
    [[nodiscard]] bool hasMessageCallback() const { return static_cast<bool>(m_onMessageReceived); }
    /// The receiver has put a message it took in front of the user: the server hears it was delivered.
    void confirmDelivered(qint64 messageId);
    /// About what holding `message` costs in memory, to bound what waits.
    [[nodiscard]] static qsizetype footprint(const FriendMessage& message);

    /// Sends a direct message to the user `receiverId` over HTTP; errors are passed on.
    QCoro::Task<> sendMessage(qint64 receiverId, QString content);

Q_SIGNALS:
    void isConnectedChanged(bool connected);
    void unreadCountChanged(int count);
    /// The server accepted the authentication: the message bubbles install their callback.
    void authenticated();
    /// The signed-in user changed (signed out, or another account): everything of the one
    /// before that still waited has been dropped, and their bubbles close.
    void userChanged();

private:
    void open(bool fromReconnectTimer);
    void onCurrentUserChanged();
    void closeSocket();
    void onSocketConnected(QWebSocket* socket);
    /// Authenticates the current socket as `userId`, once it has opened.
    void sendAuth(qint64 userId);
    void receiveMessage(QWebSocket* socket);
    void onSocketFailed(QWebSocket* socket, const QString& description);
    void handleReceivedMessage(QWebSocket* socket, const QByteArray& utf8);
    void receiveFriendMessage(const FriendMessage& message);
    void sendDeliveredAck(const QList<qint64>& messageIds);
    void startPingTimer();
    void sendPing();
    void attemptReconnect();
    void resetAttemptsIfHealthy();
    void setConnected(bool connected);
    [[nodiscard]] bool take(const FriendMessage& message);
    void rememberHandedOver(qint64 messageId);
    void forget(qint64 messageId);

    Lazy<APIClient> m_client;
    UserManager& m_users;
    TimerSource& m_timers;
    AddressSource m_address;
    /// Whose messages wait here.
    std::optional<qint64> m_owner;

    bool m_isConnected = false;
    int m_unreadCount = 0;
    QWebSocket* m_socket = nullptr;
    qint64 m_socketUserId = 0;
    bool m_socketFailed = false;
    /// The current socket finished its opening handshake.
    bool m_socketOpened = false;
    bool m_sawAuthSuccess = false;
    bool m_sawPong = false;
    std::unique_ptr<TimerSource::Timer> m_pingTimer;
    std::unique_ptr<TimerSource::Timer> m_reconnectTimer;
    bool m_shouldReconnect = true;
    int m_reconnectAttempts = 0;
    MessageCallback m_onMessageReceived;
    QList<FriendMessage> m_queued;
    qsizetype m_queuedBytes = 0;
    /// Ids already handed over, so a message the server sends again shows once.
    QSet<qint64> m_deliveredIds;
    std::deque<qint64> m_deliveredOrder;
    /// Handed over or queued, but not yet in front of the user: not acknowledged yet.
    QSet<qint64> m_unconfirmedIds;
};
