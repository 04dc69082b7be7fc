#include "friends/FriendManager.h"

#include "platform/Defaults.h"
#include "platform/JsonReader.h"
#include "platform/LogManager.h"
#include "server/APIClient.h"
#include "server/APIError.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>

#include <algorithm>

using namespace Qt::StringLiterals;

const QString FriendManager::pinnedFriendsKey = u"pinnedFriendIds"_s;

namespace {

void log(const QString& message)
{
    LogManager::log(message, u"Friend"_s);
}

void sortNewestFirst(QList<Friend>& friends)
{
    std::stable_sort(
        friends.begin(), friends.end(), [](const Friend& a, const Friend& b) { return a.friendSince > b.friendSince; });
}

} // namespace

FriendManager::FriendManager(
    Lazy<APIClient> client, Defaults& defaults, APIClient::UserIdSource signedInUser, QObject* parent)
    : QObject(parent)
    , m_client(std::move(client))
    , m_signedInUser(std::move(signedInUser))
    , m_defaults(defaults)
{
    log(u"🤝 FriendManager 初始化"_s);
    loadPinnedFriends();
}

std::optional<qint64> FriendManager::signedInUser() const
{
    if (m_signedInUser)
        return m_signedInUser();
    return m_client->currentUserId();
}

void FriendManager::requireUser() const
{
    // The server refuses every friend request of nobody: without a user, none is sent.
    if (!signedInUser())
        throw APIError(APIError::Kind::unauthorized);
}

void FriendManager::loadPinnedFriends()
{
    if (!m_defaults.contains(pinnedFriendsKey))
        return;
    const QJsonValue stored = m_defaults.value(pinnedFriendsKey);
    // One unreadable id costs only itself; what was skipped is said, as the next save drops it.
    QSet<qint64> pins;
    QJsonArray skipped;
    const QJsonArray elements = stored.isArray() ? stored.toArray() : QJsonArray { stored };
    for (const QJsonValue& element : elements) {
        if (const auto id = stored.isArray() ? JsonReader::asInteger(element) : std::nullopt)
            pins.insert(*id);
        else
            skipped.append(element);
    }
    if (!skipped.isEmpty()) {
        const QByteArray text = QJsonDocument(skipped).toJson(QJsonDocument::Compact);
        log(u"⚠️ 跳过无法读取的置顶好友: "_s + LogManager::abbreviatedUtf8(text, 200));
    }
    m_pinnedFriendIds = std::move(pins);
    log(u"📌 加载置顶好友: "_s + QString::number(m_pinnedFriendIds.size()) + u"个"_s);
}

void FriendManager::savePinnedFriends()
{
    QList<qint64> ids(m_pinnedFriendIds.cbegin(), m_pinnedFriendIds.cend());
    std::sort(ids.begin(), ids.end());
    QJsonArray array;
    for (qint64 id : ids)
        array.append(id);
    m_defaults.setValue(pinnedFriendsKey, array);
    log(u"💾 保存置顶好友: "_s + QString::number(ids.size()) + u"个"_s);
}

void FriendManager::togglePinFriend(qint64 friendId)
{
    if (m_pinnedFriendIds.remove(friendId)) {
        log(u"📍 取消置顶好友: "_s + QString::number(friendId));
    } else {
        m_pinnedFriendIds.insert(friendId);
        log(u"📌 置顶好友: "_s + QString::number(friendId));
    }
    Q_EMIT pinnedFriendIdsChanged();
    savePinnedFriends();
}

QList<Friend> FriendManager::getPinnedFriends() const
{
    QList<Friend> pinned;
    std::copy_if(m_friends.cbegin(), m_friends.cend(), std::back_inserter(pinned),
        [this](const Friend& f) { return m_pinnedFriendIds.contains(f.id); });
    sortNewestFirst(pinned);
    return pinned;
}

bool FriendManager::isFriend(qint64 userId) const
{
    return std::any_of(m_friends.cbegin(), m_friends.cend(), [userId](const Friend& f) { return f.userId == userId; });
}

std::optional<Friend> FriendManager::getFriend(qint64 friendId) const
{
    const auto it
        = std::find_if(m_friends.cbegin(), m_friends.cend(), [friendId](const Friend& f) { return f.id == friendId; });
    return it == m_friends.cend() ? std::nullopt : std::optional<Friend>(*it);
}

void FriendManager::setFriends(QList<Friend> friends)
{
    m_friends = std::move(friends);
    Q_EMIT friendsChanged();
}

void FriendManager::setLoading(bool loading)
{
    m_isLoading = loading;
    Q_EMIT isLoadingChanged(loading);
}

void FriendManager::setCode(std::optional<QString> code)
{
    m_currentVerificationCode = std::move(code);
    Q_EMIT currentVerificationCodeChanged();
}

QCoro::Task<QString> FriendManager::generateVerificationCode()
{
    // The client says the same of its request; these lines are the manager's own.
    log(u"🔑 生成好友验证码"_s);
    const QPointer<FriendManager> self(this);
    QString code;
    try {
        requireUser();
        code = co_await m_client->generateFriendCode();
    } catch (const std::exception& error) {
        log(u"❌ 验证码生成失败: "_s + APIError::debugDescribe(error));
        throw;
    }
    if (self)
        setCode(code);
    log(u"✅ 验证码生成成功: "_s + code);
    co_return code;
}

QCoro::Task<> FriendManager::fetchCurrentCode()
{
    if (!signedInUser())
        co_return; // nobody has a code to fetch
    const QPointer<FriendManager> self(this);
    std::optional<QString> code;
    try {
        code = co_await m_client->getMyCode();
    } catch (const std::exception& error) {
        log(u"❌ 获取验证码失败: "_s + APIError::debugDescribe(error));
        co_return;
    }
    if (!self)
        co_return;
    setCode(code);
    log(code ? u"✅ 获取到当前验证码: "_s + *code : u"📝 当前无验证码"_s);
}

QCoro::Task<Friend> FriendManager::addFriend(QString code)
{
    log(u"➕ 添加好友，验证码: "_s + code);
    const QPointer<FriendManager> self(this);
    Friend added;
    try {
        requireUser();
        added = co_await m_client->addFriendByCode(code);
    } catch (const std::exception& error) {
        log(u"❌ 添加好友失败: "_s + APIError::debugDescribe(error));
        throw;
    }
    if (self) {
        if (!m_friends.contains(added)) {
            QList<Friend> friends = m_friends;
            friends.append(added);
            sortNewestFirst(friends);
            setFriends(std::move(friends));
        }
    }
    log(u"✅ 添加好友成功: "_s + added.nickname);
    co_return added;
}

QCoro::Task<> FriendManager::fetchFriendList()
{
    // Without a user there is no list to fetch, and nothing is said of one.
    if (!signedInUser())
        co_return;
    log(u"📋 获取好友列表"_s);
    setLoading(true);
    const QPointer<FriendManager> self(this);
    QList<Friend> friends;
    try {
        friends = co_await m_client->getFriendList();
    } catch (const std::exception& error) {
        log(u"❌ 获取好友列表失败: "_s + APIError::debugDescribe(error));
        if (self)
            setLoading(false);
        co_return;
    }
    if (!self)
        co_return;
    const qsizetype count = friends.size();
    setFriends(std::move(friends));
    setLoading(false);
    log(u"✅ 好友列表获取成功，共 "_s + QString::number(count) + u" 人"_s);
}

QCoro::Task<> FriendManager::deleteFriend(Friend friendRecord)
{
    log(u"🗑️ 删除好友: "_s + friendRecord.nickname);
    const QPointer<FriendManager> self(this);
    try {
        requireUser();
        co_await m_client->deleteFriend(friendRecord.id);
    } catch (const std::exception& error) {
        log(u"❌ 删除好友失败: "_s + APIError::debugDescribe(error));
        throw;
    }
    if (self) {
        QList<Friend> friends = m_friends;
        friends.removeAll(friendRecord);
        setFriends(std::move(friends));
    }
    log(u"✅ 删除好友成功"_s);
}
