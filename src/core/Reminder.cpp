#include "core/Reminder.h"

#include <QTimeZone>

#include <cmath>

using namespace Qt::StringLiterals;

QString rawValue(ReminderType type)
{
    switch (type) {
    case ReminderType::rest: return u"rest"_s;
    case ReminderType::hydration: return u"hydration"_s;
    case ReminderType::eyeRest: return u"eyeRest"_s;
    case ReminderType::posture: return u"posture"_s;
    case ReminderType::custom: return u"custom"_s;
    }
    return {};
}

QString displayName(ReminderType type)
{
    switch (type) {
    case ReminderType::rest: return u"走动提醒"_s;
    case ReminderType::hydration: return u"喝水提醒"_s;
    case ReminderType::eyeRest: return u"眼部休息"_s;
    case ReminderType::posture: return u"姿势提醒"_s;
    case ReminderType::custom: return u"自定义提醒"_s;
    }
    return {};
}

QString emoji(ReminderType type)
{
    switch (type) {
    // A runner with a light skin tone, joined to the female sign.
    case ReminderType::rest: return u"\U0001F3C3\U0001F3FB\u200D\u2640\uFE0F"_s;
    case ReminderType::hydration: return u"\U0001F4A7"_s;
    case ReminderType::eyeRest: return u"\U0001F441\uFE0F"_s;
    case ReminderType::posture: return u"\U0001F9D8"_s;
    case ReminderType::custom: return u"\u23F0"_s;
    }
    return {};
}

std::optional<ReminderType> reminderTypeFromRaw(const QString& raw)
{
    for (const ReminderType type : allReminderTypes) {
        if (rawValue(type) == raw)
            return type;
    }
    return std::nullopt;
}

namespace {

const QDateTime& referenceDate()
{
    static const QDateTime reference(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
    return reference;
}

bool fail(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

bool readString(const QJsonObject& json, const QString& key, QString& out, QString* error)
{
    const QJsonValue value = json.value(key);
    if (value.isUndefined())
        return fail(error, u"missing key \"%1\""_s.arg(key));
    if (!value.isString())
        return fail(error, u"key \"%1\" is not a string"_s.arg(key));
    out = value.toString();
    return true;
}

bool readNumber(const QJsonObject& json, const QString& key, double& out, QString* error)
{
    const QJsonValue value = json.value(key);
    if (value.isUndefined())
        return fail(error, u"missing key \"%1\""_s.arg(key));
    if (!value.isDouble() || !std::isfinite(value.toDouble()))
        return fail(error, u"key \"%1\" is not a number"_s.arg(key));
    out = value.toDouble();
    return true;
}

} // namespace

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
    QJsonObject json{
        {u"id"_s, id},
        {u"title"_s, title},
        {u"message"_s, message},
        {u"type"_s, rawValue(type)},
        {u"interval"_s, interval},
        {u"isEnabled"_s, isEnabled},
        {u"createdAt"_s, referenceSeconds(createdAt)},
    };
    if (lastTriggered)
        json.insert(u"lastTriggered"_s, referenceSeconds(*lastTriggered));
    return json;
}

std::optional<Reminder> Reminder::fromJson(const QJsonObject& json, QString* error)
{
    Reminder reminder;
    QString typeRaw;
    double created = 0;
    if (!readString(json, u"id"_s, reminder.id, error) || !readString(json, u"title"_s, reminder.title, error)
        || !readString(json, u"message"_s, reminder.message, error) || !readString(json, u"type"_s, typeRaw, error)
        || !readNumber(json, u"interval"_s, reminder.interval, error))
        return std::nullopt;
    const std::optional<ReminderType> type = reminderTypeFromRaw(typeRaw);
    if (!type) {
        fail(error, u"key \"type\" holds the unknown value \"%1\""_s.arg(typeRaw));
        return std::nullopt;
    }
    reminder.type = *type;
    const QJsonValue enabled = json.value(u"isEnabled"_s);
    if (enabled.isUndefined()) {
        fail(error, u"missing key \"isEnabled\""_s);
        return std::nullopt;
    }
    if (!enabled.isBool()) {
        fail(error, u"key \"isEnabled\" is not a boolean"_s);
        return std::nullopt;
    }
    reminder.isEnabled = enabled.toBool();
    const QJsonValue last = json.value(u"lastTriggered"_s);
    if (!last.isUndefined() && !last.isNull()) {
        double seconds = 0;
        if (!readNumber(json, u"lastTriggered"_s, seconds, error))
            return std::nullopt;
        reminder.lastTriggered = fromReferenceSeconds(seconds);
    }
    if (!readNumber(json, u"createdAt"_s, created, error))
        return std::nullopt;
    reminder.createdAt = fromReferenceSeconds(created);
    return reminder;
}
