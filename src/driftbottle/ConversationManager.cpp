#include "driftbottle/ConversationManager.h"

#include "driftbottle/BusyScope.h"
#include "driftbottle/DriftBottleManager.h"
#include "driftbottle/SameContent.h"
#include "platform/LogManager.h"
#include "server/APIClient.h"
#include "server/Tasks.h"
#include "server/UserManager.h"

#include <QPointer>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString category = u"Conversation"_s;

void log(const QString& message)
{
    LogManager::log(message, category);
}

} // namespace

ConversationManager::ConversationManager(
    Lazy<APIClient> client, UserManager& userManager, DriftBottleManager& bottles, TimerSource& timers, QObject* parent)
    : QObject(parent)
    , m_client(std::move(client))
    , m_userManager(userManager)
    , m_bottleManager(bottles)
    , m_timers(timers)
{
    log(u"💬 ConversationManager 初始化完成"_s);
    if (m_userManager.currentUser())
        m_listOwner = m_userManager.currentUser()->id;
    connect(&m_userManager, &UserManager::currentUserChanged, this, &ConversationManager::accountChanged);
}

void ConversationManager::accountChanged()
{
    const std::optional<qint64> owner
        = m_userManager.currentUser() ? std::optional<qint64>(m_userManager.currentUser()->id) : std::nullopt;
    if (owner == m_listOwner)
        return;
    m_listOwner = owner;
    // Nothing of another account stays on screen: not its list, nor its open chat with the
    // draft being written, nor a reply for it that is still on its way.
    m_listRequestShown = ++m_listRequestsStarted;
    clearSelection();
    setConversations({});
}

ConversationManager::~ConversationManager()
{
    stopAutoRefresh();
}

std::optional<DriftUser> ConversationManager::onlineUser() const
{
    if (m_userManager.isOnlineMode() && m_userManager.currentUser())
        return m_userManager.currentUser();
    return std::nullopt;
}

void ConversationManager::setLoading(bool loading)
{
    if (m_isLoading == loading)
        return;
    m_isLoading = loading;
    Q_EMIT isLoadingChanged(loading);
}

void ConversationManager::setConversations(QList<Conversation> conversations)
{
    const bool same = std::equal(m_conversations.cbegin(), m_conversations.cend(), conversations.cbegin(),
        conversations.cend(), [](const Conversation& a, const Conversation& b) { return sameContent(a, b); });
    m_conversations = std::move(conversations);
    if (!same)
        Q_EMIT conversationsChanged();
}

void ConversationManager::setChatMessages(QList<ChatMessage> messages)
{
    const bool same = std::equal(m_chatMessages.cbegin(), m_chatMessages.cend(), messages.cbegin(), messages.cend(),
        [](const ChatMessage& a, const ChatMessage& b) { return sameContent(a, b); });
    if (same)
        return;
    m_chatMessages = std::move(messages);
    Q_EMIT chatMessagesChanged();
}

void ConversationManager::setCurrentConversation(std::optional<Conversation> conversation)
{
    const bool same = conversation.has_value() == m_currentConversation.has_value()
        && (!conversation || sameContent(*conversation, *m_currentConversation));
    if (same)
        return;
    m_currentConversation = std::move(conversation);
    Q_EMIT currentConversationChanged();
}

void ConversationManager::recordFailure(const APIError& error, const QString& prefix)
{
    m_lastError = error;
    Q_EMIT lastErrorChanged();
    log(prefix + error.errorDescription());
}

QCoro::Task<> ConversationManager::refreshConversations()
{
    const std::optional<DriftUser> user = onlineUser();
    if (!user)
        throw APIError(APIError::Kind::offlineMode);
    const BusyScope busy(this, &ConversationManager::setLoading);

    const quint64 request = ++m_listRequestsStarted;
    const QPointer<ConversationManager> self(this);
    QList<Conversation> conversations;
    try {
        conversations = co_await m_client->getConversations(user->id);
    } catch (const APIError& error) {
        if (self)
            recordFailure(error, u"❌ 刷新对话列表失败: "_s);
        throw;
    }
    if (!self)
        co_return;
    const qsizetype count = conversations.size();
    // Refreshes may overlap; a reply older than the list on screen would take it back in time.
    if (request > m_listRequestShown) {
        m_listRequestShown = request;
        setConversations(std::move(conversations));
    }
    log(u"✅ 刷新对话列表成功: "_s + QString::number(count) + u" 个对话"_s);
}

QCoro::Task<> ConversationManager::loadConversationHistory(QString bottleId)
{
    const std::optional<DriftUser> user = onlineUser();
    if (!user)
        throw APIError(APIError::Kind::offlineMode);
    const BusyScope busy(this, &ConversationManager::setLoading);

    const QPointer<ConversationManager> self(this);
    ConversationHistoryResponse history;
    try {
        history = co_await m_client->getConversationHistory(bottleId, user->id);
    } catch (const APIError& error) {
        if (self)
            recordFailure(error, u"❌ 加载对话历史失败: "_s);
        throw;
    }
    // Lines of a conversation that is no longer selected would show under another's header.
    if (!self || !m_currentConversation || m_currentConversation->bottleId != bottleId)
        co_return;
    QList<ChatMessage> lines = chatLines(history, user->id);
    const qsizetype count = lines.size();
    setChatMessages(std::move(lines));
    log(u"✅ 加载对话历史成功: "_s + QString::number(count) + u" 条消息"_s);
}

QList<ChatMessage> ConversationManager::chatLines(const ConversationHistoryResponse& history, qint64 userId)
{
    QList<ChatMessage> lines;
    lines.reserve(history.replies.size() + 1);
    const DriftBottle& bottle = history.bottle;
    lines.append(ChatMessage { bottle.id, bottle.content, bottle.senderId, bottle.senderName, bottle.senderEmoji,
        bottle.createdAt, bottle.senderId == userId });
    for (const BottleReply& reply : history.replies) {
        lines.append(
            ChatMessage { reply.id, reply.content, reply.senderId, {}, {}, reply.createdAt, reply.senderId == userId });
    }
    return lines;
}

QCoro::Task<DriftBottle> ConversationManager::sendNewBottle(QString content)
{
    const QPointer<ConversationManager> self(this);
    DriftBottle bottle;
    try {
        bottle = co_await m_bottleManager.throwBottle(std::move(content), {}, BottleType::normal, false);
    } catch (const std::exception& error) {
        log(u"❌ 丢瓶子失败: "_s + APIError::describe(error));
        throw;
    }
    if (!self)
        co_return bottle;
    // The bottle is out (or kept here while offline): reporting a failed reload as a failed
    // throw would invite the user to throw it again.
    try {
        co_await refreshConversations();
    } catch (const std::exception& error) {
        log(u"⚠️ 瓶子已丢出，但刷新对话列表失败: "_s + APIError::describe(error));
    }
    log(u"✅ 瓶子已丢出: "_s + bottle.id);
    co_return bottle;
}

QCoro::Task<> ConversationManager::sendReply(QString bottleId, qint64 receiverId, QString content)
{
    const QPointer<ConversationManager> self(this);
    co_await m_bottleManager.replyToBottle(bottleId, receiverId, std::move(content));
    if (!self)
        co_return;
    Q_EMIT replyStored(bottleId);
    co_await loadConversationHistory(bottleId);
    if (!self)
        co_return;
    co_await refreshConversations();
}

QCoro::Task<DriftBottle> ConversationManager::pickBottle()
{
    const QPointer<ConversationManager> self(this);
    DriftBottle bottle = co_await m_bottleManager.pickRandomBottle();
    if (!self)
        co_return bottle;
    co_await refreshConversations();
    co_return bottle;
}

QCoro::Task<> ConversationManager::deleteConversation(QString bottleId)
{
    const std::optional<DriftUser> user = onlineUser();
    if (!user)
        throw APIError(APIError::Kind::offlineMode);
    log(u"🗑️ 开始删除对话: "_s + bottleId);

    const QPointer<ConversationManager> self(this);
    try {
        co_await m_client->deleteConversation(user->id, bottleId);
    } catch (const APIError& error) {
        log(u"❌ 删除对话失败: "_s + error.errorDescription());
        throw;
    }
    if (!self)
        co_return;
    QList<Conversation> remaining = m_conversations;
    remaining.removeIf([&](const Conversation& c) { return c.bottleId == bottleId; });
    setConversations(std::move(remaining));
    log(u"✅ 对话已删除（服务器+本地）"_s);
}

void ConversationManager::startAutoRefresh()
{
    if (m_refreshTimer) {
        log(u"⚠️ 自动刷新已在运行"_s);
        return;
    }
    log(u"🚀 启动对话列表自动刷新，间隔: "_s + QString::number(refreshInterval, 'f', 1) + u"秒"_s);
    m_isAutoRefreshing = true;
    m_refreshTimer = m_timers.start(refreshIntervalMs, true, [self = QPointer<ConversationManager>(this)] {
        if (self)
            Tasks::start(self->performAutoRefresh(), category, u"自动刷新"_s);
    });
}

void ConversationManager::stopAutoRefresh()
{
    if (!m_refreshTimer)
        return;
    log(u"🛑 停止对话列表自动刷新"_s);
    m_refreshTimer.reset();
    m_isAutoRefreshing = false;
}

QCoro::Task<> ConversationManager::performAutoRefresh()
{
    if (!m_isAutoRefreshing)
        co_return;
    const std::optional<DriftUser> user = onlineUser();
    // A server slower than the interval would otherwise gather a queue of refreshes.
    if (!user || m_autoRefreshInFlight)
        co_return;

    m_autoRefreshInFlight = true;
    const quint64 request = ++m_listRequestsStarted;
    const QPointer<ConversationManager> self(this);
    QList<Conversation> conversations;
    try {
        conversations = co_await m_client->getConversations(user->id);
    } catch (const std::exception& error) {
        log(u"⚠️ 自动刷新失败: "_s + APIError::describe(error));
        if (self)
            m_autoRefreshInFlight = false;
        co_return;
    }
    if (!self)
        co_return;
    m_autoRefreshInFlight = false;
    const qsizetype count = conversations.size();
    if (request < m_listRequestShown)
        co_return;
    m_listRequestShown = request;

    // The selection follows the refreshed entry of its bottle, so it never goes stale (a
    // bottle somebody picked up becomes repliable) and a new message is seen exactly once.
    std::optional<QString> newMessagesIn;
    if (m_currentConversation) {
        const auto refreshed = std::find_if(conversations.cbegin(), conversations.cend(),
            [&](const Conversation& c) { return c.bottleId == m_currentConversation->bottleId; });
        if (refreshed != conversations.cend()) {
            if (refreshed->lastMessageTime != m_currentConversation->lastMessageTime)
                newMessagesIn = refreshed->bottleId;
            setCurrentConversation(*refreshed);
        }
    }
    setConversations(std::move(conversations));
    if (newMessagesIn) {
        log(u"🔄 检测到新消息，刷新当前对话"_s);
        co_await reloadHistoryQuietly(*newMessagesIn);
    }
    log(u"✅ 自动刷新成功: "_s + QString::number(count) + u" 个对话"_s);
}

QCoro::Task<> ConversationManager::reloadHistoryQuietly(QString bottleId)
{
    try {
        co_await loadConversationHistory(std::move(bottleId));
    } catch (...) {
        // loadConversationHistory has logged and recorded it.
    }
}

void ConversationManager::selectConversation(const Conversation& conversation)
{
    if (!m_currentConversation || m_currentConversation->bottleId != conversation.bottleId)
        setChatMessages({});
    setCurrentConversation(conversation);
    Tasks::start(reloadHistoryQuietly(conversation.bottleId), category, u"加载对话历史"_s);
}

void ConversationManager::clearSelection()
{
    setCurrentConversation(std::nullopt);
    setChatMessages({});
}
