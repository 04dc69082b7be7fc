#pragma once

#include "platform/Lazy.h"
#include "platform/TimerSource.h"
#include "server/APIError.h"
#include "server/DriftBottleModels.h"
#include "server/DriftUser.h"
#include "server/RequestRecords.h"

#include <QList>
#include <QObject>
#include <QString>

#include <QCoroTask>

#include <memory>
#include <optional>

class APIClient;
class DriftBottleManager;
class UserManager;

/// What the drift-bottle window shows: the user's conversations, the selected one and its
/// chat lines. Keeps the list fresh every 5 s while someone asked for it, and offers the
/// window's pick, throw and reply actions, each followed by a reload of the list.
class ConversationManager final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ConversationManager)

public:
    /// How often the list is fetched again while a window shows it, in seconds.
    static constexpr double refreshInterval = 5.0;
    static constexpr int refreshIntervalMs = int(refreshInterval * 1000.0);

    ConversationManager(Lazy<APIClient> client, UserManager& userManager, DriftBottleManager& bottles,
        TimerSource& timers, QObject* parent = nullptr);
    ~ConversationManager() override;

    /// In server order.
    [[nodiscard]] const QList<Conversation>& conversations() const { return m_conversations; }
    /// The selection, kept up to date by the periodic refresh.
    [[nodiscard]] const std::optional<Conversation>& currentConversation() const { return m_currentConversation; }
    /// The selected conversation's lines: the bottle first, then its replies.
    [[nodiscard]] const QList<ChatMessage>& chatMessages() const { return m_chatMessages; }
    [[nodiscard]] bool isLoading() const { return m_isLoading; }
    /// The last failed list or history load; a later success leaves it.
    [[nodiscard]] const std::optional<APIError>& lastError() const { return m_lastError; }
    [[nodiscard]] bool isAutoRefreshing() const { return m_isAutoRefreshing; }

    QCoro::Task<> refreshConversations();
    /// Loads the lines of `bottleId`; they are shown only while that conversation is selected.
    QCoro::Task<> loadConversationHistory(QString bottleId);
    /// Throws a plain bottle, then reloads the list. Once the bottle is thrown (or kept
    /// locally) a failed reload is only logged, so nobody throws the same bottle twice.
    QCoro::Task<DriftBottle> sendNewBottle(QString content);
    /// Replies, then reloads the conversation's lines and the list; the first failure ends it.
    /// replyStored() tells a caller that the server holds the reply, so it can tell a refused
    /// reply (whose text it still has) from a failed reload after a stored one.
    QCoro::Task<> sendReply(QString bottleId, qint64 receiverId, QString content);
    /// Picks a bottle, then reloads the list; the first failure ends it.
    QCoro::Task<DriftBottle> pickBottle();
    QCoro::Task<> deleteConversation(QString bottleId);

    /// Starts the periodic refresh; a second call while it runs only logs.
    void startAutoRefresh();
    void stopAutoRefresh();

    /// Selects `conversation` and loads its lines. Another conversation's lines go at once.
    void selectConversation(const Conversation& conversation);
    /// Leaves no conversation selected (the window does this when its conversation goes).
    void clearSelection();

Q_SIGNALS:
    /// The list changed: a conversation came, went, moved or reads differently.
    void conversationsChanged();
    void currentConversationChanged();
    void chatMessagesChanged();
    void isLoadingChanged(bool loading);
    /// After every failed list or history load, also when the same failure repeats.
    void lastErrorChanged();
    /// The server has stored a reply to `bottleId`; the reloads after it may still fail.
    void replyStored(const QString& bottleId);

private:
    [[nodiscard]] std::optional<DriftUser> onlineUser() const;
    void setLoading(bool loading);
    void setConversations(QList<Conversation> conversations);
    void setChatMessages(QList<ChatMessage> messages);
    void setCurrentConversation(std::optional<Conversation> conversation);
    void recordFailure(const APIError& error, const QString& prefix);
    void accountChanged();
    /// Fetches the list; a reply older than one already shown is dropped (nullopt).
    QCoro::Task<std::optional<QList<Conversation>>> fetchConversations(qint64 userId);
    QCoro::Task<> performAutoRefresh();
    /// Loads the history and swallows its failure, which it has already logged and recorded.
    QCoro::Task<> reloadHistoryQuietly(QString bottleId);
    [[nodiscard]] static QList<ChatMessage> chatLines(const ConversationHistoryResponse& history, qint64 userId);

    Lazy<APIClient> m_client;
    UserManager& m_userManager;
    DriftBottleManager& m_bottleManager;
    TimerSource& m_timers;
    std::unique_ptr<TimerSource::Timer> m_refreshTimer;
    QList<Conversation> m_conversations;
    std::optional<Conversation> m_currentConversation;
    QList<ChatMessage> m_chatMessages;
    bool m_isLoading = false;
    std::optional<APIError> m_lastError;
    bool m_isAutoRefreshing = false;
    bool m_autoRefreshInFlight = false;
    quint64 m_listRequestsStarted = 0;
    quint64 m_listRequestShown = 0;
    /// Whose conversations the lists hold.
    std::optional<qint64> m_listOwner;
};
