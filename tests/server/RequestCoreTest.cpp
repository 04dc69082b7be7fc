// The request core seen from the wire and from the log: headers, status mapping, the
// failures of the transport, and what the log may and may not show.
#include "ServerTestSupport.h"

#include <QJsonDocument>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

const QString api = u"API"_s;

ScriptedReply reply(int status, const QByteArray& body)
{
    return ScriptedReply { status, body, 0, false };
}

} // namespace

TEST_F(ServerFixture, SuccessfulCallWritesTheFixedLinesInOrder)
{
    server.state().addUser(u"a@x.io"_s, u"阿猫"_s, u"🐱"_s, u"pw"_s);
    server.state().addBottle(1, u"你好"_s);
    server.scriptNext(reply(200,
        R"({"success":true,"message":"ok","data":{"id":"b9","content":"你好","sender_id":1,"sender_name":"阿猫",)"
        R"("sender_emoji":"🐱","status":"picked","theme":[],"bottle_type":"wish","view_count":1,"passed_count":0,)"
        R"("virtual_distance":0,"virtual_path":[],"created_at":"2024-05-01T08:30:00Z","updated_at":"2024-05-01T08:30:00Z"}})"));

    LogCapture logs;
    const auto outcome = await(client->pickRandomBottle(7));
    ASSERT_TRUE(outcome.ok());
    EXPECT_EQ(outcome.value->bottleType, BottleType::wish);
    const QStringList lines = logs.lines(api);
    ASSERT_EQ(lines.size(), 5) << lines.join(u'\n').toStdString();
    EXPECT_EQ(lines[0], u"📡 GET "_s + url(u"/bottles/pick?userId=7"_s));
    EXPECT_EQ(lines[1], u"📥 HTTP 状态码: 200"_s);
    EXPECT_TRUE(lines[2].startsWith(u"📥 响应内容: {\"success\":true"_s));
    EXPECT_EQ(lines[3], u"✅ JSON 解析成功"_s);
    EXPECT_EQ(lines[4], u"✅ 捡到瓶子: b9"_s);
}

TEST_F(ServerFixture, StatusesMapToTheirErrors)
{
    struct Case
    {
        int status;
        APIError::Kind kind;
        QString logLine;
        QString text;
    };
    const QByteArray errorJson = R"({"success":false,"error":"boom"})";
    const QList<Case> cases {
        { 401, APIError::Kind::unauthorized, u"❌ 401 未授权"_s, u"未授权"_s },
        { 404, APIError::Kind::notFound, u"❌ 404 未找到"_s, u"没有挖到瓶子，你先丢个瓶子出去吧！"_s },
        { 408, APIError::Kind::timeout, u"❌ 408 请求超时"_s, u"请求超时"_s },
        { 500, APIError::Kind::serverError, u"❌ HTTP 500: "_s + QString::fromUtf8(errorJson),
            u"服务器错误: "_s + QString::fromUtf8(errorJson) },
        { 418, APIError::Kind::serverError, u"❌ HTTP 418: "_s + QString::fromUtf8(errorJson),
            u"服务器错误: "_s + QString::fromUtf8(errorJson) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        server.scriptNext(reply(c.status, errorJson));
        LogCapture logs;
        const auto error = await(client->getConversations(1)).apiError();
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind(), c.kind);
        EXPECT_EQ(error->errorDescription(), c.text);
        EXPECT_TRUE(logs.has(u"📥 HTTP 状态码: "_s + QString::number(c.status), api));
        EXPECT_TRUE(logs.has(c.logLine, api)) << logs.lines(api).join(u'\n').toStdString();
    }
}

TEST_F(ServerFixture, RedirectReachesTheCallerWithItsText)
{
    // Nothing is followed, with or without a Location: following would send the request
    // once more (a POST as a GET after 301 or 302), and the reply's text is what explains it.
    struct Case
    {
        int status;
        QByteArray location;
    };
    const QList<Case> cases { { 302, {} }, { 301, "/api/friends/list" }, { 303, "/api/bottles/conversations?userId=1" },
        { 300, {} } };
    const QByteArray body = R"({"moved":"别处"})";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        ScriptedReply moved = reply(c.status, body);
        if (!c.location.isEmpty())
            moved.headers = { { "Location", c.location } };
        server.scriptNext(moved);
        const qsizetype sent = server.requests().size();
        LogCapture logs;
        const auto error = await(client->getConversations(1)).apiError();
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind(), APIError::Kind::serverError) << error->debugDescription().toStdString();
        EXPECT_EQ(error->errorDescription().toStdString(), "服务器错误: " + body.toStdString());
        EXPECT_TRUE(logs.has(u"❌ HTTP "_s + QString::number(c.status) + u": "_s + QString::fromUtf8(body), api))
            << logs.lines(api).join(u'\n').toStdString();
        EXPECT_EQ(server.requests().size(), sent + 1);
    }

    // 307 and 308 ask for the same request, body and all, once more; Qt's HTTP layer insists
    // on rewinding the body for them even when it does not follow, which the client never allows.
    ScriptedReply again = reply(307, body);
    again.headers = { { "Location", "/api/bottles/conversations?userId=1" } };
    server.scriptNext(again);
    const qsizetype sent = server.requests().size();
    const auto error = await(client->getConversations(1)).apiError();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), APIError::Kind::networkError) << error->debugDescription().toStdString();
    EXPECT_EQ(error->errorDescription().toStdString(), "网络错误: 服务器要求重新发送请求。");
    EXPECT_EQ(server.requests().size(), sent + 1);
}

TEST_F(ServerFixture, BodyThatIsNotUtf8HasNoTextAndIsNotLogged)
{
    const QList<std::pair<int, QByteArray>> cases {
        { 503, QByteArray("\xff\xfe\x80 broken", 10) },
        { 502, "服务器错误\xe4\xb8" }, // cut off inside the last character
        { 500, "\xc0\xaf overlong" }, // "/" in two bytes
        { 504, "\xed\xa0\x80 lone surrogate" },
    };
    for (const auto& [status, body] : cases) {
        SCOPED_TRACE(body.toHex(' ').toStdString());
        server.scriptNext(reply(status, body));
        LogCapture logs;
        const auto error = await(client->getFriendList()).apiError();
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind(), APIError::Kind::serverError);
        EXPECT_EQ(error->errorDescription().toStdString(), "服务器错误: 未知错误");
        EXPECT_TRUE(logs.has(u"❌ HTTP "_s + QString::number(status) + u": 未知错误"_s, api))
            << logs.lines(api).join(u'\n').toStdString();
        for (const QString& line : logs.lines(api))
            EXPECT_FALSE(line.startsWith(u"📥 响应内容"_s)) << line.toStdString();
    }
}

TEST_F(ServerFixture, CompressionBombIsATransportFailure)
{
    // 20 MB of blanks in 20 kB: Qt stops inflating it and fails the reply.
    const QByteArray zlib = qCompress(QByteArray(20'000'000, ' '), 9);
    // A gzip member around the raw deflate data; the trailer is never reached.
    const QByteArray gzip = QByteArray("\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03", 10) + zlib.mid(6, zlib.size() - 10)
        + QByteArray(8, '\0');
    for (const int status : { 200, 500 }) {
        SCOPED_TRACE(status);
        ScriptedReply bomb = reply(status, gzip);
        bomb.headers = { { "Content-Encoding", "gzip" } };
        server.scriptNext(bomb);
        LogCapture logs;
        const auto error = await(client->getConversations(1)).apiError();
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind(), APIError::Kind::networkError) << error->debugDescription().toStdString();
        EXPECT_EQ(error->errorDescription().toStdString(), "网络错误: 无法解码原始数据。");
        for (const QString& line : logs.lines(api))
            EXPECT_FALSE(line.startsWith(u"📥"_s) || line.startsWith(u"❌"_s)) << line.toStdString();
    }
}

TEST_F(ServerFixture, EmptyOrMalformedSuccessBodyIsADecodingError)
{
    server.scriptNext(reply(200, {}));
    LogCapture logs;
    auto error = await(client->getConversations(1)).apiError();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), APIError::Kind::decodingError);
    EXPECT_TRUE(error->errorDescription().startsWith(u"数据解析错误: "_s));
    EXPECT_TRUE(logs.has(u"📥 响应内容: "_s, api)) << "an empty reply still logs its (empty) text";

    server.scriptNext(reply(200, R"({"success":true,"data":[]})"));
    LogCapture logs2;
    error = await(client->getConversations(1)).apiError();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), APIError::Kind::decodingError);
    EXPECT_TRUE(error->detail().contains(u"message"_s)) << error->detail().toStdString();
    const QStringList lines = logs2.lines(api);
    const auto failed = std::find_if(
        lines.begin(), lines.end(), [](const QString& l) { return l.startsWith(u"❌ JSON 解析失败: "_s); });
    ASSERT_NE(failed, lines.end());
    ASSERT_NE(failed + 1, lines.end());
    EXPECT_EQ(*(failed + 1), u"❌ 解析错误详情: "_s + failed->mid(QStringView(u"❌ JSON 解析失败: ").size()));
    EXPECT_FALSE(logs2.has(u"✅ JSON 解析成功"_s, api));
}

TEST_F(ServerFixture, ExchangeThatOutlivesTheDeadlineIsANetworkError)
{
    client = makeClient(server.baseUrl(), 200);
    server.scriptNext(ScriptedReply { std::nullopt, {}, 3000, false });
    LogCapture logs;
    const auto error = await(client->getConversations(1)).apiError();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), APIError::Kind::networkError) << error->debugDescription().toStdString();
    EXPECT_TRUE(error->errorDescription().startsWith(u"网络错误: "_s));
    for (const QString& line : logs.lines(api))
        EXPECT_FALSE(line.startsWith(u"📥"_s)) << "no status reached the client";
}

TEST_F(ServerFixture, DroppedRequestIsNeverSentAgain)
{
    // The server may have acted on a request before the connection dropped (stored the
    // bottle, handed out the pick), so a second copy would do it twice.
    const qint64 id = server.state().addUser(u"a@x.io"_s, u"阿猫"_s, u"🐱"_s, u"pw"_s);
    const QList<std::pair<const char*, std::function<QCoro::Task<>(APIClient&)>>> calls {
        { "GET", [](APIClient& c) -> QCoro::Task<> { (void)co_await c.pickRandomBottle(1); } },
        { "POST",
            [id](APIClient& c) -> QCoro::Task<> {
                (void)co_await c.throwBottle(
                    ThrowBottleRequest { id, u"阿猫"_s, u"🐱"_s, u"你好"_s, {}, BottleType::normal, false });
            } },
        { "PUT",
            [id](APIClient& c) -> QCoro::Task<> {
                (void)co_await c.updateUser(id, UpdateUserRequest { u"猫"_s, {}, {} });
            } },
        { "DELETE", [](APIClient& c) -> QCoro::Task<> { co_await c.deleteFriend(3); } },
    };
    for (const auto& [method, call] : calls) {
        SCOPED_TRACE(method);
        client = makeClient(server.baseUrl()); // a fresh connection pool for every case
        server.scriptNext(ScriptedReply { std::nullopt, {}, 0, true });
        const qsizetype sent = server.requests().size();
        const auto error = await(call(*client)).apiError();
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind(), APIError::Kind::networkError) << error->debugDescription().toStdString();
        EXPECT_EQ(error->errorDescription().toStdString(), "网络错误: 网络连接已中断。");
        EXPECT_EQ(server.requests().size(), sent + 1);
    }
    EXPECT_TRUE(server.state().bottles().isEmpty());
}

TEST_F(ServerFixture, RefusedConnectionIsANetworkError)
{
    const quint16 port = server.port();
    client = makeClient(u"http://127.0.0.1:"_s + QString::number(port == 1 ? 2 : 1) + u"/api"_s);
    const auto error = await(client->getConversations(1)).apiError();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), APIError::Kind::networkError);
    EXPECT_EQ(error->errorDescription().toStdString(), "网络错误: 无法连接服务器。");
}

TEST_F(ServerFixture, TextThatIsNoUrlFailsBeforeAnythingIsLoggedOrSent)
{
    client = makeClient(u"http://bad host:3005/api"_s);
    LogCapture logs;
    const auto error = await(client->getConversations(1)).apiError();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), APIError::Kind::invalidURL);
    EXPECT_EQ(error->errorDescription(), u"无效的 URL"_s);
    EXPECT_TRUE(logs.lines(api).isEmpty()) << logs.lines(api).join(u'\n').toStdString();
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(ServerFixture, QueryValuesArePercentEncodedSoTheServerReadsThemBack)
{
    server.state().addUser(u"a+b@x.io"_s, u"加号"_s, u"🐶"_s, u"pw"_s);
    const auto outcome = await(client->checkEmail(u"a+b@x.io"_s));
    ASSERT_TRUE(outcome.ok());
    EXPECT_TRUE(outcome.value->exists) << "the server must see the address with its plus sign";
    EXPECT_EQ(server.lastRequest().target, "/api/users/check-email?email=a%2Bb@x.io");
    EXPECT_EQ(server.lastRequest().queryValue(u"email"_s), u"a+b@x.io"_s);

    // A value with "&" stays one value instead of forging a second parameter.
    (void)await(client->getConversationHistory(u"b1&userId=9"_s, 3));
    EXPECT_EQ(server.lastRequest().target, "/api/bottles/conversation-history?bottleId=b1%26userId%3D9&userId=3");
    EXPECT_EQ(server.lastRequest().queryValue(u"userId"_s), u"3"_s);
}

TEST_F(ServerFixture, PasswordNeverReachesTheLogButReachesTheServer)
{
    const QString password = u"s3cret-密码"_s;
    LogCapture logs;
    ASSERT_TRUE(await(client->createOrGetUser(u"p@x.io"_s, u"小明"_s, u"🐼"_s, password)).ok());
    EXPECT_EQ(server.lastRequest().jsonBody().value(u"password"_s).toString(), password);
    EXPECT_FALSE(logs.anyContains(u"s3cret"_s));
    const QStringList lines = logs.lines(api);
    const auto body
        = std::find_if(lines.begin(), lines.end(), [](const QString& l) { return l.startsWith(u"📤 请求体: "_s); });
    ASSERT_NE(body, lines.end());
    const QJsonObject shown = QJsonDocument::fromJson(body->mid(QStringView(u"📤 请求体: ").size()).toUtf8()).object();
    EXPECT_EQ(shown.value(u"password"_s).toString(), u"******"_s);
    EXPECT_EQ(shown.value(u"email"_s).toString(), u"p@x.io"_s);

    // A server that echoes what it was sent, in an error reply, a refusal or an undecodable
    // reply, in whatever escapes JSON allows, gets the password masked in every line and in
    // the error the caller shows.
    const QString tricky = u"密码Zq9/x\"y\tz"_s;
    const QList<ScriptedReply> echoes {
        reply(500, R"({"error":"bad","got":"\u5bc6\u7801Zq9\/x\"y\tz"})"),
        reply(200, R"({"success":false,"message":"密码 \u5bc6\u7801Zq9\/x\"y\u0009z 太短"})"),
        reply(200,
            R"({"success":true,"message":"ok","data":{"id":1,"email":"p@x.io","nickname":"小明",)"
            R"("avatar_emoji":"🐼","level":1,"exp":0,"shells":0,"badges":[],)"
            R"("created_at":"\u5bc6\u7801Zq9\/x\"y\tz"}})"),
        reply(500, u"INSERT (p@x.io, 密码Zq9/x\"y\tz)"_s.toUtf8()),
    };
    for (const ScriptedReply& echo : echoes) {
        SCOPED_TRACE(echo.body.toStdString());
        server.scriptNext(echo);
        LogCapture failed;
        const auto error = await(client->createOrGetUser(u"p@x.io"_s, u"小明"_s, u"🐼"_s, tricky)).apiError();
        ASSERT_TRUE(error);
        EXPECT_FALSE(error->errorDescription().contains(u"q9"_s)) << error->errorDescription().toStdString();
        EXPECT_FALSE(failed.anyContains(u"q9"_s)) << failed.lines().join(u'\n').toStdString();
        EXPECT_TRUE(failed.anyContains(u"******"_s));
    }
}

TEST_F(ServerFixture, PasswordMaskingLeavesOrdinaryTextAlone)
{
    // A one-character password also occurs inside ordinary words; only a stand-alone
    // occurrence can be the password.
    const QByteArray refusal = R"({"success":false,"message":"密码长度至少为6位"})";
    server.scriptNext(reply(200, refusal));
    LogCapture logs;
    const auto error = await(client->createOrGetUser(u"p@x.io"_s, u"小明"_s, u"🐼"_s, u"6"_s)).apiError();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->errorDescription().toStdString(), "服务器错误: 密码长度至少为6位");
    EXPECT_TRUE(logs.has(u"📥 响应内容: "_s + QString::fromUtf8(refusal), api))
        << logs.lines(api).join(u'\n').toStdString();
    EXPECT_TRUE(logs.has(u"📥 收到响应: success=false, message=密码长度至少为6位"_s, api));
}

TEST_F(ServerFixture, BodyLineShowsTheJsonAsSent)
{
    const qint64 id = server.state().addUser(u"a@x.io"_s, u"阿猫"_s, u"🐱"_s, u"pw"_s);
    LogCapture logs;
    ASSERT_TRUE(await(client->throwBottle(ThrowBottleRequest {
                          id, u"阿猫"_s, u"🐱"_s, u"\"引号\" 和 \\"_s, {}, BottleType::lucky, true }))
                    .ok());
    EXPECT_TRUE(logs.has(u"📤 请求体: "_s + QString::fromUtf8(server.lastRequest().body), api));
}

TEST_F(ServerFixture, ClientGoneWhileWaitingFailsTheCallInsteadOfHanging)
{
    server.scriptNext(ScriptedReply { std::nullopt, {}, 2000, false });
    auto task = client->getConversations(1);
    client.reset();
    const auto error = await(std::move(task)).apiError();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), APIError::Kind::networkError);
}

// The client holds a reply whole: past the limit the call fails as a network error instead
// of growing without end, and a long unexpected reply is logged once, cut to one line.
TEST_F(ServerFixture, HugeRepliesAreRefusedAndLongOnesLoggedOnceAndCut)
{
    server.scriptNext(reply(200, QByteArray(APIClient::maxReplyBytes + 1, ' ')));
    const auto refused = await(client->getConversations(1)).apiError();
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->kind(), APIError::Kind::networkError) << refused->debugDescription().toStdString();

    const QByteArray body = "{\"error\":\"" + QByteArray(900 * 1024, 'x') + "\"}";
    server.scriptNext(reply(500, body));
    LogCapture logs;
    const auto error = await(client->getConversations(1)).apiError();
    ASSERT_TRUE(error);
    const QString total = u"…(共 "_s + QString::number(body.size()) + u" 字节)"_s;
    EXPECT_TRUE(error->detail().startsWith(u"{\"error\":\"xxx"_s) && error->detail().endsWith(total));
    EXPECT_LE(error->detail().size(), APIClient::maxErrorMessageBytes + total.size());
    EXPECT_EQ(logs.lines(api).filter(u"📥 响应内容: {\"error\":\"xxx"_s).size(), 1);
    qsizetype logged = 0;
    for (const QString& line : logs.lines())
        logged += line.toUtf8().size();
    EXPECT_LT(logged, LogManager::maxLineBytes + 3 * APIClient::maxErrorMessageBytes);
}
