#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

class JsonReader;

enum class BottleType { normal, colorful, wish, lucky };
inline constexpr std::array<BottleType, 4> allBottleTypes { BottleType::normal, BottleType::colorful, BottleType::wish,
    BottleType::lucky };
enum class BottleStatus { floating, picked, replied };
enum class ConversationType { sent, received };

[[nodiscard]] QString rawValue(BottleType type);
[[nodiscard]] QString rawValue(BottleStatus status);
[[nodiscard]] QString rawValue(ConversationType type);
[[nodiscard]] std::optional<ConversationType> conversationTypeFromRaw(QStringView raw);

/// One bottle as the server sends it and as the offline store keeps it.
struct DriftBottle
{
    QString id;
    QString content;
    qint64 senderId = 0;
    QString senderName;
    QString senderEmoji;
    BottleStatus status = BottleStatus::floating;
    QStringList theme;
    BottleType bottleType = BottleType::normal;
    std::optional<bool> isAnonymous;
    std::optional<qint64> pickedBy;
    std::optional<QDateTime> pickedAt;
    qint64 viewCount = 0;
    qint64 passedCount = 0;
    qint64 virtualDistance = 0;
    QStringList virtualPath;
    QDateTime createdAt;
    QDateTime updatedAt;

    [[nodiscard]] static DriftBottle fromJson(const JsonReader& reader);
    [[nodiscard]] QJsonObject toJson() const;
};

/// A reply to a bottle.
struct BottleReply
{
    QString id;
    QString originalBottleId;
    qint64 senderId = 0;
    qint64 receiverId = 0;
    QString content;
    bool isRead = false;
    QDateTime createdAt;
    qint64 conversationIndex = 0;

    [[nodiscard]] static BottleReply fromJson(const JsonReader& reader);
    [[nodiscard]] QJsonObject toJson() const;
};

/// One bottle's conversation as the server lists it for the signed-in user. Its reading is
/// lenient: the other party's details and the unread count turn any fault into nothing.
struct Conversation
{
    QString bottleId;
    std::optional<qint64> otherUserId;
    std::optional<QString> otherUserName;
    std::optional<QString> otherUserEmoji;
    QString lastMessage;
    QDateTime lastMessageTime;
    ConversationType conversationType = ConversationType::sent;
    BottleStatus status = BottleStatus::floating;
    bool hasReply = false;
    std::optional<qint64> unreadCount;

    /// A conversation is known by its bottle.
    [[nodiscard]] const QString& id() const { return bottleId; }

    [[nodiscard]] static Conversation fromJson(const JsonReader& reader);
    [[nodiscard]] QJsonObject toJson() const;
};

/// One line of the open conversation, built locally; never sent or stored.
struct ChatMessage
{
    QString id;
    QString content;
    qint64 senderId = 0;
    QString senderName;
    QString senderEmoji;
    QDateTime createdAt;
    bool isFromMe = false;
};

/// A bottle a user kept.
struct CollectedBottle
{
    QString id;
    QString userId;
    QString bottleId;
    std::optional<QString> note;
    QStringList tags;
    QDateTime collectedAt;

    [[nodiscard]] static CollectedBottle fromJson(const JsonReader& reader);
    [[nodiscard]] QJsonObject toJson() const;
};
