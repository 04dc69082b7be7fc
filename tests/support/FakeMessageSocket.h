#pragma once

#include <QHostAddress>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

class FakeCompanionState;
class QWebSocket;
class QWebSocketServer;

/// The companion server's friend-message socket at "/ws": authenticates "auth" frames,
/// answers pings, records acknowledgements and pushes the stored messages of the
/// authenticated user. Tests can make it refuse authentication, withhold pongs, drop
/// every connection, stop and start again on the same port, and push any frame.
class FakeMessageSocket final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FakeMessageSocket)

public:
    /// The token the server accepts: this prefix, then the user id.
    static constexpr char tokenPrefix[] = "tamsel-uid-";

    /// One text frame a client sent.
    struct Frame
    {
        int connection = 0; ///< 1 for the first connection accepted, 2 for the next, ...
        QJsonObject json;
        QString text;
    };

    explicit FakeMessageSocket(FakeCompanionState& state, QObject* parent = nullptr);
    ~FakeMessageSocket() override;

    /// Listens on `address`; port 0 lets the system choose. Returns false on failure.
    bool start(const QHostAddress& address = QHostAddress::LocalHost, quint16 port = 0);
    /// Stops listening and aborts every connection, as a server that goes down.
    void stop();
    /// Listens again on the port it had.
    bool restart();
    [[nodiscard]] quint16 port() const { return m_port; }
    /// "ws://127.0.0.1:<port>/ws".
    [[nodiscard]] QString url() const;

    bool refuseAuth = false;
    bool withholdPongs = false;

    /// Aborts every open connection without a closing handshake.
    void dropAll();
    /// Sends a "friend_message" with this data to every authenticated connection.
    void pushFriendMessage(const QJsonObject& data);
    /// Sends any text frame to every open connection.
    void pushText(const QString& text);
    void pushBinary(const QByteArray& bytes);
    /// Pushes every stored message not yet acknowledged to its receiver's connections.
    void deliverPending();

    [[nodiscard]] const QList<Frame>& received() const { return m_received; }
    /// The types of the frames received, in order ("auth", "ping", ...).
    [[nodiscard]] QStringList receivedTypes() const;
    [[nodiscard]] int connectionsAccepted() const { return m_accepted; }
    [[nodiscard]] int openConnections() const { return static_cast<int>(m_clients.size()); }
    /// Close codes of the connections that the client closed, in order.
    [[nodiscard]] const QList<int>& closeCodes() const { return m_closeCodes; }

    void setEcho(bool echo) { m_echo = echo; }

private:
    struct Client
    {
        QWebSocket* socket = nullptr;
        int number = 0;
        qint64 userId = 0; ///< 0 until authenticated
        QSet<qint64> pushed;
    };

    void onNewConnection();
    void onText(QWebSocket* socket, const QString& text);
    Client* find(QWebSocket* socket);
    void send(QWebSocket* socket, const QJsonObject& frame);
    void deliverTo(Client& client, bool offline);
    void echo(const QString& line) const;

    FakeCompanionState& m_state;
    QWebSocketServer* m_server;
    QHostAddress m_address;
    quint16 m_port = 0;
    QList<Client> m_clients;
    QList<Frame> m_received;
    QList<int> m_closeCodes;
    int m_accepted = 0;
    bool m_echo = false;
};
