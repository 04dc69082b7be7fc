#include "support/FakeMessageSocket.h"

#include "support/FakeCompanionState.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QWebSocket>
#include <QWebSocketServer>

#include <cstdio>

using namespace Qt::StringLiterals;

FakeMessageSocket::FakeMessageSocket(FakeCompanionState& state, QObject* parent)
    : QObject(parent)
    , m_state(state)
    , m_server(new QWebSocketServer(u"fake-companion"_s, QWebSocketServer::NonSecureMode, this))
{
    connect(m_server, &QWebSocketServer::newConnection, this, &FakeMessageSocket::onNewConnection);
}

FakeMessageSocket::~FakeMessageSocket() = default;

bool FakeMessageSocket::start(const QHostAddress& address, quint16 port)
{
    m_address = address;
    if (!m_server->listen(address, port))
        return false;
    m_port = m_server->serverPort();
    return true;
}

void FakeMessageSocket::stop()
{
    m_server->close();
    dropAll();
}

bool FakeMessageSocket::restart()
{
    return m_server->listen(m_address, m_port);
}

QString FakeMessageSocket::url() const
{
    return u"ws://127.0.0.1:"_s + QString::number(m_port) + u"/ws"_s;
}

QStringList FakeMessageSocket::receivedTypes() const
{
    QStringList types;
    for (const Frame& f : m_received)
        types.append(f.json.value(u"type"_s).toString());
    return types;
}

void FakeMessageSocket::onNewConnection()
{
    while (QWebSocket* socket = m_server->nextPendingConnection()) {
        socket->setParent(this);
        if (socket->requestUrl().path() != u"/ws"_s) {
            socket->close(QWebSocketProtocol::CloseCodePolicyViolated);
            socket->deleteLater();
            continue;
        }
        m_clients.append(Client { socket, ++m_accepted, 0, {} });
        echo(u"socket #"_s + QString::number(m_accepted) + u" open"_s);
        connect(socket, &QWebSocket::textMessageReceived, this,
            [this, socket](const QString& text) { onText(socket, text); });
        connect(socket, &QWebSocket::disconnected, this, [this, socket] {
            const Client* client = find(socket);
            if (!client)
                return;
            echo(u"socket #"_s + QString::number(client->number) + u" closed, code "_s
                + QString::number(socket->closeCode()));
            m_closeCodes.append(socket->closeCode());
            m_clients.removeIf([socket](const Client& c) { return c.socket == socket; });
            socket->deleteLater();
        });
    }
}

FakeMessageSocket::Client* FakeMessageSocket::find(QWebSocket* socket)
{
    for (Client& c : m_clients) {
        if (c.socket == socket)
            return &c;
    }
    return nullptr;
}

void FakeMessageSocket::send(QWebSocket* socket, const QJsonObject& frame)
{
    socket->sendTextMessage(QString::fromUtf8(QJsonDocument(frame).toJson(QJsonDocument::Compact)));
}

void FakeMessageSocket::onText(QWebSocket* socket, const QString& text)
{
    Client* client = find(socket);
    if (!client)
        return;
    const QJsonObject json = QJsonDocument::fromJson(text.toUtf8()).object();
    m_received.append(Frame { client->number, json, text });
    echo(u"socket #"_s + QString::number(client->number) + u" <- "_s + text);
    const QString type = json.value(u"type"_s).toString();
    if (type == u"auth"_s) {
        const QString token = json.value(u"token"_s).toString();
        const QString prefix = QString::fromLatin1(tokenPrefix);
        bool ok = false;
        const qint64 userId = token.startsWith(prefix) ? token.mid(prefix.size()).toLongLong(&ok) : 0;
        if (refuseAuth || !ok || userId <= 0) {
            send(socket, { { u"type"_s, u"auth_error"_s }, { u"message"_s, u"认证失败"_s } });
            return;
        }
        client->userId = userId;
        send(socket, { { u"type"_s, u"auth_success"_s }, { u"userId"_s, userId } });
        deliverTo(*client, true);
    } else if (type == u"ping"_s) {
        if (!withholdPongs)
            send(socket, { { u"type"_s, u"pong"_s } });
    } else if (type == u"delivered"_s) {
        for (const QJsonValue& id : json.value(u"messageIds"_s).toArray())
            m_state.markDelivered(id.toInteger());
    }
}

void FakeMessageSocket::dropAll()
{
    const QList<Client> clients = m_clients;
    m_clients.clear();
    for (const Client& c : clients) {
        c.socket->abort();
        c.socket->deleteLater();
    }
}

void FakeMessageSocket::pushFriendMessage(const QJsonObject& data)
{
    for (const Client& c : std::as_const(m_clients)) {
        if (c.userId != 0)
            send(c.socket, { { u"type"_s, u"friend_message"_s }, { u"data"_s, data } });
    }
}

void FakeMessageSocket::pushText(const QString& text)
{
    for (const Client& c : std::as_const(m_clients))
        c.socket->sendTextMessage(text);
}

void FakeMessageSocket::pushBinary(const QByteArray& bytes)
{
    for (const Client& c : std::as_const(m_clients))
        c.socket->sendBinaryMessage(bytes);
}

void FakeMessageSocket::deliverPending()
{
    for (Client& c : m_clients) {
        if (c.userId != 0)
            deliverTo(c, false);
    }
}

void FakeMessageSocket::deliverTo(Client& client, bool offline)
{
    for (const FakeCompanionState::Message& m : m_state.messages()) {
        if (m.receiverId != client.userId || m.delivered || client.pushed.contains(m.id))
            continue;
        client.pushed.insert(m.id);
        send(client.socket, { { u"type"_s, u"friend_message"_s }, { u"data"_s, m_state.messageJson(m, offline) } });
    }
}

void FakeMessageSocket::echo(const QString& line) const
{
    if (!m_echo)
        return;
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}
