#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

/// One request as the fake companion server received it.
struct RecordedRequest
{
    QByteArray method;
    /// Path and query exactly as on the request line, "/api/users/check-email?email=a%2Bb@x.io".
    QByteArray target;
    /// The decoded path, "/api/users/check-email".
    QString path;
    /// The query decoded the way web servers do it ("+" is a blank).
    QList<std::pair<QString, QString>> query;
    QList<std::pair<QByteArray, QByteArray>> headers;
    QByteArray body;

    [[nodiscard]] bool hasHeader(const QByteArray& name) const;
    /// The header's value, compared case-insensitively; empty when absent.
    [[nodiscard]] QByteArray header(const QByteArray& name) const;
    [[nodiscard]] std::optional<QString> queryValue(const QString& key) const;
    /// The body as a JSON object; empty when it is none.
    [[nodiscard]] QJsonObject jsonBody() const;
};

/// What the fake answers: a status and a JSON body.
struct FakeAnswer
{
    int status = 200;
    QJsonObject body;
};

/// The companion server's data, kept in memory, and its endpoints. Dates go out the way
/// a Node server writes them ("2024-05-01T08:30:00.000Z"); the clock ticks one second
/// with every change, so every run sends the same replies.
class FakeCompanionState
{
public:
    struct User
    {
        qint64 id = 0;
        QString email, nickname, avatarEmoji, password;
        std::optional<QString> bio;
        QDateTime createdAt, updatedAt;
    };
    struct Bottle
    {
        QString id, content;
        qint64 senderId = 0;
        QString senderName, senderEmoji, status = QStringLiteral("floating"), bottleType = QStringLiteral("normal");
        QStringList theme;
        bool isAnonymous = false;
        std::optional<qint64> pickedBy;
        std::optional<QDateTime> pickedAt;
        qint64 viewCount = 0;
        QDateTime createdAt, updatedAt;
    };
    struct Reply
    {
        QString id, bottleId, content;
        qint64 senderId = 0, receiverId = 0, index = 0;
        bool isRead = false;
        QDateTime createdAt;
    };
    struct Friendship
    {
        qint64 id = 0, userA = 0, userB = 0;
        QDateTime since;
    };
    struct Message
    {
        qint64 id = 0, senderId = 0, receiverId = 0;
        QString content;
        QDateTime sentAt;
        bool delivered = false; ///< the receiver's socket acknowledged it
    };

    FakeCompanionState();

    /// Answers one request under "/api".
    [[nodiscard]] FakeAnswer handle(const RecordedRequest& request);

    /// Moves the fake's clock, which otherwise starts at 2024-05-01T08:30:00Z.
    void setNow(const QDateTime& now) { m_now = now; }

    // Seeding and inspection for tests.
    qint64 addUser(const QString& email, const QString& nickname, const QString& avatarEmoji, const QString& password);
    QString addBottle(qint64 senderId, const QString& content);
    void pickBottle(const QString& bottleId, qint64 userId);
    /// A reply written by another client, as the other side of a conversation does.
    QString addReply(const QString& bottleId, qint64 senderId, qint64 receiverId, const QString& content);
    qint64 befriend(qint64 a, qint64 b);
    [[nodiscard]] const QList<Bottle>& bottles() const { return m_bottles; }
    [[nodiscard]] const QList<Friendship>& friendships() const { return m_friendships; }
    [[nodiscard]] const QList<Message>& messages() const { return m_messages; }
    /// The version check offers this version to a client that reports an older one
    /// (compared number by number: 1.10.0 is newer than 1.9.9), with these notes.
    QString latestVersion = QStringLiteral("1.0.0");
    std::optional<QString> releaseNotes;
    QString downloadUrl = QStringLiteral("https://tamsel.app/download/latest");
    /// A stored message as the socket pushes it ("data" of a "friend_message" frame).
    [[nodiscard]] QJsonObject messageJson(const Message& message, bool offline) const;
    void markDelivered(qint64 messageId);
    /// Texts containing any of these are refused as the real server's moderation does.
    QStringList sensitiveWords { QStringLiteral("违禁词") };

    [[nodiscard]] QJsonObject userJson(const User& user) const;
    [[nodiscard]] QJsonObject bottleJson(const Bottle& bottle) const;
    [[nodiscard]] QJsonObject replyJson(const Reply& reply) const;
    [[nodiscard]] QJsonObject friendJson(const Friendship& friendship, qint64 viewer) const;
    [[nodiscard]] static QString date(const QDateTime& t);

private:
    static FakeAnswer ok(QJsonObject body);
    static FakeAnswer refuse(int status, const QString& message);
    QDateTime tick();
    User* findUser(qint64 id);
    User* findUser(const QString& email);
    Bottle* findBottle(const QString& id);
    [[nodiscard]] bool isSensitive(const QString& text) const;
    [[nodiscard]] QList<QJsonObject> conversationsOf(qint64 userId) const;

    FakeAnswer users(const RecordedRequest& r, const QStringList& parts);
    FakeAnswer bottles(const RecordedRequest& r, const QString& action);
    FakeAnswer friends(const RecordedRequest& r, const QStringList& parts);
    FakeAnswer version(const RecordedRequest& r, const QStringList& parts);

    QDateTime m_now;
    QList<User> m_users;
    QList<Bottle> m_bottles;
    QList<Reply> m_replies;
    QList<Friendship> m_friendships;
    QList<Message> m_messages;
    QSet<std::pair<qint64, QString>> m_deletedConversations;
    QMap<qint64, QString> m_codeByUser;
    qint64 m_nextUserId = 1;
    qint64 m_nextBottle = 1;
    qint64 m_nextReply = 1;
    qint64 m_nextFriendship = 1;
    qint64 m_nextMessage = 1;
    int m_nextCode = 482913;
};
