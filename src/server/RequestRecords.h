#pragma once

#include "server/DriftBottleModels.h"
#include "server/JsonCodec.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Bodies the client sends and the small reply records that travel with them. The program
// only writes bodies, but each reads back with the keys it writes; a field without a value
// is left out rather than sent as null.

/// Body of POST "/users/auth": the server signs the address in, creating the account on first use.
struct CreateUserRequest
{
    QString email;
    QString nickname;
    QString avatarEmoji;
    QString password;

    [[nodiscard]] static CreateUserRequest fromJson(const JsonReader& reader);
    [[nodiscard]] QJsonObject toJson() const;
};

/// Body of PUT "/users/<id>".
struct UpdateUserRequest
{
    std::optional<QString> nickname;
    std::optional<QString> avatarEmoji;
    std::optional<QString> bio;

    /// Each of the three may be absent or null.
    [[nodiscard]] static UpdateUserRequest fromJson(const JsonReader& reader);
    [[nodiscard]] QJsonObject toJson() const;
};

/// Body of POST "/bottles/throw".
struct ThrowBottleRequest
{
    qint64 senderId = 0;
    QString senderName;
    QString senderEmoji;
    QString content;
    QStringList theme;
    BottleType bottleType = BottleType::normal;
    bool isAnonymous = false;

    [[nodiscard]] static ThrowBottleRequest fromJson(const JsonReader& reader);
    [[nodiscard]] QJsonObject toJson() const;
};

/// Body of POST "/bottles/reply".
struct ReplyBottleRequest
{
    QString bottleId;
    qint64 senderId = 0;
    qint64 receiverId = 0;
    QString content;

    [[nodiscard]] static ReplyBottleRequest fromJson(const JsonReader& reader);
    [[nodiscard]] QJsonObject toJson() const;
};

/// Body of POST "/bottles/delete-conversation".
struct DeleteRequest
{
    qint64 userId = 0;
    QString bottleId;

    [[nodiscard]] static DeleteRequest fromJson(const JsonReader& reader);
    [[nodiscard]] QJsonObject toJson() const;
};

/// Body of POST "/friends/messages/send".
struct SendMessageRequest
{
    qint64 receiverId = 0;
    QString content;

    [[nodiscard]] static SendMessageRequest fromJson(const JsonReader& reader);
    [[nodiscard]] QJsonObject toJson() const;
};

/// Whole reply of POST "/friends/messages/send" (no envelope).
struct SendMessageResponse
{
    bool success = false;
    QString message;
    std::optional<qint64> messageId;
    std::optional<bool> delivered;

    [[nodiscard]] static SendMessageResponse fromJson(const JsonReader& reader);
    [[nodiscard]] QJsonObject toJson() const;
};

/// The `data` of the conversation-history reply: the bottle, then its replies in order.
struct ConversationHistoryResponse
{
    DriftBottle bottle;
    QList<BottleReply> replies;

    [[nodiscard]] static ConversationHistoryResponse fromJson(const JsonReader& reader);
    [[nodiscard]] QJsonObject toJson() const;
};

/// The `data` of the delete-conversation reply. Its content is never looked at.
struct EmptyResponse
{
};

template<>
struct JsonCodec<EmptyResponse>
{
    static EmptyResponse decode(const QJsonValue&, const QString&) { return {}; }
    static QJsonValue encode(const EmptyResponse&) { return QJsonObject(); }
};
