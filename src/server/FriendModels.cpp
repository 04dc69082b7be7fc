#include "server/FriendModels.h"

#include "platform/Iso8601.h"
#include "platform/JsonReader.h"
#include "server/JsonCodec.h"

using namespace Qt::StringLiterals;

Friend Friend::fromJson(const JsonReader& r)
{
    Friend f;
    f.id = r.integer(u"id");
    f.userId = r.integer(u"friend_id");
    f.nickname = r.string(u"nickname");
    f.avatarEmoji = r.string(u"avatar_emoji");
    f.friendSince = r.decodeDate(u"friend_since");
    return f;
}

QJsonObject Friend::toJson() const
{
    return QJsonObject {
        { u"id"_s, id },
        { u"friend_id"_s, userId },
        { u"nickname"_s, nickname },
        { u"avatar_emoji"_s, avatarEmoji },
        { u"friend_since"_s, Iso8601::format(friendSince) },
    };
}

FriendMessage FriendMessage::fromJson(const JsonReader& r)
{
    FriendMessage m;
    m.id = r.integer(u"messageId");
    m.senderId = r.integer(u"senderId");
    m.senderNickname = r.string(u"senderNickname");
    m.senderAvatar = r.string(u"senderAvatar");
    m.receiverId = r.integer(u"receiverId");
    m.content = r.string(u"content");
    m.isOffline = r.boolean(u"isOffline");
    m.timestamp = r.decodeDate(u"timestamp");
    return m;
}

QJsonObject FriendMessage::toJson() const
{
    return QJsonObject {
        { u"messageId"_s, id },
        { u"senderId"_s, senderId },
        { u"senderNickname"_s, senderNickname },
        { u"senderAvatar"_s, senderAvatar },
        { u"receiverId"_s, receiverId },
        { u"content"_s, content },
        { u"timestamp"_s, Iso8601::format(timestamp) },
        { u"isOffline"_s, isOffline },
    };
}

GenerateCodeResponse GenerateCodeResponse::fromJson(const JsonReader& r)
{
    GenerateCodeResponse g;
    g.success = r.boolean(u"success");
    g.code = r.optionalString(u"code");
    g.message = r.optionalString(u"message");
    return g;
}

QJsonObject GenerateCodeResponse::toJson() const
{
    QJsonObject o { { u"success"_s, success } };
    if (code)
        o.insert(u"code"_s, *code);
    if (message)
        o.insert(u"message"_s, *message);
    return o;
}

AddFriendResponse AddFriendResponse::fromJson(const JsonReader& r)
{
    AddFriendResponse a;
    a.success = r.boolean(u"success");
    a.message = r.string(u"message");
    if (r.has(u"friend"))
        a.friendRecord = Friend::fromJson(r.object(u"friend"));
    return a;
}

QJsonObject AddFriendResponse::toJson() const
{
    QJsonObject o { { u"success"_s, success }, { u"message"_s, message } };
    if (friendRecord)
        o.insert(u"friend"_s, friendRecord->toJson());
    return o;
}

FriendListResponse FriendListResponse::fromJson(const JsonReader& r)
{
    FriendListResponse l;
    l.success = r.boolean(u"success");
    l.friends = r.objectList(u"friends", &Friend::fromJson);
    // Read only to explain a refusal; a "message" of another type must not fail the list.
    l.message = JsonReader::lenient([&] { return r.optionalString(u"message"); });
    return l;
}

QJsonObject FriendListResponse::toJson() const
{
    QJsonObject o { { u"success"_s, success }, { u"friends"_s, JsonCodec<QList<Friend>>::encode(friends) } };
    if (message)
        o.insert(u"message"_s, *message);
    return o;
}

FriendAPIResponse FriendAPIResponse::fromJson(const JsonReader& r)
{
    return FriendAPIResponse { r.boolean(u"success"), r.string(u"message") };
}

QJsonObject FriendAPIResponse::toJson() const
{
    return QJsonObject { { u"success"_s, success }, { u"message"_s, message } };
}
