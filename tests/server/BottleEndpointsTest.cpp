// The user, bottle and conversation endpoints against the fake companion server: the exact
// requests, the results, their own log lines, and the envelope rules of each endpoint.
#include "ServerTestSupport.h"

#include <QJsonArray>

using namespace Qt::StringLiterals;

namespace {

const QString api = u"API"_s;

ScriptedReply reply(int status, const QByteArray& body)
{
    return ScriptedReply { status, body, 0, false };
}

const QByteArray userData = R"({"id":5,"email":"u@x.io","nickname":"u","avatar_emoji":"🐱","level":1,"exp":0,
    "shells":0,"badges":[],"created_at":"2024-05-01T08:30:00Z","last_active_at":"2024-05-01T08:30:00Z",
    "updated_at":"2024-05-01T08:30:00Z","report_count":0,"is_banned":false})";

} // namespace

TEST_F(ServerFixture, BottleJourneyThroughEveryBottleEndpoint)
{
    const qint64 alice = server.state().addUser(u"alice@x.io"_s, u"爱丽丝"_s, u"🐱"_s, u"pw"_s);
    const qint64 bob = server.state().addUser(u"bob@x.io"_s, u"鲍勃"_s, u"🐶"_s, u"pw"_s);
    LogCapture logs;

    signedInUser = alice;
    const ThrowBottleRequest throwRequest { alice, u"爱丽丝"_s, u"🐱"_s, u"晚安，陌生人"_s, { u"晚安"_s },
        BottleType::wish, false };
    const auto thrown = await(client->throwBottle(throwRequest));
    ASSERT_TRUE(thrown.ok());
    expectRequest(server.lastRequest(), "POST", "/api/bottles/throw", throwRequest.toJson(), "1");
    EXPECT_EQ(thrown.value->content, u"晚安，陌生人"_s);
    EXPECT_EQ(thrown.value->bottleType, BottleType::wish);
    const QString bottleId = thrown.value->id;
    EXPECT_TRUE(logs.has(u"✅ 瓶子已丢出: "_s + bottleId, api));

    signedInUser = bob;
    const auto picked = await(client->pickRandomBottle(bob));
    ASSERT_TRUE(picked.ok());
    expectRequest(server.lastRequest(), "GET", "/api/bottles/pick?userId=2", std::nullopt, "2");
    EXPECT_EQ(picked.value->id, bottleId);
    EXPECT_EQ(picked.value->pickedBy, bob);
    EXPECT_TRUE(logs.has(u"✅ 捡到瓶子: "_s + bottleId, api));

    const ReplyBottleRequest replyRequest { bottleId, bob, alice, u"你好呀"_s };
    const auto replied = await(client->replyToBottle(replyRequest));
    ASSERT_TRUE(replied.ok());
    expectRequest(server.lastRequest(), "POST", "/api/bottles/reply", replyRequest.toJson(), "2");
    EXPECT_EQ(replied.value->originalBottleId, bottleId);
    EXPECT_TRUE(logs.has(u"✅ 回复已发送: "_s + replied.value->id, api));

    const auto conversations = await(client->getConversations(bob));
    ASSERT_TRUE(conversations.ok());
    expectRequest(server.lastRequest(), "GET", "/api/bottles/conversations?userId=2", std::nullopt, "2");
    ASSERT_EQ(conversations.value->size(), 1);
    EXPECT_EQ(conversations.value->first().conversationType, ConversationType::received);
    EXPECT_EQ(conversations.value->first().otherUserName, u"爱丽丝"_s);
    EXPECT_TRUE(logs.has(u"✅ 获取到 1 个对话"_s, api));

    signedInUser = alice;
    const auto history = await(client->getConversationHistory(bottleId, alice));
    ASSERT_TRUE(history.ok());
    expectRequest(server.lastRequest(), "GET",
        "/api/bottles/conversation-history?bottleId=" + bottleId.toUtf8() + "&userId=1", std::nullopt, "1");
    EXPECT_EQ(history.value->bottle.id, bottleId);
    ASSERT_EQ(history.value->replies.size(), 1);
    EXPECT_EQ(history.value->replies.first().content, u"你好呀"_s);
    EXPECT_TRUE(logs.has(u"✅ 获取对话历史: 1 条回复"_s, api));

    const auto sent = await(client->getMySentBottles(alice));
    ASSERT_TRUE(sent.ok());
    expectRequest(server.lastRequest(), "GET", "/api/bottles/sent?userId=1", std::nullopt, "1");
    EXPECT_EQ(sent.value->size(), 1);
    EXPECT_TRUE(logs.has(u"✅ 获取到 1 个已发送瓶子"_s, api));

    signedInUser = bob;
    const auto received = await(client->getMyReceivedBottles(bob));
    ASSERT_TRUE(received.ok());
    expectRequest(server.lastRequest(), "GET", "/api/bottles/received?userId=2", std::nullopt, "2");
    EXPECT_EQ(received.value->size(), 1);
    EXPECT_TRUE(logs.has(u"✅ 获取到 1 个已接收瓶子"_s, api));

    ASSERT_TRUE(await(client->deleteConversation(bob, bottleId)).ok());
    expectRequest(server.lastRequest(), "POST", "/api/bottles/delete-conversation",
        QJsonObject { { u"userId"_s, bob }, { u"bottleId"_s, bottleId } }, "2");
    EXPECT_TRUE(logs.has(u"✅ 对话已删除: "_s + bottleId, api));
    EXPECT_TRUE(await(client->getConversations(bob)).value->isEmpty());
}

TEST_F(ServerFixture, ProfileUpdateSendsOnlyTheGivenFields)
{
    const qint64 id = server.state().addUser(u"alice@x.io"_s, u"爱丽丝"_s, u"🐱"_s, u"pw"_s);
    signedInUser = id;
    LogCapture logs;
    const auto updated = await(client->updateUser(id, UpdateUserRequest { u"艾丽"_s, {}, u"爱猫"_s }));
    ASSERT_TRUE(updated.ok());
    expectRequest(server.lastRequest(), "PUT", "/api/users/1",
        QJsonObject { { u"nickname"_s, u"艾丽"_s }, { u"bio"_s, u"爱猫"_s } }, "1");
    EXPECT_EQ(updated.value->nickname, u"艾丽"_s);
    EXPECT_EQ(updated.value->avatarEmoji, u"🐱"_s);
    EXPECT_TRUE(logs.has(u"✅ 用户信息更新成功"_s, api));

    server.scriptNext(reply(200, R"({"success":true,"message":"没有变化"})"));
    const auto error = await(client->updateUser(id, UpdateUserRequest {})).apiError();
    ASSERT_TRUE(error);
    EXPECT_EQ(server.lastRequest().body, "{}");
    EXPECT_EQ(error->kind(), APIError::Kind::serverError);
    EXPECT_EQ(error->errorDescription(), u"服务器错误: 没有变化"_s);
}

TEST_F(ServerFixture, CheckEmailTellsKnownFromNewAndRethrowsTheRest)
{
    server.state().addUser(u"known@x.io"_s, u"老朋友"_s, u"🐱"_s, u"pw"_s);
    LogCapture logs;
    auto result = await(client->checkEmail(u"known@x.io"_s));
    ASSERT_TRUE(result.ok());
    EXPECT_TRUE(result.value->exists);
    EXPECT_EQ(result.value->user->nickname, u"老朋友"_s);
    expectRequest(server.lastRequest(), "GET", "/api/users/check-email?email=known@x.io", std::nullopt, "");
    EXPECT_EQ(logs.lines(api).first(), u"🔍 检查邮箱: known@x.io"_s);
    EXPECT_TRUE(logs.has(u"✅ 邮箱已存在"_s, api));

    LogCapture logs404;
    result = await(client->checkEmail(u"new@x.io"_s));
    ASSERT_TRUE(result.ok()) << "the server's 404 means a new address";
    EXPECT_FALSE(result.value->exists);
    EXPECT_TRUE(logs404.has(u"📝 邮箱不存在（新用户）"_s, api));

    server.scriptNext(reply(200, R"({"success":false,"message":"no","data":)" + userData + "}"));
    result = await(client->checkEmail(u"x@x.io"_s));
    ASSERT_TRUE(result.ok());
    EXPECT_FALSE(result.value->exists) << "a refusal with data is still no account";
    EXPECT_FALSE(result.value->user);

    server.scriptNext(reply(500, R"({"error":"db down"})"));
    LogCapture logs500;
    const auto error = await(client->checkEmail(u"x@x.io"_s)).apiError();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), APIError::Kind::serverError);
    EXPECT_EQ(error->detail(), u"{\"error\":\"db down\"}"_s);
    EXPECT_TRUE(logs500.has(u"❌ 检查邮箱失败: serverError(\"{\"error\":\"db down\"}\")"_s, api));
}

TEST_F(ServerFixture, SignInCallLogsAroundTheRequestAndTrustsOnlyData)
{
    LogCapture logs;
    const auto created = await(client->createOrGetUser(u"new@x.io"_s, u"新人"_s, u"🐰"_s, u"pw1"_s));
    ASSERT_TRUE(created.ok());
    expectRequest(server.lastRequest(), "POST", "/api/users/auth",
        QJsonObject { { u"email"_s, u"new@x.io"_s }, { u"nickname"_s, u"新人"_s }, { u"avatarEmoji"_s, u"🐰"_s },
            { u"password"_s, u"pw1"_s } },
        "");
    const QStringList lines = logs.lines(api);
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines.mid(0, 5),
        (QStringList { u"📡 APIClient.createOrGetUser 开始"_s, u"   email: new@x.io"_s, u"   nickname: 新人"_s,
            u"   avatarEmoji: 🐰"_s, u"📤 准备发送 POST /users/auth"_s }));
    EXPECT_TRUE(logs.has(u"📥 收到响应: success=true, message=注册成功"_s, api));
    EXPECT_TRUE(logs.has(u"✅ 用户创建/获取成功: new@x.io"_s, api));

    server.scriptNext(reply(200, R"({"success":false,"message":"奇怪","data":)" + userData + "}"));
    const auto refusedWithData = await(client->createOrGetUser(u"u@x.io"_s, u"u"_s, u"🐱"_s, u"pw"_s));
    ASSERT_TRUE(refusedWithData.ok()) << "success is not consulted when data is there";
    EXPECT_EQ(refusedWithData.value->id, 5);

    server.scriptNext(reply(200, R"({"success":true,"message":"账号已冻结"})"));
    LogCapture failLogs;
    const auto error = await(client->createOrGetUser(u"u@x.io"_s, u"u"_s, u"🐱"_s, u"pw"_s)).apiError();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->errorDescription(), u"服务器错误: 账号已冻结"_s);
    const QStringList failLines = failLogs.lines(api);
    const qsizetype at = failLines.indexOf(u"❌ 响应中没有用户数据"_s);
    ASSERT_GE(at, 0);
    EXPECT_EQ(failLines.mid(at + 1, 2),
        (QStringList {
            u"❌ createOrGetUser 失败: 服务器错误: 账号已冻结"_s, u"❌ 错误详情: serverError(\"账号已冻结\")"_s }));

    server.scriptNext(reply(401, R"({"success":false,"message":"密码错误"})"));
    LogCapture unauthorized;
    EXPECT_EQ(await(client->createOrGetUser(u"u@x.io"_s, u"u"_s, u"🐱"_s, u"bad"_s)).apiError()->kind(),
        APIError::Kind::unauthorized);
    EXPECT_TRUE(unauthorized.has(u"❌ createOrGetUser 失败: 未授权"_s, api));
    EXPECT_TRUE(unauthorized.has(u"❌ 错误详情: unauthorized"_s, api));
}

TEST_F(ServerFixture, EnvelopeRulesOfTheBottleEndpoints)
{
    // A pick without a bottle is the no-bottle error, whether by status or by a null data.
    EXPECT_EQ(await(client->pickRandomBottle(1)).apiError()->kind(), APIError::Kind::notFound);
    server.scriptNext(reply(200, R"({"success":true,"message":"空","data":null})"));
    const auto empty = await(client->pickRandomBottle(1)).apiError();
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->errorDescription(), u"没有挖到瓶子，你先丢个瓶子出去吧！"_s);

    LogCapture logs;
    server.scriptNext(reply(200, R"({"success":true,"message":"ok","data":[]})"));
    EXPECT_TRUE(await(client->getMySentBottles(1)).value->isEmpty());
    EXPECT_TRUE(logs.has(u"✅ 获取到 0 个已发送瓶子"_s, api));

    server.scriptNext(reply(200, R"({"success":false,"message":"列表暂不可用"})"));
    const auto noList = await(client->getMyReceivedBottles(1)).apiError();
    ASSERT_TRUE(noList);
    EXPECT_EQ(noList->errorDescription(), u"服务器错误: 列表暂不可用"_s);

    server.scriptNext(reply(200, R"({"success":true,"message":"ok"})"));
    EXPECT_TRUE(await(client->deleteConversation(1, u"b1"_s)).ok()) << "data is not looked at";
    server.scriptNext(reply(200, R"({"success":false,"message":"不能删除","data":{}})"));
    EXPECT_EQ(await(client->deleteConversation(1, u"b1"_s)).apiError()->detail(), u"不能删除"_s);

    server.scriptNext(reply(400, R"({"success":false,"message":"内容包含敏感词，请修改后再发送"})"));
    const auto moderated = await(client->replyToBottle(ReplyBottleRequest { u"b1"_s, 1, 2, u"违禁词"_s })).apiError();
    ASSERT_TRUE(moderated);
    EXPECT_TRUE(moderated->errorDescription().contains(u"敏感词"_s));
}
