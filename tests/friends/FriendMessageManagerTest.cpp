// The friend-message connection against the fake companion server's socket, with the
// reconnect and ping delays on fake timers.
#include "FriendsFixture.h"

#include "friends/FriendSocketFrames.h"

#include <QJsonArray>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QWebSocket>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

class MessageConnection : public FriendsFixture
{
protected:
    void SetUp() override
    {
        FriendsFixture::SetUp();
        userId = signIn();
    }

    /// Installs a callback that records every message handed over and shows it at once,
    /// or refuses it while `refuse` is set.
    void collect()
    {
        messages->setOnMessageReceived([this](const FriendMessage& m) {
            if (refuse)
                return false;
            received.append(m);
            messages->confirmDelivered(m.id);
            return true;
        });
    }

    [[nodiscard]] qsizetype framesOfType(const QString& type)
    {
        return server.messageSocket().receivedTypes().count(type);
    }

    /// Lets a socket that has been replaced go, then counts the ones the manager still holds.
    [[nodiscard]] qsizetype socketsHeld() const
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return messages->findChildren<QWebSocket*>().size();
    }

    /// A connection to a server on `busy` that answers every upgrade with 503 and then hangs
    /// up, or with `keepOpen` leaves the connection open.
    [[nodiscard]] std::unique_ptr<FriendMessageManager> refusedBy(QTcpServer& busy, bool keepOpen)
    {
        EXPECT_TRUE(busy.listen(QHostAddress::LocalHost));
        QObject::connect(&busy, &QTcpServer::newConnection, [&busy, keepOpen] {
            QTcpSocket* peer = busy.nextPendingConnection();
            QObject::connect(peer, &QTcpSocket::readyRead, peer, [peer, keepOpen] {
                peer->readAll();
                peer->write("HTTP/1.1 503 Service Unavailable\r\nContent-Length: 0\r\n\r\n");
                if (!keepOpen)
                    peer->disconnectFromHost();
            });
        });
        return std::make_unique<FriendMessageManager>(*client, *users, timers,
            [&busy]() -> QString { return u"ws://127.0.0.1:"_s + QString::number(busy.serverPort()) + u"/ws"_s; });
    }

    qint64 userId = 0;
    QList<FriendMessage> received;
    bool refuse = false;
};

} // namespace

TEST(SocketAddress, FollowsTheServerAddressWithTheLocalhostRule)
{
    const struct
    {
        QString base, expected;
    } cases[] = {
        { u"http://localhost:3005/api"_s, u"ws://localhost:3000/ws"_s },
        { u"http://my-localhost.example:3005/api"_s, u"ws://localhost:3000/ws"_s },
        { u"http://pets.example.org:3005/api"_s, u"ws://pets.example.org:3005/ws"_s },
        { u"http://10.0.0.7:3005/api"_s, u"ws://10.0.0.7:3005/ws"_s },
        { u"http://[::1]:3005/api"_s, u"ws://[::1]:3005/ws"_s },
        { u"not an address"_s, QString() },
        { QString(), QString() },
    };
    for (const auto& c : cases)
        EXPECT_EQ(FriendMessageManager::socketAddress(c.base), c.expected) << c.base.toStdString();
}

TEST(SocketAddress, FollowsTheServerHostSetting)
{
    QTemporaryDir dir;
    Defaults defaults(dir.filePath(u"defaults.json"_s));
    const struct
    {
        QJsonValue host;
        QString base, socket;
    } cases[] = {
        { QJsonValue::Undefined, u"http://localhost:3005/api"_s, u"ws://localhost:3000/ws"_s },
        { u""_s, u"http://localhost:3005/api"_s, u"ws://localhost:3000/ws"_s },
        { u"pets.example.org"_s, u"http://pets.example.org:3005/api"_s, u"ws://pets.example.org:3005/ws"_s },
        { u"10.0.0.7"_s, u"http://10.0.0.7:3005/api"_s, u"ws://10.0.0.7:3005/ws"_s },
        { u"::1"_s, u"http://[::1]:3005/api"_s, u"ws://[::1]:3005/ws"_s },
        { u"[2001:db8::7]"_s, u"http://[2001:db8::7]:3005/api"_s, u"ws://[2001:db8::7]:3005/ws"_s },
    };
    for (const auto& c : cases) {
        if (c.host.isUndefined())
            defaults.remove(u"ServerHost"_s);
        else
            defaults.setValue(u"ServerHost"_s, c.host);
        const QString base = APIClient::baseURLFromSettings(defaults);
        EXPECT_EQ(base, c.base) << c.host.toString().toStdString();
        EXPECT_EQ(FriendMessageManager::socketAddress(base), c.socket) << c.host.toString().toStdString();
    }
}

TEST_F(MessageConnection, AuthenticatesPingsAndAcknowledgesInOrder)
{
    collect();
    QSignalSpy unread(messages.get(), &FriendMessageManager::unreadCountChanged);
    connectAndAuthenticate();
    EXPECT_TRUE(messages->isConnected());
    ASSERT_EQ(server.messageSocket().received().size(), 1);
    EXPECT_EQ(server.messageSocket().received().first().json.value(u"token"_s).toString(),
        u"tamsel-uid-"_s + QString::number(userId));

    timers.advanceMs(FriendMessageManager::pingIntervalMs);
    ASSERT_TRUE(waitUntil([&] { return framesOfType(u"ping"_s) == 1; }));

    server.messageSocket().pushFriendMessage(messageData(11));
    server.messageSocket().pushFriendMessage(messageData(12));
    ASSERT_TRUE(waitUntil([&] { return framesOfType(u"delivered"_s) == 2; }));
    EXPECT_EQ(
        server.messageSocket().receivedTypes(), (QStringList { u"auth"_s, u"ping"_s, u"delivered"_s, u"delivered"_s }));
    EXPECT_EQ(server.messageSocket().received().at(2).json.value(u"messageIds"_s).toArray(), QJsonArray { 11 });
    EXPECT_EQ(server.messageSocket().received().at(3).json.value(u"messageIds"_s).toArray(), QJsonArray { 12 });
    ASSERT_EQ(received.size(), 2);
    EXPECT_EQ(received.at(0).id, 11);
    EXPECT_EQ(messages->unreadCount(), 2);
    EXPECT_EQ(unread.size(), 2);
}

TEST_F(MessageConnection, HoldsMessagesUntilTheCallbackComesAndShowsEachOnce)
{
    connectAndAuthenticate();
    server.messageSocket().pushFriendMessage(messageData(21, u"第一"_s));
    server.messageSocket().pushFriendMessage(messageData(22, u"第二"_s));
    ASSERT_TRUE(waitUntil([&] { return messages->unreadCount() == 2; }));
    EXPECT_EQ(framesOfType(u"delivered"_s), 0) << "nobody has seen them yet";

    collect();
    ASSERT_EQ(received.size(), 2);
    EXPECT_EQ(received.at(0).content, u"第一"_s);
    EXPECT_EQ(received.at(1).content, u"第二"_s);
    ASSERT_TRUE(waitUntil([&] { return framesOfType(u"delivered"_s) == 2; }));

    // Sent again (our acknowledgement lost): confirmed again, not shown or counted again.
    server.messageSocket().pushFriendMessage(messageData(21, u"第一"_s));
    ASSERT_TRUE(waitUntil([&] { return framesOfType(u"delivered"_s) == 3; }));
    EXPECT_EQ(received.size(), 2);
    EXPECT_EQ(messages->unreadCount(), 2);

    // One still held when the user signs out is dropped unacknowledged and never reaches
    // the next user; sent again to its own user, it shows.
    messages->setOnMessageReceived({});
    server.messageSocket().pushFriendMessage(messageData(23, u"第三"_s));
    ASSERT_TRUE(waitUntil([&] { return messages->unreadCount() == 3; }));
    users->logout();
    signIn(u"dave@x.io"_s);
    collect();
    EXPECT_EQ(received.size(), 2);
    EXPECT_EQ(messages->unreadCount(), 0);
    // Nor does one that comes over Alice's socket before Dave's own connection opens.
    const LogCapture log;
    server.messageSocket().pushFriendMessage(messageData(24));
    ASSERT_TRUE(waitUntil([&] { return log.anyContains(u"类型: friend_message"_s); }));
    EXPECT_EQ(received.size(), 2);
    users->logout();
    signIn();
    connectAndAuthenticate();
    server.messageSocket().pushFriendMessage(messageData(23, u"第三"_s));
    ASSERT_TRUE(waitUntil([&] { return received.size() == 3; }));
    EXPECT_EQ(received.at(2).id, 23);
    EXPECT_TRUE(waitUntil([&] { return framesOfType(u"delivered"_s) == 4; }));
}

TEST_F(MessageConnection, ARefusedMessageIsNeitherCountedNorAcknowledgedAndComesAgain)
{
    const qint64 bob = server.state().addUser(u"bob@x.io"_s, u"鲍勃"_s, u"🐶"_s, u"pw"_s);
    server.state().befriend(userId, bob);
    std::optional<qint64> sender = bob;
    APIClient bobClient(server.baseUrl(), [&] { return sender; });
    collect();
    refuse = true;
    connectAndAuthenticate();
    const LogCapture log;
    ASSERT_TRUE(await(bobClient.sendFriendMessage(userId, u"在吗"_s)).ok());
    ASSERT_TRUE(waitUntil([&] { return log.anyContains(u"⚠️ 待显示的好友消息过多，暂不确认"_s); }));
    EXPECT_EQ(messages->unreadCount(), 0);
    EXPECT_EQ(framesOfType(u"delivered"_s), 0);

    refuse = false;
    connectAndAuthenticate();
    ASSERT_TRUE(waitUntil([&] { return received.size() == 1; }));
    EXPECT_TRUE(received.at(0).isOffline);
    ASSERT_TRUE(waitUntil([&] { return server.state().messages().at(0).delivered; }));
    EXPECT_EQ(messages->unreadCount(), 1);
}

TEST_F(MessageConnection, IgnoresBadFramesAndStaysUsable)
{
    collect();
    connectAndAuthenticate();
    const LogCapture log;
    FakeMessageSocket& socket = server.messageSocket();
    socket.pushText(u"not json at all"_s);
    socket.pushText(u"[1,2,3]"_s);
    socket.pushText(uR"({"type":42})"_s);
    socket.pushText(uR"({"type":"typing"})"_s);
    socket.pushText(uR"({"type":"friend_message"})"_s);
    socket.pushText(uR"({"type":"friend_message","data":"喵"})"_s);
    QJsonObject lacking = messageData(30);
    lacking.remove(u"isOffline"_s);
    socket.pushFriendMessage(lacking);
    socket.pushText(uR"({"type":"friend_message","data":{"content":")"_s + QString(10 * 1024 * 1024, u'x') + u"\"}}"_s);
    socket.pushBinary(QByteArray("{\"type\":\"pong\"\xff}", 16));
    socket.pushFriendMessage(messageData(31, u"<b>粗体</b><script>x</script>"_s));

    ASSERT_TRUE(waitUntil([&] { return received.size() == 1; }, 20000));
    EXPECT_EQ(received.first().content, u"<b>粗体</b><script>x</script>"_s);
    EXPECT_EQ(messages->unreadCount(), 1);
    EXPECT_TRUE(waitUntil([&] { return framesOfType(u"delivered"_s) == 1; }));
    EXPECT_TRUE(log.has(u"⚠️ 未知消息类型: typing"_s, u"Friend"_s));
    // Every frame with a type names it first, also a message without data that is then dropped.
    EXPECT_EQ(log.lines(u"Friend"_s).count(u"📨 收到 WebSocket 消息，类型: friend_message"_s), 4)
        << log.lines(u"Friend"_s).join(u" | "_s).toStdString();
    EXPECT_TRUE(log.anyContains(u"❌ 解析好友消息失败: "_s));
    EXPECT_TRUE(log.anyContains(u"⚠️ WebSocket 消息过大，已忽略"_s));
    EXPECT_TRUE(messages->isConnected());
    EXPECT_EQ(socket.connectionsAccepted(), 1);
}

TEST_F(MessageConnection, ReconnectsOnTheScheduleAndGivesUpAfterFive)
{
    server.messageSocket().stop();
    const LogCapture log;
    messages->connect();
    const QStringList delays { u"2.0"_s, u"4.0"_s, u"8.0"_s, u"16.0"_s, u"30.0"_s };
    for (int attempt = 1; attempt <= 5; ++attempt) {
        const QString line
            = u"🔄 将在 "_s + delays[attempt - 1] + u" 秒后尝试重连（第 "_s + QString::number(attempt) + u" 次）"_s;
        ASSERT_TRUE(waitUntil([&] { return log.has(line, u"Friend"_s); })) << attempt;
        EXPECT_FALSE(messages->isConnected());
        // Nothing happens a moment early; the reconnect comes on time.
        timers.advanceMs(delays[attempt - 1].toDouble() * 1000 - 1);
        EXPECT_EQ(log.lines(u"Friend"_s).count(u"🔌 开始连接 WebSocket: "_s + server.messageSocket().url()), attempt);
        timers.advanceMs(1);
    }
    ASSERT_TRUE(waitUntil([&] { return log.has(u"❌ WebSocket 重连次数达到上限"_s, u"Friend"_s); }));
    EXPECT_EQ(timers.running(), QList<int> { FriendMessageManager::pingIntervalMs });
    EXPECT_LE(socketsHeld(), 1);

    // The friends page's button starts the count afresh.
    ASSERT_TRUE(server.messageSocket().restart());
    connectAndAuthenticate();
    EXPECT_EQ(messages->reconnectAttempts(), 0);
    EXPECT_TRUE(messages->isConnected());
}

TEST_F(MessageConnection, SurvivesServerRestartAndCountsAgainOnlyWhenHealthy)
{
    collect();
    connectAndAuthenticate();
    FakeMessageSocket& socket = server.messageSocket();

    // Down and up again: the next attempt finds it.
    socket.stop();
    ASSERT_TRUE(waitUntil([&] { return messages->reconnectAttempts() == 1; }));
    ASSERT_TRUE(socket.restart());
    const int before = authentications;
    timers.advanceMs(2000);
    ASSERT_TRUE(waitUntil([&] { return authentications > before; }));
    EXPECT_TRUE(messages->isConnected());

    // Authenticating alone does not make a connection healthy: a server that drops right
    // after it walks on through the schedule.
    socket.dropAll();
    ASSERT_TRUE(waitUntil([&] { return messages->reconnectAttempts() == 2; }));
    timers.advanceMs(4000);
    ASSERT_TRUE(waitUntil([&] { return authentications > before + 1; }));
    EXPECT_EQ(messages->reconnectAttempts(), 2);

    // A pong too: the count returns to zero.
    timers.advanceMs(FriendMessageManager::pingIntervalMs);
    ASSERT_TRUE(waitUntil([&] { return messages->reconnectAttempts() == 0; }));

    socket.pushFriendMessage(messageData(41));
    ASSERT_TRUE(waitUntil([&] { return received.size() == 1; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(received.size(), 1);
    EXPECT_EQ(socketsHeld(), 1);
}

TEST_F(MessageConnection, DisconnectClosesWithGoingAwayAndCancelsReconnection)
{
    connectAndAuthenticate();
    messages->disconnect();
    EXPECT_FALSE(messages->isConnected());
    ASSERT_TRUE(waitUntil([&] { return server.messageSocket().closeCodes().size() == 1; }));
    EXPECT_EQ(server.messageSocket().closeCodes().first(), 1001);
    EXPECT_TRUE(timers.running().isEmpty());

    // A reconnect pending when disconnect() comes is cancelled.
    connectAndAuthenticate();
    server.messageSocket().dropAll();
    ASSERT_TRUE(waitUntil([&] { return messages->reconnectAttempts() == 1; }));
    messages->disconnect();
    timers.advanceMs(60000);
    EXPECT_EQ(server.messageSocket().connectionsAccepted(), 2);
    EXPECT_EQ(socketsHeld(), 0);
}

TEST_F(MessageConnection, RefusedAuthenticationKeepsTheSocketWithoutRetrying)
{
    server.messageSocket().refuseAuth = true;
    server.messageSocket().withholdPongs = true;
    const LogCapture log;
    messages->connect();
    ASSERT_TRUE(waitUntil([&] { return log.has(u"❌ WebSocket 认证失败"_s, u"Friend"_s); }));
    timers.advanceMs(2 * FriendMessageManager::pingIntervalMs);
    ASSERT_TRUE(waitUntil([&] { return framesOfType(u"ping"_s) == 2; }));
    EXPECT_TRUE(messages->isConnected());
    EXPECT_EQ(authentications, 0);
    EXPECT_EQ(messages->reconnectAttempts(), 0);
    EXPECT_EQ(server.messageSocket().connectionsAccepted(), 1);
}

TEST_F(MessageConnection, ServerThatNeverAnswersTheHandshakeIsRetried)
{
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    QList<QTcpSocket*> accepted;
    QObject::connect(&silent, &QTcpServer::newConnection, [&] { accepted.append(silent.nextPendingConnection()); });
    FriendMessageManager stuck(*client, *users, timers,
        [&]() -> QString { return u"ws://127.0.0.1:"_s + QString::number(silent.serverPort()) + u"/ws"_s; });

    stuck.connect();
    ASSERT_TRUE(waitUntil([&] { return !accepted.isEmpty(); }));
    EXPECT_TRUE(stuck.isConnected());
    timers.advanceMs(FriendMessageManager::pingIntervalMs);
    EXPECT_FALSE(stuck.isConnected());
    EXPECT_EQ(stuck.reconnectAttempts(), 1);
    timers.advanceMs(2000);
    ASSERT_TRUE(waitUntil([&] { return accepted.size() == 2; }));
}

TEST_F(MessageConnection, ARefusedUpgradeIsLoggedAsRefusedNeverAsEstablished)
{
    QTcpServer busy;
    const auto refused = refusedBy(busy, false);
    const LogCapture log;
    refused->connect();
    ASSERT_TRUE(waitUntil([&] { return log.anyContains(u"❌ WebSocket 接收消息失败: "_s); }));
    EXPECT_FALSE(log.has(u"✅ WebSocket 连接已建立"_s, u"Friend"_s));
    EXPECT_TRUE(log.anyContains(u"❌ WebSocket 接收消息失败: 连接被拒绝: "_s));
    EXPECT_TRUE(log.anyContains(u"503"_s));
    EXPECT_EQ(refused->reconnectAttempts(), 1);
}

// A server that refuses every upgrade yet keeps the connection open leaves each socket
// failed while it still says it is connecting: given up on, every ping tick says it failed.
TEST_F(MessageConnection, EveryPingAfterGivingUpSaysItFailed)
{
    QTcpServer busy;
    const auto refused = refusedBy(busy, true);
    const LogCapture log;
    refused->connect();
    for (const int attempts : { 1, 2, 3, 4, 5 }) {
        ASSERT_TRUE(waitUntil([&] { return refused->reconnectAttempts() == attempts; }));
        timers.advanceMs(std::min(1 << attempts, 30) * 1000);
    }
    ASSERT_TRUE(waitUntil([&] { return log.has(u"❌ WebSocket 重连次数达到上限"_s, u"Friend"_s); }));

    const LogCapture givenUp;
    for (int tick = 1; tick <= 3; ++tick) {
        timers.advanceMs(FriendMessageManager::pingIntervalMs);
        const QStringList lines = givenUp.lines(u"Friend"_s);
        EXPECT_EQ(lines.filter(u"❌ 心跳发送失败: "_s).size(), tick) << lines.join(u" | "_s).toStdString();
    }
    EXPECT_FALSE(refused->isConnected());
}

TEST_F(MessageConnection, WithoutUserNothingOpens)
{
    users->logout();
    const LogCapture log;
    messages->connect();
    EXPECT_TRUE(log.has(u"❌ 无法连接 WebSocket：用户未登录"_s, u"Friend"_s));
    EXPECT_FALSE(messages->isConnected());
    EXPECT_TRUE(timers.running().isEmpty());
}

TEST_F(MessageConnection, MessagesGoOverHttpAndArriveLiveOrStored)
{
    // Bob, a friend of Alice, writes to her while she is away and while she is connected.
    const qint64 bob = server.state().addUser(u"bob@x.io"_s, u"鲍勃"_s, u"🐶"_s, u"pw"_s);
    server.state().befriend(userId, bob);
    std::optional<qint64> sender = bob;
    APIClient bobClient(server.baseUrl(), [&] { return sender; });
    ASSERT_TRUE(await(bobClient.sendFriendMessage(userId, u"你在吗"_s)).ok());

    collect();
    connectAndAuthenticate();
    ASSERT_TRUE(waitUntil([&] { return received.size() == 1; }));
    EXPECT_TRUE(received.at(0).isOffline);
    EXPECT_EQ(received.at(0).senderNickname, u"鲍勃"_s);

    ASSERT_TRUE(await(bobClient.sendFriendMessage(userId, u"我来了"_s)).ok());
    ASSERT_TRUE(waitUntil([&] { return received.size() == 2; }));
    EXPECT_FALSE(received.at(1).isOffline);
    ASSERT_TRUE(waitUntil([&] { return server.state().messages().at(1).delivered; }));

    // Alice answers through the manager; a refusal reaches the caller.
    ASSERT_TRUE(await(messages->sendMessage(bob, u"好的"_s)).ok());
    EXPECT_EQ(server.state().messages().last().receiverId, bob);
    const auto refused = await(messages->sendMessage(999, u"陌生人"_s));
    ASSERT_TRUE(refused.apiError());
}

TEST_F(MessageConnection, AMessageTooLongForABubbleIsShownCutAndAcknowledgedSoItComesNoMore)
{
    const qint64 bob = server.state().addUser(u"bob@x.io"_s, u"鲍勃"_s, u"🐶"_s, u"pw"_s);
    server.state().befriend(userId, bob);
    std::optional<qint64> sender = bob;
    APIClient bobClient(server.baseUrl(), [&] { return sender; });
    collect();
    connectAndAuthenticate();
    const LogCapture log;
    // Over 64 KB on the wire, and the cut falls inside a family emoji, which stays whole.
    const QString family = u"👨‍👩‍👧"_s;
    const QString text = u"x"_s + family.repeated(5000);
    ASSERT_GT(text.toUtf8().size(), FriendSocketFrames::maxFrameBytes);
    ASSERT_TRUE(await(bobClient.sendFriendMessage(userId, text)).ok());

    ASSERT_TRUE(waitUntil([&] { return received.size() == 1; }, 20000));
    const qsizetype wholeFamilies = (FriendSocketFrames::maxContentLength - 1) / family.size();
    EXPECT_EQ(received.at(0).content,
        text.left(1 + wholeFamilies * family.size()) + QStringView(FriendSocketFrames::cutNotice));
    EXPECT_TRUE(log.anyContains(u"⚠️ 好友消息过长，只显示开头: "_s));
    EXPECT_EQ(messages->unreadCount(), 1);
    // Acknowledged, so the server does not send it again at the next connection.
    EXPECT_TRUE(waitUntil([&] { return server.state().messages().at(0).delivered; }));
    EXPECT_TRUE(messages->isConnected());
}
