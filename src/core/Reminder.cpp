#include "core/Reminder.h"

#include "core/EnumFromRaw.h"
#include "platform/JsonReader.h"

#include <QTimeZone>

#include <cmath>

using namespace Qt::StringLiterals;

QString rawValue(ReminderType type)
{
    switch (type) {
    case ReminderType::rest:
        return u"rest"_s;
    case ReminderType::hydration:
        return u"hydration"_s;
    case ReminderType::eyeRest:
        return u"eyeRest"_s;
    case ReminderType::posture:
        return u"posture"_s;
    case ReminderType::custom:
        return u"custom"_s;
    }
    return {};
}

QString displayName(ReminderType type)
{
    switch (type) {
    case ReminderType::rest:
        return u"走动提醒"_s;
    case ReminderType::hydration:
        return u"喝水提醒"_s;
    case ReminderType::eyeRest:
        return u"眼部休息"_s;
    case ReminderType::posture:
        return u"姿势提醒"_s;
    case ReminderType::custom:
        return u"自定义提醒"_s;
    }
    return {};
}

QString emoji(ReminderType type)
{
    switch (type) {
    // A runner with a light skin tone, joined to the female sign.
    case ReminderType::rest:
        return u"\U0001F3C3\U0001F3FB\u200D\u2640\uFE0F"_s;
    case ReminderType::hydration:
        return u"\U0001F4A7"_s;
    case ReminderType::eyeRest:
        return u"\U0001F441\uFE0F"_s;
    case ReminderType::posture:
        return u"\U0001F9D8"_s;
    case ReminderType::custom:
        return u"\u23F0"_s;
    }
    return {};
}

QString defaultMessage(ReminderType type)
{
    switch (type) {
    case ReminderType::rest:
        return u"离开电脑，活动活动身体吧～"_s;
    case ReminderType::hydration:
        return u"记得喝水哦！因为你是水做的～"_s;
    case ReminderType::eyeRest:
        return u"看看远处，缓解眼部疲劳～"_s;
    case ReminderType::posture:
        return u"注意坐姿！保持良好的姿势对健康很重要～"_s;
    case ReminderType::custom:
        return u"这是您设置的提醒～"_s;
    }
    return {};
}

double defaultInterval(ReminderType type)
{
    switch (type) {
    case ReminderType::rest:
        return 3600;
    case ReminderType::hydration:
        return 1800;
    case ReminderType::eyeRest:
        return 1200;
    case ReminderType::posture:
        return 2700;
    case ReminderType::custom:
        return 3600;
    }
    return 3600;
}

std::optional<ReminderType> reminderTypeFromRaw(const QString& raw)
{
    return enumFromRaw(allReminderTypes, raw);
}

namespace {

const QDateTime& referenceDate()
{
    static const QDateTime reference(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
    return reference;
}

double readNumber(const JsonReader& json, QStringView key)
{
    const QJsonValue value = json.value(key);
    if (!value.isDouble() || !std::isfinite(value.toDouble()))
        JsonReader::throwTypeMismatch(value, json.pathOf(key), u"数字"_s);
    return value.toDouble();
}

} // namespace

// A stored date too far from now for a date to hold would come back as garbage (and be
// written back so), so it is refused.
QDateTime readReferenceDate(const JsonReader& json, QStringView key)
{
    const double seconds = readNumber(json, key);
    if (std::abs(seconds) > 1e14)
        JsonReader::throwDataCorrupted(json.pathOf(key), u"日期超出范围"_s);
    return fromReferenceSeconds(seconds);
}

double referenceSeconds(const QDateTime& time)
{
    return static_cast<double>(referenceDate().msecsTo(time)) / 1000.0;
}

QDateTime fromReferenceSeconds(double seconds)
{
    return referenceDate().addMSecs(std::llround(seconds * 1000.0)).toLocalTime();
}

QJsonObject Reminder::toJson() const
{
    QJsonObject json {
        { u"id"_s, id },
        { u"title"_s, title },
        { u"message"_s, message },
        { u"type"_s, rawValue(type) },
        { u"interval"_s, interval },
        { u"isEnabled"_s, isEnabled },
        { u"createdAt"_s, referenceSeconds(createdAt) },
    };
    if (lastTriggered)
        json.insert(u"lastTriggered"_s, referenceSeconds(*lastTriggered));
    return json;
}

Reminder Reminder::fromJson(const JsonReader& json)
{
    Reminder reminder;
    reminder.id = json.string(u"id");
    reminder.title = json.string(u"title");
    reminder.message = json.string(u"message");
    const QString typeRaw = json.string(u"type");
    const std::optional<ReminderType> type = reminderTypeFromRaw(typeRaw);
    if (!type)
        JsonReader::throwDataCorrupted(json.pathOf(u"type"), u"未知的提醒类型: "_s + typeRaw);
    reminder.type = *type;
    reminder.interval = readNumber(json, u"interval");
    reminder.isEnabled = json.boolean(u"isEnabled");
    if (json.has(u"lastTriggered"))
        reminder.lastTriggered = readReferenceDate(json, u"lastTriggered");
    reminder.createdAt = readReferenceDate(json, u"createdAt");
    return reminder;
}

namespace {

/// A century; intervals beyond it are nonsense and would overflow the date arithmetic.
constexpr double longestIntervalSeconds = 100.0 * 366 * 24 * 3600;

} // namespace

std::optional<QDateTime> Reminder::getNextTriggerTime() const
{
    if (!isEnabled)
        return std::nullopt;
    // Without this, a zero or negative interval would fire at every minute check.
    if (!std::isfinite(interval) || interval <= 0 || interval > longestIntervalSeconds)
        return std::nullopt;
    const QDateTime& base = lastTriggered ? *lastTriggered : createdAt;
    if (!base.isValid())
        return std::nullopt;
    // Counted on the epoch: every zone in use today is a whole number of minutes off UTC,
    // so seconds within the minute are the same in UTC and local time, and no local-time
    // lookup is needed.
    const qint64 raw = base.toMSecsSinceEpoch() + std::llround(interval * 1000.0);
    const qint64 seconds = raw >= 0 ? raw / 1000 : -((-raw + 999) / 1000); // fractions dropped
    const qint64 second = ((seconds % 60) + 60) % 60;
    const qint64 minute = seconds - second;
    // Whole seconds count; a fraction of a second alone does not push to the next minute.
    return QDateTime::fromSecsSinceEpoch(second >= 1 ? minute + 60 : minute, QTimeZone::utc());
}
