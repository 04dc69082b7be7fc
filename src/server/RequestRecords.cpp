#include "server/RequestRecords.h"

#include "core/EnumFromRaw.h"

#include <QJsonArray>

using namespace Qt::StringLiterals;

CreateUserRequest CreateUserRequest::fromJson(const JsonReader& r)
{
    return { r.string(u"email"), r.string(u"nickname"), r.string(u"avatarEmoji"), r.string(u"password") };
}

QJsonObject CreateUserRequest::toJson() const
{
    return QJsonObject {
        { u"email"_s, email },
        { u"nickname"_s, nickname },
        { u"avatarEmoji"_s, avatarEmoji },
        { u"password"_s, password },
    };
}

UpdateUserRequest UpdateUserRequest::fromJson(const JsonReader& r)
{
    return { r.optionalString(u"nickname"), r.optionalString(u"avatarEmoji"), r.optionalString(u"bio") };
}

QJsonObject UpdateUserRequest::toJson() const
{
    QJsonObject o;
    if (nickname)
        o.insert(u"nickname"_s, *nickname);
    if (avatarEmoji)
        o.insert(u"avatarEmoji"_s, *avatarEmoji);
    if (bio)
        o.insert(u"bio"_s, *bio);
    return o;
}

ThrowBottleRequest ThrowBottleRequest::fromJson(const JsonReader& r)
{
    ThrowBottleRequest t;
    t.senderId = r.integer(u"senderId");
    t.senderName = r.string(u"senderName");
    t.senderEmoji = r.string(u"senderEmoji");
    t.content = r.string(u"content");
    t.theme = r.stringList(u"theme");
    const QString type = r.string(u"bottleType");
    const std::optional<BottleType> bottleType = enumFromRaw(allBottleTypes, type);
    if (!bottleType)
        JsonReader::throwDataCorrupted(r.pathOf(u"bottleType"), u"无法识别的值: "_s + type);
    t.bottleType = *bottleType;
    t.isAnonymous = r.boolean(u"isAnonymous");
    return t;
}

QJsonObject ThrowBottleRequest::toJson() const
{
    return QJsonObject {
        { u"senderId"_s, senderId },
        { u"senderName"_s, senderName },
        { u"senderEmoji"_s, senderEmoji },
        { u"content"_s, content },
        { u"theme"_s, QJsonArray::fromStringList(theme) },
        { u"bottleType"_s, rawValue(bottleType) },
        { u"isAnonymous"_s, isAnonymous },
    };
}

ReplyBottleRequest ReplyBottleRequest::fromJson(const JsonReader& r)
{
    return { r.string(u"bottleId"), r.integer(u"senderId"), r.integer(u"receiverId"), r.string(u"content") };
}

QJsonObject ReplyBottleRequest::toJson() const
{
    return QJsonObject {
        { u"bottleId"_s, bottleId },
        { u"senderId"_s, senderId },
        { u"receiverId"_s, receiverId },
        { u"content"_s, content },
    };
}

DeleteRequest DeleteRequest::fromJson(const JsonReader& r)
{
    return { r.integer(u"userId"), r.string(u"bottleId") };
}

QJsonObject DeleteRequest::toJson() const
{
    return QJsonObject { { u"userId"_s, userId }, { u"bottleId"_s, bottleId } };
}

SendMessageRequest SendMessageRequest::fromJson(const JsonReader& r)
{
    return { r.integer(u"receiverId"), r.string(u"content") };
}

QJsonObject SendMessageRequest::toJson() const
{
    return QJsonObject { { u"receiverId"_s, receiverId }, { u"content"_s, content } };
}

SendMessageResponse SendMessageResponse::fromJson(const JsonReader& r)
{
    SendMessageResponse s;
    s.success = r.boolean(u"success");
    s.message = r.string(u"message");
    s.messageId = r.optionalInteger(u"messageId");
    s.delivered = r.optionalBoolean(u"delivered");
    return s;
}

QJsonObject SendMessageResponse::toJson() const
{
    QJsonObject o { { u"success"_s, success }, { u"message"_s, message } };
    if (messageId)
        o.insert(u"messageId"_s, *messageId);
    if (delivered)
        o.insert(u"delivered"_s, *delivered);
    return o;
}

ConversationHistoryResponse ConversationHistoryResponse::fromJson(const JsonReader& r)
{
    ConversationHistoryResponse h;
    h.bottle = DriftBottle::fromJson(r.object(u"bottle"));
    h.replies = r.objectList(u"replies", &BottleReply::fromJson);
    return h;
}

QJsonObject ConversationHistoryResponse::toJson() const
{
    return QJsonObject { { u"bottle"_s, bottle.toJson() },
        { u"replies"_s, JsonCodec<QList<BottleReply>>::encode(replies) } };
}
