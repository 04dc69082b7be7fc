#include "friends/FriendSession.h"

#include "friends/FriendManager.h"
#include "friends/FriendMessageManager.h"
#include "platform/LogManager.h"
#include "server/Tasks.h"
#include "server/UserManager.h"

using namespace Qt::StringLiterals;

namespace {

const QString category = u"Friend"_s;

/// The fetch reports its own failures and never throws, so the line follows either way.
QCoro::Task<> loadFriends(FriendManager& friends, QString doneLine)
{
    co_await friends.fetchFriendList();
    LogManager::log(doneLine, category);
}

} // namespace

FriendSession::FriendSession(
    FriendManager& friends, FriendMessageManager& messages, UserManager& users, TimerSource& timers, QObject* parent)
    : QObject(parent)
    , m_friends(friends)
    , m_messages(messages)
    , m_users(users)
    , m_timers(timers)
{
    QObject::connect(&m_users, &UserManager::signedIn, this, &FriendSession::onSignedIn);
    QObject::connect(&m_users, &UserManager::signedOut, this, &FriendSession::onSignedOut);
}

FriendSession::~FriendSession() = default;

void FriendSession::startAtLaunch()
{
    if (!m_users.currentUser())
        return;
    // A task of the start-up step: it begins once the start-up sequence has run to its end,
    // so nothing of the fetch comes before start-up says it is done.
    QMetaObject::invokeMethod(
        this, [this] { Tasks::start(loadFriends(m_friends, u"✅ 好友列表已加载"_s), category, u"加载好友列表"_s); },
        Qt::QueuedConnection);
    m_pendingConnect = m_timers.start(launchConnectDelayMs, false, [this] {
        m_messages.connect();
        LogManager::log(u"✅ 好友 WebSocket 已连接"_s, category);
    });
}

void FriendSession::onSignedIn()
{
    Tasks::start(loadFriends(m_friends, u"✅ 登录后好友列表已加载"_s), category, u"加载好友列表"_s);
    m_pendingConnect = m_timers.start(signInConnectDelayMs, false, [this] {
        m_messages.connect();
        LogManager::log(u"✅ 登录后 WebSocket 已连接"_s, category);
    });
}

void FriendSession::onSignedOut()
{
    // A connection still waiting to open would otherwise try for the account that just left.
    m_pendingConnect.reset();
    m_messages.disconnect();
    LogManager::log(u"🔌 登出后 WebSocket 已断开"_s, category);
}
