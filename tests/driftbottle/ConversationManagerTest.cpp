// The conversation manager against the fake companion server: list, history and delete
// requests, the window's three chains, the periodic refresh and the selection.
#include "DriftBottleRig.h"

#include <QJsonArray>
#include <QSignalSpy>
#include <QTest>

#include "support/LogLines.h"
#include "support/Wait.h"

using namespace Qt::StringLiterals;

namespace {

const QString conversation = u"Conversation"_s;

QStringList bottleIds(const QList<Conversation>& list)
{
    QStringList out;
    for (const Conversation& c : list)
        out.append(c.bottleId);
    return out;
}

QStringList contents(const QList<ChatMessage>& lines)
{
    QStringList out;
    for (const ChatMessage& m : lines)
        out.append(m.content);
    return out;
}

/// Alice signed in; Bob threw a bottle that Alice picked, and one that is still floating.
class Conversations : public DriftBottleRig
{
protected:
    void SetUp() override
    {
        DriftBottleRig::SetUp();
        bob = server.state().addUser(u"bob@x.io"_s, u"鲍勃"_s, u"🐶"_s, u"pw"_s);
        alice = signIn();
        picked = server.state().addBottle(bob, u"有人吗"_s);
        server.state().pickBottle(picked, alice);
        floating = server.state().addBottle(bob, u"还在漂"_s);
        mine = server.state().addBottle(alice, u"我的瓶子"_s);
        id = QByteArray::number(alice);
    }

    [[nodiscard]] int requestsTo(const QString& path) const
    {
        return static_cast<int>(std::count_if(server.requests().cbegin(), server.requests().cend(),
            [&](const RecordedRequest& r) { return r.path == path; }));
    }

    const Conversation& find(const QString& bottleId) const
    {
        for (const Conversation& c : conversations->conversations())
            if (c.bottleId == bottleId)
                return c;
        ADD_FAILURE() << "no conversation " << bottleId.toStdString();
        return conversations->conversations().first();
    }

    qint64 alice = 0, bob = 0;
    QString picked, floating, mine;
    QByteArray id;
};

} // namespace

TEST_F(Conversations, RefreshHistoryAndDeleteRequests)
{
    LogCapture logs;
    ASSERT_TRUE(await(conversations->refreshConversations()).ok());
    expectRequest(server.lastRequest(), "GET", "/api/bottles/conversations?userId=" + id, std::nullopt, id);
    EXPECT_EQ(bottleIds(conversations->conversations()), (QStringList { mine, picked }));
    EXPECT_TRUE(logs.has(u"✅ 刷新对话列表成功: 2 个对话"_s, conversation));

    server.state().addReply(picked, alice, bob, u"我在"_s);
    server.state().addReply(picked, bob, alice, u"你好"_s);
    conversations->selectConversation(find(picked));
    ASSERT_TRUE(waitUntil([&] { return conversations->chatMessages().size() == 3; }));
    expectRequest(server.lastRequest(), "GET",
        "/api/bottles/conversation-history?bottleId=" + picked.toUtf8() + "&userId=" + id, std::nullopt, id);
    const QList<ChatMessage>& lines = conversations->chatMessages();
    EXPECT_EQ(contents(lines), (QStringList { u"有人吗"_s, u"我在"_s, u"你好"_s }));
    // Only the bottle's own line carries a name and an emoji.
    EXPECT_EQ(lines[0].senderName, u"鲍勃"_s);
    EXPECT_EQ(lines[0].senderEmoji, u"🐶"_s);
    EXPECT_TRUE(lines[1].senderName.isEmpty() && lines[2].senderEmoji.isEmpty());
    EXPECT_EQ((QList<bool> { lines[0].isFromMe, lines[1].isFromMe, lines[2].isFromMe }),
        (QList<bool> { false, true, false }));
    EXPECT_TRUE(logs.has(u"✅ 加载对话历史成功: 3 条消息"_s, conversation));

    ASSERT_TRUE(await(conversations->deleteConversation(picked)).ok());
    expectRequest(server.lastRequest(), "POST", "/api/bottles/delete-conversation",
        QJsonObject { { u"userId"_s, alice }, { u"bottleId"_s, picked } }, id);
    EXPECT_EQ(bottleIds(conversations->conversations()), QStringList { mine });
    // The window, not the manager, lets go of a deleted selection.
    EXPECT_EQ(conversations->currentConversation()->bottleId, picked);
    EXPECT_EQ(conversations->chatMessages().size(), 3);
    EXPECT_TRUE(logs.has(u"🗑️ 开始删除对话: "_s + picked, conversation));
    EXPECT_TRUE(logs.has(u"✅ 对话已删除（服务器+本地）"_s, conversation));
}

TEST_F(Conversations, OfflineCallsFailWithoutARequest)
{
    users->setUserMode(UserMode::offline);
    const qsizetype before = requestCount();
    EXPECT_EQ(await(conversations->refreshConversations()).apiError()->kind(), APIError::Kind::offlineMode);
    EXPECT_EQ(await(conversations->loadConversationHistory(picked)).apiError()->kind(), APIError::Kind::offlineMode);
    EXPECT_EQ(await(conversations->deleteConversation(picked)).apiError()->kind(), APIError::Kind::offlineMode);
    Conversation c;
    c.bottleId = picked;
    conversations->selectConversation(c); // the failed load is swallowed
    settle();
    EXPECT_EQ(conversations->currentConversation()->bottleId, picked);
    EXPECT_EQ(requestCount(), before);
    EXPECT_FALSE(conversations->lastError());
}

TEST_F(Conversations, BadListKeepsTheOldOneAndReportsTheError)
{
    ASSERT_TRUE(await(conversations->refreshConversations()).ok());
    const QStringList shown = bottleIds(conversations->conversations());
    const ScriptedReply bad[] = {
        // One element without its time fails the whole list.
        { 200,
            R"({"success":true,"message":"ok","data":[{"bottle_id":"b","last_message":"x","status":"picked","has_reply":1}]})",
            0, false },
        { 503, "<html><h1>Service Unavailable</h1></html>", 0, false },
    };
    for (const ScriptedReply& reply : bad) {
        server.scriptNext(reply);
        LogCapture logs;
        const auto refreshed = await(conversations->refreshConversations());
        ASSERT_FALSE(refreshed.ok());
        EXPECT_EQ(bottleIds(conversations->conversations()), shown);
        ASSERT_TRUE(conversations->lastError());
        EXPECT_EQ(conversations->lastError()->kind(), refreshed.apiError()->kind());
        EXPECT_TRUE(logs.has(u"❌ 刷新对话列表失败: "_s + refreshed.apiError()->errorDescription(), conversation));
        settle();
        EXPECT_FALSE(conversations->isLoading());
    }
}

TEST_F(Conversations, PickChainStopsAtTheFirstFailure)
{
    // The pick fails: no refresh is asked for.
    server.scriptNext({ 404, R"({"success":false,"message":"没有"})", 0, false });
    qsizetype before = requestCount();
    EXPECT_EQ(await(conversations->pickBottle()).apiError()->kind(), APIError::Kind::notFound);
    EXPECT_EQ(requestCount(), before + 1);

    // The refresh fails: its error is the one thrown; the bottle is already received.
    server.scriptNext({});
    server.scriptNext({ 500, "boom", 0, false });
    const auto failed = await(conversations->pickBottle());
    EXPECT_EQ(failed.apiError()->kind(), APIError::Kind::serverError);
    EXPECT_EQ(bottles->receivedBottles().first().id, floating);
    EXPECT_EQ(server.lastRequest().path, u"/api/bottles/conversations"_s);

    server.state().addBottle(bob, u"第三个"_s);
    const auto ok = await(conversations->pickBottle());
    ASSERT_TRUE(ok.ok());
    EXPECT_EQ(conversations->conversations().first().bottleId, ok.value->id);
}

TEST_F(Conversations, ReplyChainStopsAtTheFirstFailure)
{
    ASSERT_TRUE(await(conversations->refreshConversations()).ok());
    conversations->selectConversation(find(picked));
    ASSERT_TRUE(waitUntil([&] { return conversations->chatMessages().size() == 1; }));

    const struct
    {
        int failingStep; // 0 the reply, 1 the history, 2 the list; -1 none
        QStringList paths;
    } cases[] = {
        { 0, { u"/api/bottles/reply"_s } },
        { 1, { u"/api/bottles/reply"_s, u"/api/bottles/conversation-history"_s } },
        { 2, { u"/api/bottles/reply"_s, u"/api/bottles/conversation-history"_s, u"/api/bottles/conversations"_s } },
        { -1, { u"/api/bottles/reply"_s, u"/api/bottles/conversation-history"_s, u"/api/bottles/conversations"_s } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failingStep);
        for (int step = 0; step < c.failingStep; ++step)
            server.scriptNext({});
        if (c.failingStep >= 0)
            server.scriptNext({ 500, "step failed", 0, false });
        const qsizetype before = requestCount();
        const auto sent = await(conversations->sendReply(picked, bob, u"回复"_s));
        EXPECT_EQ(sent.ok(), c.failingStep < 0);
        QStringList paths;
        for (qsizetype i = before; i < requestCount(); ++i)
            paths.append(server.requests()[i].path);
        EXPECT_EQ(paths, c.paths);
    }
    EXPECT_EQ(conversations->chatMessages().last().content, u"回复"_s);
    EXPECT_TRUE(conversations->chatMessages().last().isFromMe);
}

TEST_F(Conversations, ThrowIsNotReportedAsFailedWhenOnlyTheReloadFails)
{
    // The throw itself fails.
    LogCapture failLogs;
    server.scriptNext({ 500, "boom", 0, false });
    const auto failed = await(conversations->sendNewBottle(u"丢不出去"_s));
    EXPECT_EQ(failed.apiError()->kind(), APIError::Kind::serverError);
    EXPECT_TRUE(failLogs.has(u"❌ 丢瓶子失败: 服务器错误: boom"_s, conversation));
    EXPECT_EQ(server.lastRequest().path, u"/api/bottles/throw"_s);

    // The throw works and the reload fails: the bottle is out, so the call succeeds.
    server.scriptNext({});
    server.scriptNext({ 500, "boom", 0, false });
    LogCapture logs;
    const qsizetype before = requestCount();
    const auto thrown = await(conversations->sendNewBottle(u"丢出去了"_s));
    ASSERT_TRUE(thrown.ok()) << errorText(thrown).toStdString();
    EXPECT_EQ(requestCount(), before + 2);
    EXPECT_EQ(bottles->sentBottles().first().id, thrown.value->id);
    EXPECT_TRUE(logs.has(u"✅ 瓶子已丢出: "_s + thrown.value->id, conversation));
    EXPECT_FALSE(logs.has(u"❌ 丢瓶子失败: 服务器错误: boom"_s, conversation));

    // Offline, the bottle is kept here and the reload cannot run: still a success.
    users->setUserMode(UserMode::offline);
    const auto local = await(conversations->sendNewBottle(u"本地的"_s));
    ASSERT_TRUE(local.ok());
    // The store keeps the whole sent list, the bottle thrown online included.
    const QJsonArray stored = defaults->value(DriftBottleManager::offlineSentBottlesKey).toArray();
    ASSERT_EQ(stored.size(), 2);
    EXPECT_EQ(stored.first().toObject().value(u"id"_s).toString(), local.value->id);
}

TEST_F(Conversations, AutoRefreshRunsOneTimerOnlyWhileAskedFor)
{
    LogCapture logs;
    conversations->startAutoRefresh();
    conversations->startAutoRefresh();
    EXPECT_EQ(timers.running(), QList<int> { 5000 });
    EXPECT_TRUE(conversations->isAutoRefreshing());
    EXPECT_EQ(logs.lines(conversation),
        (QStringList { u"🚀 启动对话列表自动刷新，间隔: 5.0秒"_s, u"⚠️ 自动刷新已在运行"_s }));

    refreshTick();
    ASSERT_TRUE(waitUntil([&] { return conversations->conversations().size() == 2; }));
    EXPECT_TRUE(logs.has(u"✅ 自动刷新成功: 2 个对话"_s, conversation));
    EXPECT_FALSE(conversations->isLoading()); // the periodic refresh is quiet

    // A slow server: ticks that come while a refresh is out add none of their own.
    server.scriptNext({ std::nullopt, {}, 300, false });
    const int before = requestsTo(u"/api/bottles/conversations"_s);
    refreshTick();
    refreshTick();
    refreshTick();
    ASSERT_TRUE(waitUntil([&] { return logs.lines(conversation).count(u"✅ 自动刷新成功: 2 个对话"_s) == 2; }));
    EXPECT_EQ(requestsTo(u"/api/bottles/conversations"_s), before + 1);

    // A failure is only logged.
    server.scriptNext({ 500, "boom", 0, false });
    refreshTick();
    ASSERT_TRUE(
        waitUntil([&] { return logs.has(u"⚠️ 自动刷新失败: 服务器错误: boom"_s, conversation); }));
    EXPECT_FALSE(conversations->lastError());
    EXPECT_EQ(conversations->conversations().size(), 2);

    conversations->stopAutoRefresh();
    conversations->stopAutoRefresh();
    EXPECT_TRUE(timers.running().isEmpty());
    EXPECT_FALSE(conversations->isAutoRefreshing());
    EXPECT_EQ(logs.lines(conversation).count(u"🛑 停止对话列表自动刷新"_s), 1);
}

TEST_F(Conversations, NewMessageInTheSelectedConversationReloadsItsLinesOnce)
{
    ASSERT_TRUE(await(conversations->refreshConversations()).ok());
    conversations->selectConversation(find(mine));
    ASSERT_TRUE(waitUntil([&] { return conversations->chatMessages().size() == 1; }));
    // Nobody had picked it when it was selected, so the chat pane would refuse a reply.
    EXPECT_FALSE(conversations->currentConversation()->hasReply);
    conversations->startAutoRefresh();
    const auto historyLoads = [&] { return requestsTo(u"/api/bottles/conversation-history"_s); };
    const auto finishedTicks = [] { return loggedLines(conversation).filter(u"✅ 自动刷新成功"_s).size(); };
    const auto tick = [&] {
        const qsizetype before = finishedTicks();
        refreshTick();
        ASSERT_TRUE(waitUntil([&] { return finishedTicks() > before; }));
        settle();
    };

    QSignalSpy lines(conversations.get(), &ConversationManager::chatMessagesChanged);
    tick(); // nothing new
    EXPECT_EQ(historyLoads(), 1);
    EXPECT_EQ(lines.count(), 0);

    server.state().pickBottle(mine, bob);
    server.state().addReply(mine, bob, alice, u"捡到了"_s);
    LogCapture logs;
    tick();
    ASSERT_TRUE(waitUntil([&] { return conversations->chatMessages().size() == 2; }));
    EXPECT_EQ(historyLoads(), 2);
    EXPECT_TRUE(logs.has(u"🔄 检测到新消息，刷新当前对话"_s, conversation));
    // The selection is the refreshed entry, not the copy taken when it was chosen.
    EXPECT_TRUE(conversations->currentConversation()->hasReply);
    EXPECT_EQ(conversations->currentConversation()->lastMessage, u"捡到了"_s);

    tick();
    tick();
    EXPECT_EQ(historyLoads(), 2);
    EXPECT_EQ(logs.lines(conversation).count(u"🔄 检测到新消息，刷新当前对话"_s), 1);
}

TEST_F(Conversations, LinesNeverShowUnderAnotherConversation)
{
    server.state().addReply(picked, bob, alice, u"给爱丽丝"_s);
    ASSERT_TRUE(await(conversations->refreshConversations()).ok());
    conversations->selectConversation(find(picked));
    ASSERT_TRUE(waitUntil([&] { return conversations->chatMessages().size() == 2; }));

    // The history of `picked` is slow; `mine` is selected before it arrives.
    server.scriptNext({ std::nullopt, {}, 300, false });
    conversations->selectConversation(find(picked));
    EXPECT_EQ(conversations->chatMessages().size(), 2); // the same conversation keeps its lines
    conversations->selectConversation(find(mine));
    EXPECT_TRUE(conversations->chatMessages().isEmpty()); // another one's go at once
    QStringList everShown;
    QObject::connect(conversations.get(), &ConversationManager::chatMessagesChanged, conversations.get(),
        [&] { everShown += contents(conversations->chatMessages()); });
    ASSERT_TRUE(waitUntil(
        [&] { return requestsTo(u"/api/bottles/conversation-history"_s) == 3 && !conversations->isLoading(); }));
    QTest::qWait(400);
    EXPECT_EQ(contents(conversations->chatMessages()), QStringList { u"我的瓶子"_s });
    EXPECT_FALSE(everShown.contains(u"给爱丽丝"_s));

    conversations->clearSelection();
    EXPECT_FALSE(conversations->currentConversation());
    EXPECT_TRUE(conversations->chatMessages().isEmpty());
}

TEST_F(Conversations, OverlappingRefreshesNeverGoBackInTime)
{
    // The first refresh is slow and answers with the list as it was before the second.
    server.scriptNext({ 200, R"({"success":true,"message":"ok","data":[]})", 300, false });
    Outcome<void> slow;
    // Parameters, not lambda captures: the coroutine outlives this statement.
    QCoro::Task<> first = detail::capture(conversations->refreshConversations(), &slow);
    const auto fast = await(conversations->refreshConversations());
    ASSERT_TRUE(fast.ok());
    const QString newer = server.state().addBottle(alice, u"更新的"_s);
    ASSERT_TRUE(await(conversations->refreshConversations()).ok());
    ASSERT_TRUE(waitUntil([&] { return slow.value; }));
    EXPECT_EQ(conversations->conversations().first().bottleId, newer);
}
