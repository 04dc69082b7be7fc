#include "reminders/Alarm.h"

#include "platform/JsonReader.h"

#include "LocalZone.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTimeZone>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QDateTime local(int y, int mo, int d, int h, int mi, int s = 0, int ms = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms));
}

Alarm alarmAt(int hour, int minute, AlarmRepeatType repeat, QList<int> days = {})
{
    Alarm alarm;
    alarm.id = u"A"_s;
    alarm.title = u"起床"_s;
    alarm.type = AlarmType::work;
    // The stored date lies elsewhere on purpose: only hour and minute count.
    alarm.time = local(2025, 3, 9, hour, minute);
    alarm.repeatType = repeat;
    alarm.customWeekdays = std::move(days);
    alarm.createdAt = local(2025, 1, 1, 0, 0);
    return alarm;
}

} // namespace

TEST(Alarm, RingsDuringItsMinuteByRule)
{
    LocalZone zone("Europe/Berlin");
    // 2026-01-05 is a Monday, 2026-01-10 a Saturday, 2026-01-11 a Sunday.
    const struct
    {
        AlarmRepeatType repeat;
        QList<int> days;
        QDateTime now;
        bool due;
    } cases[] = {
        { AlarmRepeatType::daily, {}, local(2026, 1, 5, 8, 30, 59, 999), true },
        { AlarmRepeatType::daily, {}, local(2026, 1, 5, 8, 30), true },
        { AlarmRepeatType::daily, {}, local(2026, 1, 5, 8, 31), false },
        { AlarmRepeatType::daily, {}, local(2026, 1, 5, 8, 29, 59), false },
        { AlarmRepeatType::daily, {}, local(2026, 1, 5, 20, 30), false },
        { AlarmRepeatType::once, {}, local(2026, 1, 5, 8, 30), true },
        { AlarmRepeatType::weekdays, {}, local(2026, 1, 5, 8, 30), true },
        { AlarmRepeatType::weekdays, {}, local(2026, 1, 10, 8, 30), false },
        { AlarmRepeatType::weekends, {}, local(2026, 1, 10, 8, 30), true },
        { AlarmRepeatType::weekends, {}, local(2026, 1, 11, 8, 30), true },
        { AlarmRepeatType::weekends, {}, local(2026, 1, 9, 8, 30), false },
        { AlarmRepeatType::custom, { 4, 2 }, local(2026, 1, 5, 8, 30), true },
        { AlarmRepeatType::custom, { 4, 2 }, local(2026, 1, 6, 8, 30), false },
        { AlarmRepeatType::custom, { 1 }, local(2026, 1, 11, 8, 30), true },
        { AlarmRepeatType::custom, {}, local(2026, 1, 5, 8, 30), false },
        { AlarmRepeatType::custom, { 0, 8, 99 }, local(2026, 1, 5, 8, 30), false },
    };
    for (const auto& c : cases) {
        Alarm alarm = alarmAt(8, 30, c.repeat, c.days);
        EXPECT_EQ(alarm.shouldTrigger(c.now), c.due)
            << rawValue(c.repeat).toStdString() << " at " << c.now.toString(Qt::ISODateWithMs).toStdString();
        alarm.isEnabled = false;
        EXPECT_FALSE(alarm.shouldTrigger(c.now));
        EXPECT_FALSE(alarm.getNextTriggerTime(c.now));
    }
    // The instant is compared in local time, whatever zone it was handed in.
    EXPECT_TRUE(alarmAt(8, 30, AlarmRepeatType::daily).shouldTrigger(local(2026, 1, 5, 8, 30).toUTC()));
}

TEST(Alarm, NextTriggerAcrossWeeksMonthsYearsAndDaylightSaving)
{
    LocalZone zone("Europe/Berlin");
    const struct
    {
        Alarm alarm;
        QDateTime now;
        std::optional<QDateTime> next;
    } cases[] = {
        // Friday 10:00 -> Monday 09:00.
        { alarmAt(9, 0, AlarmRepeatType::weekdays), local(2026, 1, 9, 10, 0), local(2026, 1, 12, 9, 0) },
        { alarmAt(9, 0, AlarmRepeatType::weekdays), local(2026, 1, 9, 8, 59, 59), local(2026, 1, 9, 9, 0) },
        // Inside the trigger minute the candidate is already tomorrow's.
        { alarmAt(9, 0, AlarmRepeatType::daily), local(2026, 1, 9, 9, 0, 30), local(2026, 1, 10, 9, 0) },
        { alarmAt(9, 0, AlarmRepeatType::daily), local(2026, 1, 31, 23, 0), local(2026, 2, 1, 9, 0) },
        { alarmAt(0, 0, AlarmRepeatType::daily), local(2026, 12, 31, 23, 59), local(2027, 1, 1, 0, 0) },
        { alarmAt(7, 0, AlarmRepeatType::weekends), local(2026, 12, 31, 12, 0), local(2027, 1, 2, 7, 0) },
        { alarmAt(7, 0, AlarmRepeatType::custom, { 7, 1 }), local(2026, 1, 5, 12, 0), local(2026, 1, 10, 7, 0) },
        // No days: the plain candidate; days out of range: nothing.
        { alarmAt(7, 0, AlarmRepeatType::custom), local(2026, 1, 5, 12, 0), local(2026, 1, 6, 7, 0) },
        { alarmAt(7, 0, AlarmRepeatType::custom, { 9 }), local(2026, 1, 5, 12, 0), std::nullopt },
        { alarmAt(7, 0, AlarmRepeatType::once), local(2026, 1, 5, 6, 0), local(2026, 1, 5, 7, 0) },
        // Spring forward (29 March 2026, 02:00 -> 03:00): the next day keeps its local 08:00.
        { alarmAt(8, 0, AlarmRepeatType::daily), local(2026, 3, 28, 9, 0), local(2026, 3, 29, 8, 0) },
        // Autumn back (25 October 2026, 03:00 -> 02:00).
        { alarmAt(8, 0, AlarmRepeatType::daily), local(2026, 10, 24, 9, 0), local(2026, 10, 25, 8, 0) },
    };
    for (const auto& c : cases) {
        const std::optional<QDateTime> next = c.alarm.getNextTriggerTime(c.now);
        ASSERT_EQ(next.has_value(), c.next.has_value()) << c.now.toString(Qt::ISODate).toStdString();
        if (next) {
            EXPECT_EQ(next->toLocalTime(), *c.next)
                << c.now.toString(Qt::ISODate).toStdString() << " gave " << next->toString(Qt::ISODate).toStdString();
            EXPECT_EQ(next->toLocalTime().time(), c.next->time());
        }
    }
    // Across the spring change the wall time stays 08:00 while only 23 hours pass.
    const QDateTime before = local(2026, 3, 28, 8, 0, 30);
    const QDateTime after = *alarmAt(8, 0, AlarmRepeatType::daily).getNextTriggerTime(before);
    EXPECT_EQ(before.secsTo(after), 23 * 3600 - 30);
}

TEST(Alarm, RuleTexts)
{
    LocalZone zone("Asia/Shanghai");
    EXPECT_EQ(alarmAt(7, 0, AlarmRepeatType::once).formatRepeatRule(), u"2025年03月09日"_s);
    EXPECT_EQ(alarmAt(7, 0, AlarmRepeatType::daily).formatRepeatRule(), u"每天"_s);
    EXPECT_EQ(alarmAt(7, 0, AlarmRepeatType::custom).formatRepeatRule(), u"无重复"_s);
    EXPECT_EQ(alarmAt(7, 0, AlarmRepeatType::custom, { 4, 2 }).formatRepeatRule(), u"周一、周三"_s);
    EXPECT_EQ(alarmAt(7, 0, AlarmRepeatType::custom, { 7, 1 }).formatRepeatRule(), u"周日、周六"_s);
    EXPECT_EQ(alarmAt(7, 0, AlarmRepeatType::custom, { 9, 1 }).formatRepeatRule(), u"周日、周9"_s);
    EXPECT_EQ(alarmAt(7, 5, AlarmRepeatType::daily).timeText(), u"07:05"_s);
}

TEST(Alarm, StoredFormRoundTripsAndRefusesWhatIsWrong)
{
    Alarm alarm = alarmAt(6, 45, AlarmRepeatType::custom, { 2, 6 });
    alarm.time = QDateTime(QDate(2001, 1, 1), QTime(0, 0, 10), QTimeZone::utc());
    const QJsonObject json = alarm.toJson();
    EXPECT_EQ(json.size(), 9);
    EXPECT_EQ(json.value(u"time"_s).toDouble(), 10.0);
    EXPECT_EQ(json.value(u"customWeekdays"_s).toArray(), (QJsonArray { 2, 6 }));
    const Alarm back = Alarm::fromJson(JsonReader(json));
    EXPECT_EQ(back.time, alarm.time);
    EXPECT_EQ(back.customWeekdays, alarm.customWeekdays);
    EXPECT_EQ(back.repeatType, AlarmRepeatType::custom);

    using Kind = JsonDecodeError::Kind;
    const struct
    {
        const char* key;
        QJsonValue value;
        Kind kind;
    } bad[] = {
        { "repeatType", u"hourly"_s, Kind::DataCorrupted },
        { "type", u"Work"_s, Kind::DataCorrupted },
        { "time", QJsonValue::Undefined, Kind::KeyNotFound },
        { "time", u"08:00"_s, Kind::TypeMismatch },
        { "createdAt", 1e200, Kind::DataCorrupted },
        { "customWeekdays", QJsonArray { 1, u"Mon"_s }, Kind::TypeMismatch },
        { "customWeekdays", QJsonArray { 1e12 }, Kind::DataCorrupted },
        { "isEnabled", QJsonValue::Null, Kind::ValueNotFound },
    };
    for (const auto& c : bad) {
        QJsonObject broken = json;
        if (c.value.isUndefined())
            broken.remove(QString::fromLatin1(c.key));
        else
            broken.insert(QString::fromLatin1(c.key), c.value);
        try {
            (void)Alarm::fromJson(JsonReader(broken));
            ADD_FAILURE() << "decoded despite " << c.key;
        } catch (const JsonDecodeError& error) {
            EXPECT_EQ(error.kind(), c.kind) << c.key;
        }
    }
}
