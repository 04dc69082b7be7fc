#include "friends/FriendMessageManager.h"

#include "friends/FriendSocketFrames.h"
#include "platform/LogManager.h"
#include "server/APIClient.h"
#include "server/APIError.h"
#include "server/UserManager.h"

#include <QStringDecoder>
#include <QTimer>
#include <QUrl>
#include <QWebSocket>

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

/// How long a closed socket may take to finish its closing handshake before it is freed.
constexpr int closeGraceMs = 5000;
/// Ids remembered to spot a message the server sends again.
constexpr std::size_t rememberedIds = 1000;

void log(const QString& message)
{
    LogManager::log(message, u"Friend"_s);
}

/// What went wrong on `socket`. One refused before it opened (an upgrade answered with an
/// HTTP error) reports its disconnection first, with no error code set yet: its reason is only
/// in the error text, and its close code means nothing.
QString failureText(const QWebSocket& socket, bool opened)
{
    if (socket.error() != QAbstractSocket::UnknownSocketError)
        return socket.errorString();
    if (!opened)
        return u"连接被拒绝: "_s + socket.errorString();
    return u"连接已关闭 (code "_s + QString::number(socket.closeCode()) + u")"_s;
}

} // namespace

FriendMessageManager::FriendMessageManager(
    Lazy<APIClient> client, UserManager& users, TimerSource& timers, QObject* parent)
    : FriendMessageManager(
        client, users, timers, [client] { return socketAddress(client->baseURL()); }, parent)
{
}

FriendMessageManager::FriendMessageManager(
    Lazy<APIClient> client, UserManager& users, TimerSource& timers, AddressSource address, QObject* parent)
    : QObject(parent)
    , m_client(std::move(client))
    , m_users(users)
    , m_timers(timers)
    , m_address(std::move(address))
{
    log(u"💬 FriendMessageManager 初始化"_s);
    if (m_users.currentUser())
        m_owner = m_users.currentUser()->id;
    QObject::connect(&m_users, &UserManager::currentUserChanged, this, &FriendMessageManager::onCurrentUserChanged);
}

void FriendMessageManager::onCurrentUserChanged()
{
    const std::optional<qint64> owner
        = m_users.currentUser() ? std::optional<qint64>(m_users.currentUser()->id) : std::nullopt;
    if (owner == m_owner)
        return;
    m_owner = owner;
    // Nothing waiting for the user who left may reach the next one. It was never
    // acknowledged, so the server sends it again to its own user at their next connection;
    // forgetting its id lets it show then.
    m_queued.clear();
    m_queuedBytes = 0;
    std::erase_if(m_deliveredOrder, [this](qint64 id) { return m_unconfirmedIds.contains(id); });
    for (const qint64 id : std::as_const(m_unconfirmedIds))
        m_deliveredIds.remove(id);
    m_unconfirmedIds.clear();
    if (m_unreadCount != 0) {
        m_unreadCount = 0;
        Q_EMIT unreadCountChanged(m_unreadCount);
    }
    Q_EMIT userChanged();
}

FriendMessageManager::~FriendMessageManager()
{
    // Freed at quit: the server still hears that we are going away, but only a disconnect
    // someone asks for is logged.
    m_shouldReconnect = false;
    m_pingTimer.reset();
    m_reconnectTimer.reset();
    closeSocket();
}

QString FriendMessageManager::socketAddress(const QString& baseURL)
{
    if (baseURL.contains(u"localhost"_s))
        return u"ws://localhost:3000/ws"_s;
    const QUrl base(baseURL, QUrl::StrictMode);
    if (!base.isValid() || base.host().isEmpty())
        return {};
    QUrl socket;
    socket.setScheme(u"ws"_s);
    socket.setHost(base.host());
    socket.setPort(3005);
    socket.setPath(u"/ws"_s);
    return socket.toString();
}

void FriendMessageManager::connect()
{
    open(false);
}

void FriendMessageManager::open(bool fromReconnectTimer)
{
    const auto& user = m_users.currentUser();
    if (!user) {
        log(u"❌ 无法连接 WebSocket：用户未登录"_s);
        return;
    }
    const qint64 userId = user->id;
    disconnect();
    m_shouldReconnect = true;

    const QString address = m_address();
    const QUrl url(address, QUrl::StrictMode);
    if (address.isEmpty() || !url.isValid() || url.host().isEmpty()) {
        log(u"❌ WebSocket URL 无效"_s);
        return;
    }
    log(u"🔌 开始连接 WebSocket: "_s + address);

    auto* socket = new QWebSocket(QString(), QWebSocketProtocol::VersionLatest, this);
    socket->setMaxAllowedIncomingMessageSize(maxIncomingMessageBytes);
    m_socket = socket;
    m_socketUserId = userId;
    m_socketFailed = false;
    m_socketOpened = false;
    m_sawAuthSuccess = false;
    m_sawPong = false;
    QObject::connect(socket, &QWebSocket::connected, this, [this, socket] { onSocketConnected(socket); });
    receiveMessage(socket);
    startPingTimer();
    setConnected(true);
    if (!fromReconnectTimer)
        m_reconnectAttempts = 0;
    socket->open(url);
}

void FriendMessageManager::receiveMessage(QWebSocket* socket)
{
    // The socket pushes every frame as it comes, so asking for frames is done once, here; each
    // handler checks that its socket is still the current one.
    QObject::connect(socket, &QWebSocket::textMessageReceived, this,
        [this, socket](const QString& text) { handleReceivedMessage(socket, text.toUtf8()); });
    QObject::connect(socket, &QWebSocket::binaryMessageReceived, this, [this, socket](const QByteArray& bytes) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8.decode(bytes);
        if (!utf8.hasError())
            handleReceivedMessage(socket, text.toUtf8());
    });
    QObject::connect(socket, qOverload<QAbstractSocket::SocketError>(&QWebSocket::error), this,
        [this, socket] { onSocketFailed(socket, failureText(*socket, m_socketOpened)); });
    QObject::connect(socket, &QWebSocket::disconnected, this,
        [this, socket] { onSocketFailed(socket, failureText(*socket, m_socketOpened)); });
}

void FriendMessageManager::disconnect()
{
    log(u"🔌 断开 WebSocket 连接"_s);
    m_shouldReconnect = false;
    m_pingTimer.reset();
    m_reconnectTimer.reset();
    closeSocket();
    setConnected(false);
}

void FriendMessageManager::closeSocket()
{
    QWebSocket* socket = std::exchange(m_socket, nullptr);
    if (!socket)
        return;
    QObject::disconnect(socket, nullptr, this, nullptr);
    if (socket->state() != QAbstractSocket::ConnectedState) {
        // Nothing to say goodbye on: a socket still opening, or one that already failed.
        socket->abort();
        socket->deleteLater();
        return;
    }
    // Let the close frame with "going away" reach the server before the socket goes.
    QObject::connect(socket, &QWebSocket::disconnected, socket, &QObject::deleteLater);
    QTimer::singleShot(closeGraceMs, socket, &QObject::deleteLater);
    socket->close(QWebSocketProtocol::CloseCodeGoingAway);
}

void FriendMessageManager::onSocketConnected(QWebSocket* socket)
{
    if (socket != m_socket)
        return;
    // Said only now: a socket that was started may still be refused.
    log(u"✅ WebSocket 连接已建立"_s);
    m_socketOpened = true;
    sendAuth(m_socketUserId);
}

void FriendMessageManager::sendAuth(qint64 userId)
{
    if (!m_socket)
        return;
    const qint64 sent = m_socket->sendTextMessage(QString::fromUtf8(FriendSocketFrames::auth(userId)));
    if (sent > 0)
        log(u"✅ WebSocket 认证信息已发送"_s);
    else
        log(u"❌ WebSocket 认证失败: "_s + failureText(*m_socket, m_socketOpened));
}

void FriendMessageManager::onSocketFailed(QWebSocket* socket, const QString& description)
{
    if (socket != m_socket) {
        log(u"❌ WebSocket 接收消息失败: "_s + description);
        return;
    }
    // A failing socket reports through both its error and its disconnection.
    if (m_socketFailed)
        return;
    m_socketFailed = true;
    log(u"❌ WebSocket 接收消息失败: "_s + description);
    setConnected(false);
    if (m_shouldReconnect)
        attemptReconnect();
}

void FriendMessageManager::handleReceivedMessage(QWebSocket* socket, const QByteArray& utf8)
{
    if (socket != m_socket)
        return;
    using Kind = FriendSocketFrames::Incoming::Kind;
    const FriendSocketFrames::Incoming frame = FriendSocketFrames::decode(utf8);
    if (frame.kind == Kind::dropped)
        return;
    if (frame.kind == Kind::tooLarge) {
        log(u"⚠️ WebSocket 消息过大，已忽略: "_s + QString::number(utf8.size()) + u" 字节"_s);
        return;
    }
    log(u"📨 收到 WebSocket 消息，类型: "_s + frame.type);
    switch (frame.kind) {
    case Kind::authSuccess:
        log(u"✅ WebSocket 认证成功"_s);
        m_sawAuthSuccess = true;
        resetAttemptsIfHealthy();
        Q_EMIT authenticated();
        break;
    case Kind::authError:
        log(u"❌ WebSocket 认证失败"_s);
        break;
    case Kind::pong:
        m_sawPong = true;
        resetAttemptsIfHealthy();
        break;
    case Kind::friendMessage:
        if (frame.cut)
            log(u"⚠️ 好友消息过长，只显示开头: "_s + QString::number(frame.message->id) + u"（"_s
                + QString::number(utf8.size()) + u" 字节）"_s);
        receiveFriendMessage(*frame.message);
        break;
    case Kind::badMessage:
        log(u"❌ 解析好友消息失败: "_s + frame.error);
        break;
    case Kind::withoutData:
        break; // nothing to show or acknowledge
    case Kind::unknown:
        log(u"⚠️ 未知消息类型: "_s + frame.type);
        break;
    case Kind::dropped:
    case Kind::tooLarge:
        break;
    }
}

void FriendMessageManager::receiveFriendMessage(const FriendMessage& message)
{
    // A socket still open for the user before (until the next one connects) is not heard:
    // its messages belong to that user, who gets them again at their next connection.
    if (m_socketUserId != m_owner)
        return;
    log(u"💬 收到"_s + (message.isOffline ? u"离线"_s : QString()) + u"消息: "_s + message.senderNickname + u" - "_s
        + message.content);
    if (m_deliveredIds.contains(message.id)) {
        // Sent again: shown once. One already shown lost our acknowledgement on the way and
        // is confirmed again; one still waiting is confirmed when it shows.
        if (!m_unconfirmedIds.contains(message.id))
            sendDeliveredAck({ message.id });
        return;
    }
    if (!take(message)) {
        log(u"⚠️ 待显示的好友消息过多，暂不确认: "_s + QString::number(message.id));
        return;
    }
    ++m_unreadCount;
    Q_EMIT unreadCountChanged(m_unreadCount);
}

bool FriendMessageManager::take(const FriendMessage& message)
{
    // Remembered first: a receiver that shows the message at once confirms it right away.
    rememberHandedOver(message.id);
    if (m_onMessageReceived) {
        if (m_onMessageReceived(message))
            return true;
    } else if (m_queued.size() < maxQueuedMessages && m_queuedBytes + footprint(message) <= maxQueuedBytes) {
        m_queued.append(message);
        m_queuedBytes += footprint(message);
        return true;
    }
    forget(message.id);
    return false;
}

void FriendMessageManager::rememberHandedOver(qint64 messageId)
{
    m_unconfirmedIds.insert(messageId);
    m_deliveredIds.insert(messageId);
    m_deliveredOrder.push_back(messageId);
    if (m_deliveredOrder.size() > rememberedIds) {
        m_deliveredIds.remove(m_deliveredOrder.front());
        m_deliveredOrder.pop_front();
    }
}

void FriendMessageManager::forget(qint64 messageId)
{
    m_unconfirmedIds.remove(messageId);
    m_deliveredIds.remove(messageId);
    if (!m_deliveredOrder.empty() && m_deliveredOrder.back() == messageId)
        m_deliveredOrder.pop_back();
}

void FriendMessageManager::confirmDelivered(qint64 messageId)
{
    if (m_unconfirmedIds.remove(messageId))
        sendDeliveredAck({ messageId });
}

qsizetype FriendMessageManager::footprint(const FriendMessage& message)
{
    constexpr qsizetype overhead = 256;
    return overhead
        + (message.content.size() + message.senderNickname.size() + message.senderAvatar.size())
        * static_cast<qsizetype>(sizeof(QChar));
}

void FriendMessageManager::setOnMessageReceived(MessageCallback callback)
{
    m_onMessageReceived = std::move(callback);
    while (m_onMessageReceived && !m_queued.isEmpty()) {
        const FriendMessage next = m_queued.takeFirst();
        m_queuedBytes -= footprint(next);
        if (!m_onMessageReceived(next)) {
            // Counted when it came, but the server will send it again at the next connection.
            log(u"⚠️ 待显示的好友消息过多，暂不确认: "_s + QString::number(next.id));
            m_unconfirmedIds.remove(next.id);
            m_deliveredIds.remove(next.id);
        }
    }
}

void FriendMessageManager::sendDeliveredAck(const QList<qint64>& messageIds)
{
    if (!m_socket)
        return;
    if (m_socket->sendTextMessage(QString::fromUtf8(FriendSocketFrames::delivered(messageIds))) <= 0)
        log(u"❌ 送达确认失败: "_s + failureText(*m_socket, m_socketOpened));
}

void FriendMessageManager::startPingTimer()
{
    m_pingTimer = m_timers.start(pingIntervalMs, true, [this] { sendPing(); });
}

void FriendMessageManager::sendPing()
{
    if (!m_socket)
        return;
    if (m_socket->state() == QAbstractSocket::ConnectingState && !m_socketFailed) {
        // A server that takes the connection but never finishes the opening handshake
        // would hold the socket forever: treat it as failed, which reconnects.
        QWebSocket* socket = m_socket;
        onSocketFailed(socket, u"连接超时"_s);
        socket->abort();
        return;
    }
    // A socket that failed (one refused may still say it is connecting) takes no ping: every
    // tick on it says so, until the next connection or disconnect.
    if (m_socketFailed || m_socket->sendTextMessage(QString::fromUtf8(FriendSocketFrames::ping())) <= 0)
        log(u"❌ 心跳发送失败: "_s + failureText(*m_socket, m_socketOpened));
}

void FriendMessageManager::attemptReconnect()
{
    if (!m_shouldReconnect || m_reconnectAttempts >= maxReconnectAttempts) {
        log(u"❌ WebSocket 重连次数达到上限"_s);
        return;
    }
    ++m_reconnectAttempts;
    const int delaySeconds = std::min(1 << m_reconnectAttempts, 30);
    log(u"🔄 将在 "_s + QString::number(delaySeconds, 'f', 1) + u" 秒后尝试重连（第 "_s
        + QString::number(m_reconnectAttempts) + u" 次）"_s);
    m_reconnectTimer = m_timers.start(delaySeconds * 1000, false, [this] { open(true); });
}

void FriendMessageManager::resetAttemptsIfHealthy()
{
    // Only a connection that authenticated and answered a ping counts as working again;
    // one that the server drops right after authenticating keeps walking the schedule.
    if (m_sawAuthSuccess && m_sawPong)
        m_reconnectAttempts = 0;
}

void FriendMessageManager::setConnected(bool connected)
{
    if (m_isConnected == connected)
        return;
    m_isConnected = connected;
    Q_EMIT isConnectedChanged(connected);
}

QCoro::Task<> FriendMessageManager::sendMessage(qint64 receiverId, QString content)
{
    log(u"💬 发送消息给好友: "_s + QString::number(receiverId));
    try {
        // The server refuses a message from nobody: without a user it is not sent at all.
        if (!m_users.currentUser())
            throw APIError(APIError::Kind::unauthorized);
        co_await m_client->sendFriendMessage(receiverId, std::move(content));
    } catch (const std::exception& error) {
        log(u"❌ 发送消息失败: "_s + APIError::debugDescribe(error));
        throw;
    }
    log(u"✅ 消息发送成功"_s);
}
