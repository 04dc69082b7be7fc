#include "server/DriftBottleModels.h"

#include "platform/Iso8601.h"
#include "platform/JsonReader.h"

#include <QJsonArray>

#include <array>

using namespace Qt::StringLiterals;

namespace {

template<typename Enum, std::size_t N>
std::optional<Enum> fromRaw(QStringView raw, const std::array<std::pair<Enum, QStringView>, N>& table)
{
    for (const auto& [value, name] : table) {
        if (name == raw)
            return value;
    }
    return std::nullopt;
}

constexpr std::array<std::pair<BottleType, QStringView>, 4> bottleTypes { {
    { BottleType::normal, u"normal" },
    { BottleType::colorful, u"colorful" },
    { BottleType::wish, u"wish" },
    { BottleType::lucky, u"lucky" },
} };
constexpr std::array<std::pair<BottleStatus, QStringView>, 3> bottleStatuses { {
    { BottleStatus::floating, u"floating" },
    { BottleStatus::picked, u"picked" },
    { BottleStatus::replied, u"replied" },
} };

template<typename Enum, std::size_t N>
QString toRaw(Enum value, const std::array<std::pair<Enum, QStringView>, N>& table)
{
    for (const auto& [v, name] : table) {
        if (v == value)
            return name.toString();
    }
    return {};
}

/// A closed set read from its raw string; an unknown raw value fails the record.
template<typename Enum, std::size_t N>
Enum readEnum(const JsonReader& r, QStringView key, const std::array<std::pair<Enum, QStringView>, N>& table)
{
    const QString raw = r.string(key);
    if (auto value = fromRaw(raw, table))
        return *value;
    JsonReader::throwDataCorrupted(r.pathOf(key), u"无法识别的值: "_s + raw);
}

QJsonArray toArray(const QStringList& list)
{
    return QJsonArray::fromStringList(list);
}

} // namespace

QString rawValue(BottleType type)
{
    return toRaw(type, bottleTypes);
}

QString rawValue(BottleStatus status)
{
    return toRaw(status, bottleStatuses);
}

QString rawValue(ConversationType type)
{
    return type == ConversationType::received ? u"received"_s : u"sent"_s;
}

std::optional<ConversationType> conversationTypeFromRaw(QStringView raw)
{
    if (raw == u"sent")
        return ConversationType::sent;
    if (raw == u"received")
        return ConversationType::received;
    return std::nullopt;
}

DriftBottle DriftBottle::fromJson(const JsonReader& r)
{
    DriftBottle b;
    b.id = r.string(u"id");
    b.content = r.string(u"content");
    b.senderId = r.integer(u"sender_id");
    b.senderName = r.string(u"sender_name");
    b.senderEmoji = r.string(u"sender_emoji");
    b.status = readEnum(r, u"status", bottleStatuses);
    b.theme = r.stringList(u"theme");
    b.bottleType = readEnum(r, u"bottle_type", bottleTypes);
    b.isAnonymous = r.optionalBoolean(u"is_anonymous");
    b.pickedBy = r.optionalInteger(u"picked_by");
    b.pickedAt = r.decodeDateIfPresent(u"picked_at");
    b.viewCount = r.integer(u"view_count");
    b.passedCount = r.integer(u"passed_count");
    b.virtualDistance = r.integer(u"virtual_distance");
    b.virtualPath = r.stringList(u"virtual_path");
    b.createdAt = r.decodeDate(u"created_at");
    b.updatedAt = r.decodeDate(u"updated_at");
    return b;
}

QJsonObject DriftBottle::toJson() const
{
    QJsonObject o {
        { u"id"_s, id },
        { u"content"_s, content },
        { u"sender_id"_s, senderId },
        { u"sender_name"_s, senderName },
        { u"sender_emoji"_s, senderEmoji },
        { u"status"_s, rawValue(status) },
        { u"theme"_s, toArray(theme) },
        { u"bottle_type"_s, rawValue(bottleType) },
        { u"view_count"_s, viewCount },
        { u"passed_count"_s, passedCount },
        { u"virtual_distance"_s, virtualDistance },
        { u"virtual_path"_s, toArray(virtualPath) },
        { u"created_at"_s, Iso8601::format(createdAt) },
        { u"updated_at"_s, Iso8601::format(updatedAt) },
    };
    if (isAnonymous)
        o.insert(u"is_anonymous"_s, *isAnonymous);
    if (pickedBy)
        o.insert(u"picked_by"_s, *pickedBy);
    if (pickedAt)
        o.insert(u"picked_at"_s, Iso8601::format(*pickedAt));
    return o;
}

BottleReply BottleReply::fromJson(const JsonReader& r)
{
    BottleReply reply;
    reply.id = r.string(u"id");
    reply.originalBottleId = r.string(u"original_bottle_id");
    reply.senderId = r.integer(u"sender_id");
    reply.receiverId = r.integer(u"receiver_id");
    reply.content = r.string(u"content");
    reply.isRead = r.boolean(u"is_read");
    reply.conversationIndex = r.integer(u"conversation_index");
    reply.createdAt = r.decodeDate(u"created_at");
    return reply;
}

QJsonObject BottleReply::toJson() const
{
    return QJsonObject {
        { u"id"_s, id },
        { u"original_bottle_id"_s, originalBottleId },
        { u"sender_id"_s, senderId },
        { u"receiver_id"_s, receiverId },
        { u"content"_s, content },
        { u"is_read"_s, isRead },
        { u"created_at"_s, Iso8601::format(createdAt) },
        { u"conversation_index"_s, conversationIndex },
    };
}

Conversation Conversation::fromJson(const JsonReader& r)
{
    Conversation c;
    c.bottleId = r.string(u"bottle_id");
    c.otherUserId = JsonReader::lenient([&] { return r.optionalInteger(u"other_user_id"); });
    c.otherUserName = JsonReader::lenient([&] { return r.optionalString(u"other_user_name"); });
    c.otherUserEmoji = JsonReader::lenient([&] { return r.optionalString(u"other_user_emoji"); });
    c.lastMessage = r.string(u"last_message");
    c.status = readEnum(r, u"status", bottleStatuses);
    // Servers send this flag as 0/1 or as a Boolean; what is neither fails as a Boolean.
    if (const auto number = JsonReader::asInteger(r.json().value(u"has_reply")))
        c.hasReply = *number != 0;
    else
        c.hasReply = r.boolean(u"has_reply");
    c.unreadCount = JsonReader::lenient([&] { return r.optionalInteger(u"unread_count"); });
    c.conversationType
        = conversationTypeFromRaw(r.json().value(u"conversation_type").toString()).value_or(ConversationType::sent);
    c.lastMessageTime = r.decodeDate(u"final_time");
    return c;
}

QJsonObject Conversation::toJson() const
{
    QJsonObject o {
        { u"bottle_id"_s, bottleId },
        { u"last_message"_s, lastMessage },
        { u"final_time"_s, Iso8601::format(lastMessageTime) },
        { u"conversation_type"_s, rawValue(conversationType) },
        { u"status"_s, rawValue(status) },
        { u"has_reply"_s, hasReply },
    };
    if (otherUserId)
        o.insert(u"other_user_id"_s, *otherUserId);
    if (otherUserName)
        o.insert(u"other_user_name"_s, *otherUserName);
    if (otherUserEmoji)
        o.insert(u"other_user_emoji"_s, *otherUserEmoji);
    if (unreadCount)
        o.insert(u"unread_count"_s, *unreadCount);
    return o;
}

CollectedBottle CollectedBottle::fromJson(const JsonReader& r)
{
    CollectedBottle c;
    c.id = r.string(u"id");
    c.userId = r.string(u"user_id");
    c.bottleId = r.string(u"bottle_id");
    c.note = r.optionalString(u"note");
    c.tags = r.stringList(u"tags");
    c.collectedAt = r.decodeDate(u"collected_at");
    return c;
}

QJsonObject CollectedBottle::toJson() const
{
    QJsonObject o {
        { u"id"_s, id },
        { u"user_id"_s, userId },
        { u"bottle_id"_s, bottleId },
        { u"tags"_s, toArray(tags) },
        { u"collected_at"_s, Iso8601::format(collectedAt) },
    };
    if (note)
        o.insert(u"note"_s, *note);
    return o;
}
