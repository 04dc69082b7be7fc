#include "driftbottle/DriftBottleManager.h"

#include "driftbottle/BusyScope.h"
#include "driftbottle/InputError.h"
#include "driftbottle/TextLength.h"
#include "platform/Clock.h"
#include "platform/Defaults.h"
#include "platform/LogManager.h"
#include "platform/StoredList.h"
#include "server/APIClient.h"
#include "server/UserManager.h"

#include <QJsonArray>
#include <QPointer>
#include <QSet>
#include <QUuid>

using namespace Qt::StringLiterals;

const QString DriftBottleManager::offlineSentBottlesKey = u"OfflineSentBottles"_s;
const QString DriftBottleManager::unreadableKey = u"OfflineSentBottlesUnreadable"_s;

namespace {

const QString category = u"DriftBottle"_s;

void log(const QString& message)
{
    LogManager::log(message, category);
}

InputError inputError(const QString& message)
{
    return InputError(category, message);
}

} // namespace

DriftBottleManager::DriftBottleManager(
    Lazy<APIClient> client, UserManager& userManager, Defaults& defaults, const Clock& clock, QObject* parent)
    : QObject(parent)
    , m_client(std::move(client))
    , m_userManager(userManager)
    , m_userDefaults(defaults)
    , m_clock(clock)
{
    // Bottles thrown offline in an earlier run are in the list from the start.
    loadOfflineSentBottles();
    log(u"🍾 DriftBottleManager 初始化完成"_s);
}

DriftBottleManager::~DriftBottleManager() = default;

std::optional<DriftUser> DriftBottleManager::onlineUser() const
{
    if (m_userManager.isOnlineMode() && m_userManager.currentUser())
        return m_userManager.currentUser();
    return std::nullopt;
}

void DriftBottleManager::setLoading(bool loading)
{
    if (m_isLoading == loading)
        return;
    m_isLoading = loading;
    Q_EMIT isLoadingChanged(loading);
}

void DriftBottleManager::recordFailure(const APIError& error, const QString& prefix)
{
    m_lastError = error;
    Q_EMIT lastErrorChanged();
    log(prefix + error.errorDescription());
}

DriftBottle DriftBottleManager::localBottle(
    const QString& content, const QStringList& theme, BottleType bottleType, bool isAnonymous) const
{
    // Stand-alone mode may still have a user from an earlier sign-in; the bottle carries it.
    const std::optional<DriftUser>& user = m_userManager.currentUser();
    DriftBottle bottle;
    bottle.id = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    bottle.content = content;
    bottle.senderId = user ? user->id : -1;
    bottle.senderName = isAnonymous ? u"匿名"_s : (user ? user->nickname : u"无名氏"_s);
    bottle.senderEmoji = user ? user->avatarEmoji : u"🐱"_s;
    bottle.status = BottleStatus::floating;
    bottle.theme = theme;
    bottle.bottleType = bottleType;
    bottle.isAnonymous = isAnonymous;
    bottle.createdAt = m_clock.nowUtc();
    bottle.updatedAt = bottle.createdAt;
    return bottle;
}

QCoro::Task<DriftBottle> DriftBottleManager::throwBottle(
    QString content, QStringList theme, BottleType bottleType, bool isAnonymous)
{
    if (content.isEmpty())
        throw inputError(u"瓶子内容不能为空"_s);
    if (userPerceivedLength(content) > maxContentLength)
        throw inputError(u"瓶子内容不能超过 1000 字符"_s);
    const BusyScope busy(this, &DriftBottleManager::setLoading);

    const std::optional<DriftUser> user = onlineUser();
    if (!user) {
        const DriftBottle bottle = localBottle(content, theme, bottleType, isAnonymous);
        m_sentBottles.prepend(bottle);
        Q_EMIT sentBottlesChanged();
        saveOfflineSentBottles();
        log(u"✅ 瓶子已保存到本地（离线）: "_s + bottle.id);
        co_return bottle;
    }

    const ThrowBottleRequest request { user->id, isAnonymous ? u"匿名"_s : user->nickname, user->avatarEmoji, content,
        theme, bottleType, isAnonymous };
    const QPointer<DriftBottleManager> self(this);
    DriftBottle bottle;
    try {
        bottle = co_await m_client->throwBottle(request);
    } catch (const APIError& error) {
        if (self)
            recordFailure(error, u"❌ 丢瓶子失败: "_s);
        throw;
    }
    if (!self)
        co_return bottle;
    m_sentBottles.prepend(bottle);
    Q_EMIT sentBottlesChanged();
    log(u"✅ 瓶子已丢出（在线）: "_s + bottle.id);
    co_return bottle;
}

QCoro::Task<DriftBottle> DriftBottleManager::pickRandomBottle()
{
    const BusyScope busy(this, &DriftBottleManager::setLoading);
    const std::optional<DriftUser> user = onlineUser();
    if (!user)
        throw APIError(APIError::Kind::offlineMode);

    const QPointer<DriftBottleManager> self(this);
    DriftBottle bottle;
    try {
        bottle = co_await m_client->pickRandomBottle(user->id);
    } catch (const APIError& error) {
        if (self)
            recordFailure(error, u"❌ 捡瓶子失败: "_s);
        throw;
    }
    if (!self)
        co_return bottle;
    m_receivedBottles.prepend(bottle);
    Q_EMIT receivedBottlesChanged();
    log(u"✅ 捡到瓶子（在线）: "_s + bottle.id);
    co_return bottle;
}

QCoro::Task<> DriftBottleManager::fetchMySentBottles()
{
    const BusyScope busy(this, &DriftBottleManager::setLoading);
    const std::optional<DriftUser> user = onlineUser();
    if (!user) {
        loadOfflineSentBottles();
        log(u"✅ 从本地加载 "_s + QString::number(m_sentBottles.size()) + u" 个已发送瓶子（离线）"_s);
        co_return;
    }

    const QPointer<DriftBottleManager> self(this);
    QList<DriftBottle> bottles;
    try {
        bottles = co_await m_client->getMySentBottles(user->id);
    } catch (const APIError& error) {
        if (self)
            recordFailure(error, u"❌ 获取已发送瓶子失败: "_s);
        throw;
    }
    if (!self)
        co_return;
    // The bottles kept only on this machine leave the list but stay in the store, which a
    // later save merges back in.
    m_sentBottles = std::move(bottles);
    Q_EMIT sentBottlesChanged();
    log(u"✅ 获取到 "_s + QString::number(m_sentBottles.size()) + u" 个已发送瓶子（在线）"_s);
}

QCoro::Task<> DriftBottleManager::fetchMyReceivedBottles()
{
    const BusyScope busy(this, &DriftBottleManager::setLoading);
    const std::optional<DriftUser> user = onlineUser();
    if (!user) {
        // Picked bottles come from the server only; nothing of them is kept here.
        if (!m_receivedBottles.isEmpty()) {
            m_receivedBottles.clear();
            Q_EMIT receivedBottlesChanged();
        }
        log(u"✅ 从本地加载 0 个已接收瓶子（离线）"_s);
        co_return;
    }

    const QPointer<DriftBottleManager> self(this);
    QList<DriftBottle> bottles;
    try {
        bottles = co_await m_client->getMyReceivedBottles(user->id);
    } catch (const APIError& error) {
        if (self)
            recordFailure(error, u"❌ 获取已接收瓶子失败: "_s);
        throw;
    }
    if (!self)
        co_return;
    m_receivedBottles = std::move(bottles);
    Q_EMIT receivedBottlesChanged();
    log(u"✅ 获取到 "_s + QString::number(m_receivedBottles.size()) + u" 个已接收瓶子（在线）"_s);
}

QCoro::Task<BottleReply> DriftBottleManager::replyToBottle(QString bottleId, qint64 receiverId, QString content)
{
    const std::optional<DriftUser> user = onlineUser();
    if (!user)
        throw APIError(APIError::Kind::offlineMode);
    if (content.isEmpty())
        throw inputError(u"回复内容不能为空"_s);
    const BusyScope busy(this, &DriftBottleManager::setLoading);

    const ReplyBottleRequest request { bottleId, user->id, receiverId, content };
    const QPointer<DriftBottleManager> self(this);
    BottleReply reply;
    try {
        reply = co_await m_client->replyToBottle(request);
    } catch (const APIError& error) {
        if (self)
            recordFailure(error, u"❌ 回复失败: "_s);
        throw;
    }
    log(u"✅ 回复已发送: "_s + reply.id);
    co_return reply;
}

QList<DriftBottle> DriftBottleManager::readStore()
{
    // Entries that cannot be read are kept aside, and the rest and every new bottle are kept.
    static const StoredListKeys keys { offlineSentBottlesKey, unreadableKey, category, u"离线瓶子"_s,
        u"❌ 加载离线瓶子失败: "_s };
    return StoredList::load<DriftBottle>(m_userDefaults, keys).value_or(QList<DriftBottle>());
}

void DriftBottleManager::loadOfflineSentBottles()
{
    if (!m_userDefaults.contains(offlineSentBottlesKey))
        return;
    m_sentBottles = readStore();
    Q_EMIT sentBottlesChanged();
}

void DriftBottleManager::saveOfflineSentBottles()
{
    QList<DriftBottle> stored = readStore();
    // The current list may come from an online fetch that knows nothing of the bottles
    // thrown offline; those stay stored after it.
    QSet<QString> listed;
    for (const DriftBottle& bottle : std::as_const(m_sentBottles))
        listed.insert(bottle.id);
    QList<DriftBottle> toStore = m_sentBottles;
    for (DriftBottle& bottle : stored) {
        if (!listed.contains(bottle.id))
            toStore.append(std::move(bottle));
    }
    m_userDefaults.setValue(offlineSentBottlesKey, JsonCodec<QList<DriftBottle>>::encode(toStore));
    // A bottle thrown offline lives only here: it is written at once, and a write that fails
    // is said here, where it is known what was lost.
    if (!m_userDefaults.flush())
        log(u"❌ 保存离线瓶子失败: "_s + m_userDefaults.writeError());
}
