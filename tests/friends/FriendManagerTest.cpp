// The friend list, codes and pins against the fake companion server.
#include "FriendsFixture.h"
#include "support/LogLines.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

namespace {

QJsonObject friendJson(qint64 id, const QString& nickname, const QString& since)
{
    return QJsonObject { { u"id"_s, id }, { u"friend_id"_s, id + 100 }, { u"nickname"_s, nickname },
        { u"avatar_emoji"_s, u"🐱"_s }, { u"friend_since"_s, since } };
}

ScriptedReply listReply(const QList<QJsonObject>& friends)
{
    QJsonArray array;
    for (const QJsonObject& f : friends)
        array.append(f);
    return ScriptedReply { 200,
        QJsonDocument(QJsonObject { { u"success"_s, true }, { u"friends"_s, array } }).toJson() };
}

ScriptedReply addReply(const QJsonObject& friendRecord)
{
    return ScriptedReply { 200,
        QJsonDocument(QJsonObject { { u"success"_s, true }, { u"message"_s, u"ok"_s }, { u"friend"_s, friendRecord } })
            .toJson() };
}

QList<qint64> ids(const QList<Friend>& friends)
{
    QList<qint64> out;
    for (const Friend& f : friends)
        out.append(f.id);
    return out;
}

class FriendList : public FriendsFixture
{
protected:
    void SetUp() override
    {
        FriendsFixture::SetUp();
        signIn();
        manager = std::make_unique<FriendManager>(*client, *defaults);
    }

    /// A, then C, then B in server order; B and C share their date.
    void loadThree()
    {
        server.scriptNext(listReply({ friendJson(1, u"A"_s, u"2024-01-01T00:00:00Z"_s),
            friendJson(3, u"C"_s, u"2024-03-01T00:00:00Z"_s), friendJson(2, u"B"_s, u"2024-03-01T00:00:00Z"_s) }));
        ASSERT_TRUE(await(manager->fetchFriendList()).ok());
        ASSERT_EQ(ids(manager->friends()), (QList<qint64> { 1, 3, 2 }));
    }

    std::unique_ptr<FriendManager> manager;
};

} // namespace

TEST_F(FriendList, PinsAreStoredAndSurviveARestart)
{
    manager->togglePinFriend(7);
    manager->togglePinFriend(3);
    EXPECT_EQ(defaults->value(FriendManager::pinnedFriendsKey), (QJsonArray { 3, 7 }));
    manager->togglePinFriend(7);
    EXPECT_EQ(defaults->value(FriendManager::pinnedFriendsKey), (QJsonArray { 3 }));

    ASSERT_TRUE(defaults->flush());
    Defaults relaunched(defaults->filePath());
    const FriendManager next(*client, relaunched);
    EXPECT_EQ(next.pinnedFriendIds(), QSet<qint64> { 3 });

    manager->togglePinFriend(3);
    EXPECT_EQ(defaults->value(FriendManager::pinnedFriendsKey), QJsonArray());
}

TEST_F(FriendList, StoredPinsKeepEveryReadableIdAndSaySoOfTheRest)
{
    const struct
    {
        QJsonValue stored;
        QSet<qint64> pins;
        QJsonArray afterPinningFive;
    } cases[] = {
        { QJsonArray { 1, u"x"_s, 3 }, { 1, 3 }, { 1, 3, 5 } },
        { QJsonArray { 1.5 }, {}, { 5 } },
        { u"3"_s, {}, { 5 } },
        { QJsonObject { { u"a"_s, 1 } }, {}, { 5 } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QJsonDocument(QJsonArray { c.stored }).toJson().toStdString());
        const auto skippedLines
            = [] { return loggedLines(u"Friend"_s).filter(u"⚠️ 跳过无法读取的置顶好友: "_s).size(); };
        const qsizetype before = skippedLines();
        defaults->setValue(FriendManager::pinnedFriendsKey, c.stored);
        FriendManager fresh(*client, *defaults);
        EXPECT_EQ(fresh.pinnedFriendIds(), c.pins);
        EXPECT_EQ(skippedLines(), before + 1);
        fresh.togglePinFriend(5);
        EXPECT_EQ(defaults->value(FriendManager::pinnedFriendsKey), c.afterPinningFive);
    }
}

TEST_F(FriendList, PinnedFriendsAreNewestFirstWithTiesInListOrder)
{
    loadThree();
    for (qint64 id : { 1, 2, 3, 99 })
        manager->togglePinFriend(id);
    // C is listed before B, so it stays before B on their shared date; 99 is nobody listed.
    EXPECT_EQ(ids(manager->getPinnedFriends()), (QList<qint64> { 3, 2, 1 }));
}

TEST_F(FriendList, AddingByCodeKeepsOneEntryPerFriendAndSortsByDate)
{
    loadThree();
    QSignalSpy changed(manager.get(), &FriendManager::friendsChanged);

    // Already listed: returned, the list untouched.
    server.scriptNext(addReply(friendJson(3, u"C 改名"_s, u"2024-03-01T00:00:00Z"_s)));
    const auto again = await(manager->addFriend(u"482913"_s));
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again.value->id, 3);
    EXPECT_EQ(ids(manager->friends()), (QList<qint64> { 1, 3, 2 }));
    EXPECT_EQ(changed.size(), 0);

    // New: the whole list ends newest first.
    server.scriptNext(addReply(friendJson(4, u"D"_s, u"2024-02-01T00:00:00Z"_s)));
    ASSERT_TRUE(await(manager->addFriend(u"482914"_s)).ok());
    EXPECT_EQ(ids(manager->friends()), (QList<qint64> { 3, 2, 4, 1 }));

    // A refusal is passed on; the list stays.
    const auto refused = await(manager->addFriend(u"000000"_s));
    ASSERT_TRUE(refused.apiError());
    EXPECT_EQ(refused.apiError()->kind(), APIError::Kind::serverError);
    EXPECT_EQ(manager->friends().size(), 4);

    // The next load is the server's order again.
    loadThree();
}

TEST_F(FriendList, FailedLoadKeepsTheOldListAndEndsLoading)
{
    loadThree();
    QSignalSpy loading(manager.get(), &FriendManager::isLoadingChanged);
    const ScriptedReply failures[] = { ScriptedReply { 500, "{}" }, ScriptedReply { 404, "{}" },
        ScriptedReply { 200, R"({"success":false,"message":"拒绝"})" }, ScriptedReply { 200, "not json" } };
    for (const ScriptedReply& failure : failures) {
        server.scriptNext(failure);
        EXPECT_TRUE(await(manager->fetchFriendList()).ok());
        EXPECT_FALSE(manager->isLoading());
        EXPECT_EQ(ids(manager->friends()), (QList<qint64> { 1, 3, 2 }));
    }
    EXPECT_EQ(loading.size(), 8);

    // A refusal that names an empty list is that list.
    server.scriptNext(ScriptedReply { 200, R"({"success":false,"friends":[]})" });
    EXPECT_TRUE(await(manager->fetchFriendList()).ok());
    EXPECT_TRUE(manager->friends().isEmpty());
}

TEST_F(FriendList, CodesComeAndGo)
{
    const auto code = await(manager->generateVerificationCode());
    ASSERT_TRUE(code.ok());
    EXPECT_EQ(manager->currentVerificationCode(), *code.value);

    // A failed query keeps the code; an answer without one clears it.
    server.scriptNext(ScriptedReply { 500, "{}" });
    EXPECT_TRUE(await(manager->fetchCurrentCode()).ok());
    EXPECT_EQ(manager->currentVerificationCode(), *code.value);
    const LogCapture log;
    server.scriptNext(ScriptedReply { 200, R"({"success":true,"code":null})" });
    EXPECT_TRUE(await(manager->fetchCurrentCode()).ok());
    EXPECT_FALSE(manager->currentVerificationCode());
    EXPECT_TRUE(log.has(u"📝 当前无验证码"_s, u"Friend"_s));

    server.scriptNext(ScriptedReply { 500, "{}" });
    EXPECT_TRUE(await(manager->generateVerificationCode()).apiError());
    EXPECT_FALSE(manager->currentVerificationCode());
}

TEST_F(FriendList, DeletingRemovesTheFriendButNotThePin)
{
    const qint64 bob = server.state().addUser(u"bob@x.io"_s, u"鲍勃"_s, u"🐶"_s, u"pw"_s);
    server.state().befriend(users->currentUser()->id, bob);
    ASSERT_TRUE(await(manager->fetchFriendList()).ok());
    ASSERT_EQ(manager->friends().size(), 1);
    const Friend friendRecord = manager->friends().first();
    manager->togglePinFriend(friendRecord.id);

    server.scriptNext(ScriptedReply { 500, "{}" });
    EXPECT_TRUE(await(manager->deleteFriend(friendRecord)).apiError());
    EXPECT_EQ(manager->friends().size(), 1);

    ASSERT_TRUE(await(manager->deleteFriend(friendRecord)).ok());
    EXPECT_TRUE(manager->friends().isEmpty());
    EXPECT_TRUE(server.state().friendships().isEmpty());
    EXPECT_TRUE(manager->pinnedFriendIds().contains(friendRecord.id));
}

// The manager says each step in lines of its own around what the client says of the same
// request: its first line before the client's, its outcome after the client's.
TEST_F(FriendList, TheManagerLogsItsOwnLinesAroundTheClients)
{
    const LogCapture log;
    server.scriptNext(listReply({ friendJson(1, u"A"_s, u"2024-01-01T00:00:00Z"_s) }));
    ASSERT_TRUE(await(manager->fetchFriendList()).ok());
    const auto code = await(manager->generateVerificationCode());
    ASSERT_TRUE(code.ok());
    server.scriptNext(addReply(friendJson(4, u"D"_s, u"2024-02-01T00:00:00Z"_s)));
    const auto added = await(manager->addFriend(u"482999"_s));
    ASSERT_TRUE(added.ok());
    server.scriptNext(ScriptedReply { 200, R"({"success":true,"message":"ok"})" });
    ASSERT_TRUE(await(manager->deleteFriend(*added.value)).ok());

    const QString codeLine = u"✅ 验证码生成成功: "_s + *code.value;
    const QStringList expected { u"📋 获取好友列表"_s, u"📋 获取好友列表"_s, u"✅ 获取好友列表成功，共 1 人"_s,
        u"✅ 好友列表获取成功，共 1 人"_s, u"🔑 生成好友验证码"_s, u"🔑 生成好友验证码"_s, codeLine, codeLine,
        u"➕ 添加好友，验证码: 482999"_s, u"➕ 添加好友，验证码: 482999"_s, u"✅ 添加好友成功: D"_s,
        u"✅ 添加好友成功: D"_s, u"🗑️ 删除好友: D"_s, u"🗑️ 删除好友: 4"_s, u"✅ 删除好友成功"_s,
        u"✅ 删除好友成功"_s };
    EXPECT_EQ(log.lines(u"Friend"_s), expected) << log.lines(u"Friend"_s).join(u" | "_s).toStdString();
}

namespace {

class FriendsSignedOut : public FriendsFixture
{
};

} // namespace

// Without a signed-in user no friend request goes out: the fetches keep what they hold and
// say nothing, the others fail as the server's refusal would, and no refusal is logged.
TEST_F(FriendsSignedOut, NoRequestGoesOutWithoutAUser)
{
    FriendManager manager(*client, *defaults);
    Friend bob;
    bob.id = 7;
    bob.userId = 8;
    bob.nickname = u"鲍勃"_s;
    const LogCapture log;
    QSignalSpy loading(&manager, &FriendManager::isLoadingChanged);
    EXPECT_TRUE(await(manager.fetchFriendList()).ok());
    EXPECT_TRUE(await(manager.fetchCurrentCode()).ok());
    EXPECT_EQ(loading.size(), 0);
    const struct
    {
        const char* what;
        std::optional<APIError> error;
    } refused[] = {
        { "generate", await(manager.generateVerificationCode()).apiError() },
        { "add", await(manager.addFriend(u"123456"_s)).apiError() },
        { "delete", await(manager.deleteFriend(bob)).apiError() },
        { "send", await(messages->sendMessage(bob.userId, u"喵"_s)).apiError() },
    };
    for (const auto& row : refused) {
        SCOPED_TRACE(row.what);
        ASSERT_TRUE(row.error);
        EXPECT_EQ(row.error->kind(), APIError::Kind::unauthorized);
    }
    EXPECT_TRUE(server.requests().isEmpty()) << server.requests().constFirst().path.toStdString();
    EXPECT_FALSE(log.anyContains(u"401"_s)) << log.lines().join(u" | "_s).toStdString();
    EXPECT_FALSE(log.anyContains(u"📋 获取好友列表"_s));
}
