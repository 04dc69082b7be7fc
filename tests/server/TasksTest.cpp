// Coroutines started from slots: nobody awaits them, so what escapes must reach the log.
#include "ServerTestSupport.h"

#include "server/Tasks.h"
#include "support/Wait.h"

#include <QTimer>

#include <QCoroTimer>

using namespace Qt::StringLiterals;

namespace {

QCoro::Task<int> failAfterATurn(bool* resumed)
{
    QTimer timer;
    timer.setSingleShot(true);
    timer.start(1);
    co_await timer;
    *resumed = true;
    throw APIError(APIError::Kind::offlineMode);
}

} // namespace

TEST(Tasks, EscapingErrorIsLoggedUnderTheCallersCategory)
{
    LogCapture logs;
    bool resumed = false;
    Tasks::start(failAfterATurn(&resumed), u"DriftBottle"_s, u"捡瓶子"_s);
    EXPECT_FALSE(resumed) << "start() does not wait";
    ASSERT_TRUE(waitUntil([&] { return logs.lines(u"DriftBottle"_s).size() == 1; }));
    EXPECT_TRUE(resumed);
    EXPECT_EQ(logs.lines(u"DriftBottle"_s).first(), u"❌ 捡瓶子 失败: 当前为单机模式，无法使用在线功能"_s);
}

TEST_F(ServerFixture, DetachedServerCallFinishesOnItsOwn)
{
    LogCapture logs;
    Tasks::start(client->getConversations(1), u"Conversation"_s, u"刷新对话"_s);
    ASSERT_TRUE(waitUntil([&] { return logs.has(u"✅ 获取到 0 个对话"_s, u"API"_s); }));
    EXPECT_TRUE(logs.lines(u"Conversation"_s).isEmpty());
}
