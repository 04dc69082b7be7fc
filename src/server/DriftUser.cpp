#include "server/DriftUser.h"

#include "platform/Iso8601.h"
#include "platform/JsonReader.h"

#include <QJsonArray>

using namespace Qt::StringLiterals;

QString rawValue(UserMode mode)
{
    return mode == UserMode::online ? u"online"_s : u"offline"_s;
}

std::optional<UserMode> userModeFromRaw(QStringView raw)
{
    if (raw == u"offline")
        return UserMode::offline;
    if (raw == u"online")
        return UserMode::online;
    return std::nullopt;
}

UserStats UserStats::fromJson(const JsonReader& r)
{
    UserStats s;
    s.sentCount = r.optionalInteger(u"sent_count").value_or(0);
    s.receivedCount = r.optionalInteger(u"received_count").value_or(0);
    s.repliedCount = r.optionalInteger(u"replied_count").value_or(0);
    s.penPalCount = r.optionalInteger(u"pen_pal_count").value_or(0);
    return s;
}

QJsonObject UserStats::toJson() const
{
    return QJsonObject {
        { u"sent_count"_s, sentCount },
        { u"received_count"_s, receivedCount },
        { u"replied_count"_s, repliedCount },
        { u"pen_pal_count"_s, penPalCount },
    };
}

UserPreferences UserPreferences::fromJson(const JsonReader& r)
{
    UserPreferences p;
    p.themes = r.stringList(u"themes");
    p.autoReply = r.boolean(u"auto_reply");
    p.allowAnonymous = r.boolean(u"allow_anonymous");
    p.notificationEnabled = r.boolean(u"notification_enabled");
    return p;
}

QJsonObject UserPreferences::toJson() const
{
    return QJsonObject {
        { u"themes"_s, QJsonArray::fromStringList(themes) },
        { u"auto_reply"_s, autoReply },
        { u"allow_anonymous"_s, allowAnonymous },
        { u"notification_enabled"_s, notificationEnabled },
    };
}

DriftUser DriftUser::fromJson(const JsonReader& r)
{
    DriftUser u;
    u.id = r.integer(u"id");
    u.email = r.string(u"email");
    u.nickname = r.string(u"nickname");
    u.avatarEmoji = r.string(u"avatar_emoji");
    u.bio = r.optionalString(u"bio");
    u.level = r.integer(u"level");
    u.exp = r.integer(u"exp");
    u.shells = r.integer(u"shells");
    u.badges = r.stringList(u"badges");
    // A broken nested block costs only that block, never the account.
    u.stats = JsonReader::lenient([&] { return std::optional(UserStats::fromJson(r.object(u"stats"))); });
    u.preferences
        = JsonReader::lenient([&] { return std::optional(UserPreferences::fromJson(r.object(u"preferences"))); });
    u.createdAt = r.decodeDate(u"created_at");
    u.lastActiveAt = r.decodeDate(u"last_active_at");
    u.updatedAt = r.decodeDate(u"updated_at");
    u.reportCount = r.integer(u"report_count");
    u.isBanned = r.boolean(u"is_banned");
    u.banReason = r.optionalString(u"ban_reason");
    u.banUntil = r.decodeDateIfPresent(u"ban_until");
    return u;
}

QJsonObject DriftUser::toJson() const
{
    QJsonObject o {
        { u"id"_s, id },
        { u"email"_s, email },
        { u"nickname"_s, nickname },
        { u"level"_s, level },
        { u"exp"_s, exp },
        { u"shells"_s, shells },
        { u"badges"_s, QJsonArray::fromStringList(badges) },
        { u"avatar_emoji"_s, avatarEmoji },
        { u"created_at"_s, Iso8601::format(createdAt) },
        { u"last_active_at"_s, Iso8601::format(lastActiveAt) },
        { u"updated_at"_s, Iso8601::format(updatedAt) },
        { u"report_count"_s, reportCount },
        { u"is_banned"_s, isBanned },
    };
    if (bio)
        o.insert(u"bio"_s, *bio);
    if (stats)
        o.insert(u"stats"_s, stats->toJson());
    if (preferences)
        o.insert(u"preferences"_s, preferences->toJson());
    if (banReason)
        o.insert(u"ban_reason"_s, *banReason);
    if (banUntil)
        o.insert(u"ban_until"_s, Iso8601::format(*banUntil));
    return o;
}
