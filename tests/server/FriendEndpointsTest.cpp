// The friend endpoints against the fake companion server: codes, adding, listing,
// deleting and messaging, with the reply records' own refusal rules.
#include "ServerTestSupport.h"

using namespace Qt::StringLiterals;

namespace {

const QString friendCategory = u"Friend"_s;

ScriptedReply reply(const QByteArray& body)
{
    return ScriptedReply { 200, body, 0, false };
}

} // namespace

TEST_F(ServerFixture, FriendJourneyThroughEveryFriendEndpoint)
{
    const qint64 alice = server.state().addUser(u"alice@x.io"_s, u"爱丽丝"_s, u"🐱"_s, u"pw"_s);
    const qint64 bob = server.state().addUser(u"bob@x.io"_s, u"鲍勃"_s, u"🐶"_s, u"pw"_s);
    LogCapture logs;

    signedInUser = alice;
    const auto code = await(client->generateFriendCode());
    ASSERT_TRUE(code.ok());
    expectRequest(server.lastRequest(), "POST", "/api/friends/generate-code", QJsonObject(), "1");
    EXPECT_EQ(server.lastRequest().body, "{}");
    EXPECT_EQ(logs.lines(friendCategory).first(), u"🔑 生成好友验证码"_s);
    EXPECT_TRUE(logs.has(u"📤 请求体: {}"_s, u"API"_s));
    EXPECT_TRUE(logs.has(u"✅ 验证码生成成功: "_s + *code.value, friendCategory));

    const auto mine = await(client->getMyCode());
    ASSERT_TRUE(mine.ok());
    expectRequest(server.lastRequest(), "GET", "/api/friends/my-code", std::nullopt, "1");
    EXPECT_EQ(*mine.value, code.value);
    EXPECT_TRUE(logs.has(u"✅ 获取验证码成功: "_s + *code.value, friendCategory));

    signedInUser = bob;
    const auto added = await(client->addFriendByCode(*code.value));
    ASSERT_TRUE(added.ok());
    expectRequest(server.lastRequest(), "POST", "/api/friends/add", QJsonObject { { u"code"_s, *code.value } }, "2");
    EXPECT_EQ(added.value->userId, alice);
    EXPECT_EQ(added.value->nickname, u"爱丽丝"_s);
    EXPECT_TRUE(logs.has(u"➕ 添加好友，验证码: "_s + *code.value, friendCategory));
    EXPECT_TRUE(logs.has(u"✅ 添加好友成功: 爱丽丝"_s, friendCategory));

    const auto list = await(client->getFriendList());
    ASSERT_TRUE(list.ok());
    expectRequest(server.lastRequest(), "GET", "/api/friends/list", std::nullopt, "2");
    ASSERT_EQ(list.value->size(), 1);
    EXPECT_EQ(list.value->first(), *added.value);
    EXPECT_TRUE(logs.has(u"📋 获取好友列表"_s, friendCategory));
    EXPECT_TRUE(logs.has(u"✅ 获取好友列表成功，共 1 人"_s, friendCategory));

    ASSERT_TRUE(await(client->sendFriendMessage(alice, u"在吗？"_s)).ok());
    expectRequest(server.lastRequest(), "POST", "/api/friends/messages/send",
        QJsonObject { { u"receiverId"_s, alice }, { u"content"_s, u"在吗？"_s } }, "2");
    EXPECT_EQ(server.state().messages().size(), 1);
    EXPECT_TRUE(logs.has(u"💬 发送消息给好友: 1"_s, friendCategory));
    EXPECT_TRUE(logs.has(u"✅ 消息发送成功"_s, friendCategory));

    const qint64 friendshipId = added.value->id;
    ASSERT_TRUE(await(client->deleteFriend(friendshipId)).ok());
    expectRequest(
        server.lastRequest(), "DELETE", "/api/friends/" + QByteArray::number(friendshipId), std::nullopt, "2");
    EXPECT_TRUE(logs.has(u"🗑️ 删除好友: "_s + QString::number(friendshipId), friendCategory));
    EXPECT_TRUE(logs.has(u"✅ 删除好友成功"_s, friendCategory));
    EXPECT_TRUE(server.state().friendships().isEmpty());
}

TEST_F(ServerFixture, FriendRefusalsBecomeTheirErrors)
{
    LogCapture logs;
    server.scriptNext(reply(R"({"success":true,"message":"稍后再试"})"));
    auto error = await(client->generateFriendCode()).apiError();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), APIError::Kind::invalidResponse);
    EXPECT_EQ(error->errorDescription(), u"无效的响应"_s);
    EXPECT_TRUE(logs.has(u"❌ 验证码生成失败"_s, friendCategory));

    server.scriptNext(reply(R"({"success":true,"message":"验证码无效或已过期"})"));
    error = await(client->addFriendByCode(u"000000"_s)).apiError();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->errorDescription(), u"服务器错误: 验证码无效或已过期"_s);
    EXPECT_TRUE(logs.has(u"❌ 添加好友失败: 验证码无效或已过期"_s, friendCategory));

    server.scriptNext(reply(R"({"success":false,"message":"好友关系不存在"})"));
    error = await(client->deleteFriend(99)).apiError();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->detail(), u"好友关系不存在"_s);
    EXPECT_TRUE(logs.has(u"❌ 删除好友失败: 好友关系不存在"_s, friendCategory));

    server.scriptNext(reply(R"({"success":false,"message":"对方不是你的好友","messageId":3})"));
    error = await(client->sendFriendMessage(9, u"hi"_s)).apiError();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->detail(), u"对方不是你的好友"_s);
    EXPECT_TRUE(logs.has(u"❌ 消息发送失败: 对方不是你的好友"_s, friendCategory));

    server.scriptNext(reply(R"({"success":true,"message":"ok"})"));
    EXPECT_TRUE(await(client->sendFriendMessage(9, u"hi"_s)).ok()) << "messageId and delivered are optional";

    server.scriptNext(ScriptedReply { 404, R"({"success":false,"message":"x"})", 0, false });
    EXPECT_EQ(await(client->addFriendByCode(u"1"_s)).apiError()->kind(), APIError::Kind::notFound)
        << "statuses fail before the reply rules";
}

TEST_F(ServerFixture, CurrentCodeMayBeAbsentOrRefused)
{
    const qint64 me = server.state().addUser(u"me@x.io"_s, u"我"_s, u"🐱"_s, u"pw"_s);
    signedInUser = me;
    LogCapture logs;
    auto code = await(client->getMyCode());
    ASSERT_TRUE(code.ok());
    EXPECT_FALSE(*code.value);
    EXPECT_TRUE(logs.has(u"✅ 获取验证码成功: 无"_s, friendCategory));

    server.scriptNext(reply(R"({"success":false,"code":"123456"})"));
    LogCapture refused;
    code = await(client->getMyCode());
    ASSERT_TRUE(code.ok());
    EXPECT_FALSE(*code.value);
    EXPECT_EQ(refused.lines(friendCategory), QStringList { u"🔍 获取当前验证码"_s });
}

TEST_F(ServerFixture, RefusedFriendListIsAnEmptyList)
{
    server.scriptNext(reply(R"({"success":false,"friends":[],"message":"服务繁忙"})"));
    LogCapture logs;
    const auto list = await(client->getFriendList());
    ASSERT_TRUE(list.ok());
    EXPECT_TRUE(list.value->isEmpty());
    EXPECT_TRUE(logs.has(u"❌ 获取好友列表失败"_s, friendCategory));
}
