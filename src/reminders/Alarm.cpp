#include "reminders/Alarm.h"

#include "core/EnumFromRaw.h"
#include "core/Reminder.h"
#include "platform/JsonReader.h"
#include "reminders/LocalTime.h"

#include <QJsonArray>
#include <QUuid>

#include <algorithm>

using namespace Qt::StringLiterals;

QString rawValue(AlarmType type)
{
    switch (type) {
    case AlarmType::work:
        return u"work"_s;
    case AlarmType::meeting:
        return u"meeting"_s;
    case AlarmType::medicine:
        return u"medicine"_s;
    case AlarmType::exercise:
        return u"exercise"_s;
    case AlarmType::sleep:
        return u"sleep"_s;
    case AlarmType::custom:
        return u"custom"_s;
    }
    return {};
}

QString displayName(AlarmType type)
{
    switch (type) {
    case AlarmType::work:
        return u"工作闹钟"_s;
    case AlarmType::meeting:
        return u"会议闹钟"_s;
    case AlarmType::medicine:
        return u"吃药闹钟"_s;
    case AlarmType::exercise:
        return u"运动闹钟"_s;
    case AlarmType::sleep:
        return u"睡觉闹钟"_s;
    case AlarmType::custom:
        return u"自定义"_s;
    }
    return {};
}

QString emoji(AlarmType type)
{
    switch (type) {
    case AlarmType::work:
        return u"💼"_s;
    case AlarmType::meeting:
        return u"📅"_s;
    case AlarmType::medicine:
        return u"💊"_s;
    case AlarmType::exercise:
        return u"🏃"_s;
    case AlarmType::sleep:
        return u"😴"_s;
    case AlarmType::custom:
        return u"🔔"_s;
    }
    return {};
}

std::optional<AlarmType> alarmTypeFromRaw(QStringView raw)
{
    return enumFromRaw(allAlarmTypes, raw);
}

QString rawValue(AlarmRepeatType type)
{
    switch (type) {
    case AlarmRepeatType::once:
        return u"once"_s;
    case AlarmRepeatType::daily:
        return u"daily"_s;
    case AlarmRepeatType::weekdays:
        return u"weekdays"_s;
    case AlarmRepeatType::weekends:
        return u"weekends"_s;
    case AlarmRepeatType::custom:
        return u"custom"_s;
    }
    return {};
}

QString displayName(AlarmRepeatType type)
{
    switch (type) {
    case AlarmRepeatType::once:
        return u"仅一次"_s;
    case AlarmRepeatType::daily:
        return u"每天"_s;
    case AlarmRepeatType::weekdays:
        return u"工作日"_s;
    case AlarmRepeatType::weekends:
        return u"周末"_s;
    case AlarmRepeatType::custom:
        return u"自定义"_s;
    }
    return {};
}

std::optional<AlarmRepeatType> alarmRepeatTypeFromRaw(QStringView raw)
{
    return enumFromRaw(allAlarmRepeatTypes, raw);
}

namespace {

constexpr std::array<int, 5> mondayToFriday { 2, 3, 4, 5, 6 };
constexpr std::array<int, 2> saturdayAndSunday { 1, 7 };

/// Qt counts Monday = 1 ... Sunday = 7; alarms count Sunday = 1 ... Saturday = 7.
int weekdayNumber(const QDate& date)
{
    return date.dayOfWeek() % 7 + 1;
}

template<typename Days>
bool containsDay(const Days& days, int day)
{
    return std::find(days.begin(), days.end(), day) != days.end();
}

/// The given instant or one of the six following days at the same local time, whichever
/// first falls on one of `weekdays`.
template<typename Days>
std::optional<QDateTime> findNextWeekdayTrigger(const QDateTime& from, const Days& weekdays)
{
    QDateTime day = from;
    for (int i = 0; i < 7; ++i) {
        if (containsDay(weekdays, weekdayNumber(day.date())))
            return day;
        const QDateTime next = day.addDays(1);
        if (next.isValid())
            day = next;
    }
    return std::nullopt;
}

} // namespace

QString Alarm::newId()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

Alarm::TimeOfDay Alarm::getTimeComponents() const
{
    return getTimeComponents(LocalTime());
}

Alarm::TimeOfDay Alarm::getTimeComponents(const LocalTime& local) const
{
    const QTime t = local.timeOfDay(time);
    if (!t.isValid())
        return {};
    return { t.hour(), t.minute() };
}

bool Alarm::shouldTrigger(const QDateTime& now) const
{
    return shouldTrigger(now, LocalTime());
}

bool Alarm::shouldTrigger(const QDateTime& now, const LocalTime& localTime) const
{
    if (!isEnabled)
        return false;
    const QDateTime local = localTime(now);
    const TimeOfDay at = getTimeComponents(localTime);
    if (at.hour != local.time().hour() || at.minute != local.time().minute())
        return false;
    const int weekday = weekdayNumber(local.date());
    switch (repeatType) {
    case AlarmRepeatType::once:
    case AlarmRepeatType::daily:
        return true;
    case AlarmRepeatType::weekdays:
        return containsDay(mondayToFriday, weekday);
    case AlarmRepeatType::weekends:
        return containsDay(saturdayAndSunday, weekday);
    case AlarmRepeatType::custom:
        return customWeekdays.contains(weekday);
    }
    return false;
}

std::optional<QDateTime> Alarm::getNextTriggerTime(const QDateTime& now) const
{
    if (!isEnabled)
        return std::nullopt;
    const QDateTime localNow = now.toLocalTime();
    const TimeOfDay at = getTimeComponents();
    // A time inside the spring-forward gap is moved past the gap, as the calendar does.
    const QDateTime today(localNow.date(), QTime(at.hour, at.minute));
    if (!today.isValid())
        return std::nullopt;
    QDateTime candidate = today;
    if (!(localNow < today)) {
        const QDateTime tomorrow = today.addDays(1);
        if (tomorrow.isValid())
            candidate = tomorrow;
    }
    switch (repeatType) {
    case AlarmRepeatType::once:
        if (localNow < candidate)
            return candidate;
        return std::nullopt;
    case AlarmRepeatType::daily:
        return candidate;
    case AlarmRepeatType::weekdays:
        return findNextWeekdayTrigger(candidate, mondayToFriday);
    case AlarmRepeatType::weekends:
        return findNextWeekdayTrigger(candidate, saturdayAndSunday);
    case AlarmRepeatType::custom:
        if (customWeekdays.isEmpty())
            return candidate;
        return findNextWeekdayTrigger(candidate, customWeekdays);
    }
    return std::nullopt;
}

QString Alarm::formatRepeatRule() const
{
    return formatRepeatRule(LocalTime());
}

QString Alarm::formatRepeatRule(const LocalTime& local) const
{
    switch (repeatType) {
    case AlarmRepeatType::once:
        return local(time).toString(u"yyyy年MM月dd日"_s);
    case AlarmRepeatType::daily:
        return u"每天"_s;
    case AlarmRepeatType::weekdays:
        return u"工作日"_s;
    case AlarmRepeatType::weekends:
        return u"周末"_s;
    case AlarmRepeatType::custom:
        break;
    }
    if (customWeekdays.isEmpty())
        return u"无重复"_s;
    static const std::array<QString, 7> names { u"日"_s, u"一"_s, u"二"_s, u"三"_s, u"四"_s, u"五"_s, u"六"_s };
    QList<int> days = customWeekdays;
    std::sort(days.begin(), days.end());
    QStringList parts;
    parts.reserve(days.size());
    for (const int day : days) {
        // Only 1...7 can be picked; a stored number outside that range is shown as it is.
        const QString name = day >= 1 && day <= 7 ? names[static_cast<size_t>(day - 1)] : QString::number(day);
        parts.append(u"周"_s + name);
    }
    return parts.join(u"、"_s);
}

QString Alarm::timeText() const
{
    return timeText(LocalTime());
}

QString Alarm::timeText(const LocalTime& local) const
{
    return local.timeOfDay(time).toString(u"HH:mm"_s);
}

QJsonObject Alarm::toJson() const
{
    QJsonArray weekdays;
    for (const int day : customWeekdays)
        weekdays.append(day);
    return QJsonObject {
        { u"id"_s, id },
        { u"title"_s, title },
        { u"message"_s, message },
        { u"type"_s, rawValue(type) },
        { u"time"_s, referenceSeconds(time) },
        { u"repeatType"_s, rawValue(repeatType) },
        { u"customWeekdays"_s, weekdays },
        { u"isEnabled"_s, isEnabled },
        { u"createdAt"_s, referenceSeconds(createdAt) },
    };
}

Alarm Alarm::fromJson(const JsonReader& json)
{
    Alarm alarm;
    alarm.id = json.string(u"id");
    alarm.title = json.string(u"title");
    alarm.message = json.string(u"message");
    const QString typeRaw = json.string(u"type");
    const std::optional<AlarmType> type = alarmTypeFromRaw(typeRaw);
    if (!type)
        JsonReader::throwDataCorrupted(json.pathOf(u"type"), u"未知的闹钟类型: "_s + typeRaw);
    alarm.type = *type;
    alarm.time = readReferenceDate(json, u"time").toUTC();
    const QString repeatRaw = json.string(u"repeatType");
    const std::optional<AlarmRepeatType> repeat = alarmRepeatTypeFromRaw(repeatRaw);
    if (!repeat)
        JsonReader::throwDataCorrupted(json.pathOf(u"repeatType"), u"未知的重复规则: "_s + repeatRaw);
    alarm.repeatType = *repeat;
    alarm.customWeekdays = JsonReader::arrayOf(json.value(u"customWeekdays"), json.pathOf(u"customWeekdays"),
        [](const QJsonValue& value, const QString& path) {
            // Weekday numbers are small; anything beyond int would only come back mangled.
            const qint64 day = JsonReader::toInteger(value, path);
            if (day < -1000 || day > 1000)
                JsonReader::throwDataCorrupted(path, u"星期超出范围"_s);
            return static_cast<int>(day);
        });
    alarm.isEnabled = json.boolean(u"isEnabled");
    alarm.createdAt = readReferenceDate(json, u"createdAt").toUTC();
    return alarm;
}
