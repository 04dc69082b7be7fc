// The friend features follow the account: launch with a stored user, sign-in and sign-out.
#include "FriendsFixture.h"

#include "friends/FriendSession.h"

#include <QSignalSpy>

using namespace Qt::StringLiterals;

namespace {

class Session : public FriendsFixture
{
protected:
    void SetUp() override
    {
        FriendsFixture::SetUp();
        manager = std::make_unique<FriendManager>(*client, *defaults);
    }

    void makeSession() { session = std::make_unique<FriendSession>(*manager, *messages, *users, timers); }

    [[nodiscard]] qsizetype listRequests() const
    {
        return std::count_if(server.requests().cbegin(), server.requests().cend(),
            [](const RecordedRequest& r) { return r.path == u"/api/friends/list"_s; });
    }

    std::unique_ptr<FriendManager> manager;
    std::unique_ptr<FriendSession> session;
};

} // namespace

TEST_F(Session, LaunchWithStoredUserLoadsAtOnceAndConnectsTwoSecondsLater)
{
    signIn();
    makeSession();
    const LogCapture log;
    QSignalSpy loading(manager.get(), &FriendManager::isLoadingChanged);
    session->startAtLaunch();
    // The fetch is a task of the launch step: it begins only once the step's caller is done.
    EXPECT_EQ(loading.size(), 0);
    EXPECT_FALSE(manager->isLoading());
    ASSERT_TRUE(waitUntil([&] { return log.has(u"✅ 好友列表已加载"_s, u"Friend"_s); }));
    EXPECT_EQ(listRequests(), 1);

    timers.advanceMs(FriendSession::launchConnectDelayMs - 1);
    EXPECT_FALSE(messages->isConnected());
    timers.advanceMs(1);
    EXPECT_TRUE(messages->isConnected());
    EXPECT_TRUE(log.has(u"✅ 好友 WebSocket 已连接"_s, u"Friend"_s));
    ASSERT_TRUE(waitUntil([&] { return authentications == 1; }));
}

TEST_F(Session, LaunchWithoutUserDoesNothing)
{
    makeSession();
    session->startAtLaunch();
    EXPECT_TRUE(timers.running().isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(listRequests(), 0);
}

TEST_F(Session, SignInLoadsAndConnectsOneSecondLaterSignOutDisconnects)
{
    makeSession();
    const LogCapture log;
    signIn();
    ASSERT_TRUE(waitUntil([&] { return log.has(u"✅ 登录后好友列表已加载"_s, u"Friend"_s); }));
    EXPECT_EQ(listRequests(), 1);
    timers.advanceMs(FriendSession::signInConnectDelayMs - 1);
    EXPECT_FALSE(messages->isConnected());
    timers.advanceMs(1);
    EXPECT_TRUE(log.has(u"✅ 登录后 WebSocket 已连接"_s, u"Friend"_s));
    ASSERT_TRUE(waitUntil([&] { return authentications == 1; }));

    users->logout();
    EXPECT_FALSE(messages->isConnected());
    EXPECT_TRUE(log.has(u"🔌 登出后 WebSocket 已断开"_s, u"Friend"_s));
    ASSERT_TRUE(waitUntil([&] { return server.messageSocket().closeCodes() == QList<int> { 1001 }; }));
    EXPECT_TRUE(timers.running().isEmpty());
}

TEST_F(Session, SignOutBeforeTheDelayedConnectCancelsIt)
{
    makeSession();
    signIn();
    users->logout();
    timers.advanceMs(10000);
    EXPECT_FALSE(messages->isConnected());
    QCoreApplication::processEvents();
    EXPECT_EQ(server.messageSocket().connectionsAccepted(), 0);
}
