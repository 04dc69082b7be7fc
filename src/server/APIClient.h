#pragma once

#include "platform/LogManager.h"
#include "server/APIError.h"
#include "server/APIResponse.h"
#include "server/DriftBottleModels.h"
#include "server/DriftUser.h"
#include "server/FriendModels.h"
#include "server/JsonCodec.h"
#include "server/Redaction.h"
#include "server/RequestRecords.h"

#include <QByteArray>
#include <QJsonObject>
#include <QObject>
#include <QString>

#include <QCoroTask>

#include <functional>
#include <memory>
#include <optional>

class Defaults;
class QNetworkAccessManager;

/// The companion server's HTTP JSON client. Every endpoint is a coroutine on the main
/// thread that throws APIError; the requests carry "Content-Type: application/json" and,
/// while somebody is signed in, "X-User-Id". Nothing is retried.
class APIClient final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(APIClient)

public:
    /// Who is signed in, read on the main thread as each request is built.
    using UserIdSource = std::function<std::optional<qint64>()>;

    /// The whole exchange of one request must finish within this time.
    static constexpr int transferTimeoutMs = 30000;
    /// A longer reply fails as a network error; the longest lists the server sends are far shorter.
    static constexpr qint64 maxReplyBytes = 16 * 1024 * 1024;
    /// How much of an unexpected reply a server error carries (UTF-8 bytes); the screens show it.
    static constexpr qsizetype maxErrorMessageBytes = 1024;
    /// Defaults key naming the companion server's host; "localhost" when unset.
    static const QString serverHostKey;

    explicit APIClient(
        QString baseURL, UserIdSource currentUserId, int timeoutMs = transferTimeoutMs, QObject* parent = nullptr);
    ~APIClient() override;

    /// "http://" + host + ":3005/api".
    [[nodiscard]] static QString baseURLForHost(const QString& host);
    /// The base address for the host the settings name under `serverHostKey`.
    [[nodiscard]] static QString baseURLFromSettings(const Defaults& defaults);
    [[nodiscard]] const QString& baseURL() const { return m_baseURL; }
    /// Who the requests would say is signed in; none without a user.
    [[nodiscard]] std::optional<qint64> currentUserId() const
    {
        return m_currentUserId ? m_currentUserId() : std::nullopt;
    }

    struct CheckEmailResult
    {
        bool exists = false;
        std::optional<DriftUser> user;
    };

    // Users, bottles and conversations.
    QCoro::Task<CheckEmailResult> checkEmail(QString email);
    QCoro::Task<DriftUser> createOrGetUser(QString email, QString nickname, QString avatarEmoji, QString password);
    QCoro::Task<DriftUser> updateUser(qint64 userId, UpdateUserRequest request);
    QCoro::Task<DriftBottle> throwBottle(ThrowBottleRequest request);
    QCoro::Task<DriftBottle> pickRandomBottle(qint64 userId);
    QCoro::Task<QList<DriftBottle>> getMySentBottles(qint64 userId);
    QCoro::Task<QList<DriftBottle>> getMyReceivedBottles(qint64 userId);
    QCoro::Task<BottleReply> replyToBottle(ReplyBottleRequest request);
    QCoro::Task<QList<Conversation>> getConversations(qint64 userId);
    QCoro::Task<ConversationHistoryResponse> getConversationHistory(QString bottleId, qint64 userId);
    QCoro::Task<> deleteConversation(qint64 userId, QString bottleId);

    // Friends.
    QCoro::Task<QString> generateFriendCode();
    QCoro::Task<std::optional<QString>> getMyCode();
    QCoro::Task<Friend> addFriendByCode(QString code);
    QCoro::Task<QList<Friend>> getFriendList();
    QCoro::Task<> deleteFriend(qint64 friendId);
    QCoro::Task<> sendFriendMessage(qint64 receiverId, QString content);

    /// A query value as it goes on the wire: RFC 3986 percent-encoding that keeps the
    /// unreserved characters and "@".
    [[nodiscard]] static QString queryValue(const QString& value);
    /// The body as the request log shows it: the password's value masked.
    [[nodiscard]] static QString loggedBody(const QJsonObject& body);

private:
    /// Sends one request and returns the body of a 2xx reply; every other outcome throws.
    /// A server may echo what it was sent, so `secret` (the password of a sign-in) is masked
    /// in every line logged and in every error raised from the reply.
    QCoro::Task<QByteArray> exchange(
        QString path, QByteArray method, std::optional<QJsonObject> body, QString secret = {});

    template<JsonRecord Reply>
    QCoro::Task<Reply> request(
        QString path, QByteArray method, std::optional<QJsonObject> body = std::nullopt, QString secret = {})
    {
        const QByteArray bytes = co_await exchange(std::move(path), std::move(method), std::move(body), secret);
        co_return decodeReply<Reply>(bytes, secret);
    }

    template<JsonRecord Reply>
    static Reply decodeReply(const QByteArray& bytes, const QString& secret)
    {
        try {
            Reply reply = decodeJson<Reply>(bytes);
            LogManager::log(QStringLiteral("✅ JSON 解析成功"), QStringLiteral("API"));
            return reply;
        } catch (const JsonDecodeError& error) {
            const QString description = Redaction::inText(error.description(), secret);
            logDecodingFailure(description);
            throw APIError::decoding(description);
        }
    }
    static void logDecodingFailure(const QString& description);

    QNetworkAccessManager* m_session;
    QString m_baseURL;
    UserIdSource m_currentUserId;
    int m_timeoutMs;
    /// Shared with every running exchange, so one that resumes after the client is gone can tell.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
