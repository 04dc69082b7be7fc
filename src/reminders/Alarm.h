#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QMetaType>
#include <QString>

#include <array>
#include <optional>

class JsonReader;
class LocalTime;

enum class AlarmType { work, meeting, medicine, exercise, sleep, custom };
enum class AlarmRepeatType { once, daily, weekdays, weekends, custom };

inline constexpr std::array<AlarmType, 6> allAlarmTypes { AlarmType::work, AlarmType::meeting, AlarmType::medicine,
    AlarmType::exercise, AlarmType::sleep, AlarmType::custom };
inline constexpr std::array<AlarmRepeatType, 5> allAlarmRepeatTypes { AlarmRepeatType::once, AlarmRepeatType::daily,
    AlarmRepeatType::weekdays, AlarmRepeatType::weekends, AlarmRepeatType::custom };

[[nodiscard]] QString rawValue(AlarmType type);
[[nodiscard]] QString displayName(AlarmType type);
[[nodiscard]] QString emoji(AlarmType type);
[[nodiscard]] std::optional<AlarmType> alarmTypeFromRaw(QStringView raw);

[[nodiscard]] QString rawValue(AlarmRepeatType type);
[[nodiscard]] QString displayName(AlarmRepeatType type);
[[nodiscard]] std::optional<AlarmRepeatType> alarmRepeatTypeFromRaw(QStringView raw);

/// An alarm: a time of day with a repeat rule. Weekday numbers are 1 = Sunday ... 7 = Saturday.
/// Every date computation reads local time, so an alarm follows the user's time zone.
struct Alarm
{
    QString id;
    QString title;
    QString message;
    AlarmType type = AlarmType::custom;
    /// Only its local hour and minute decide when the alarm rings; its date is shown as the
    /// rule text of a once alarm.
    QDateTime time;
    AlarmRepeatType repeatType = AlarmRepeatType::once;
    QList<int> customWeekdays;
    bool isEnabled = true;
    QDateTime createdAt;

    /// A fresh id in the form new alarms get.
    [[nodiscard]] static QString newId();

    struct TimeOfDay
    {
        int hour = 0;
        int minute = 0;
    };
    [[nodiscard]] TimeOfDay getTimeComponents() const;
    [[nodiscard]] TimeOfDay getTimeComponents(const LocalTime& local) const;

    /// Whether the alarm rings during the local minute that `now` falls in.
    [[nodiscard]] bool shouldTrigger(const QDateTime& now) const;
    /// The same, reading local time through `local` (for a pass over many alarms).
    [[nodiscard]] bool shouldTrigger(const QDateTime& now, const LocalTime& local) const;
    /// The next instant after `now` at which the alarm's hour and minute come under its rule.
    [[nodiscard]] std::optional<QDateTime> getNextTriggerTime(const QDateTime& now) const;
    /// The rule as the alarm list and the card show it.
    [[nodiscard]] QString formatRepeatRule() const;
    /// The same, reading local time through `local` (for a list of many alarms).
    [[nodiscard]] QString formatRepeatRule(const LocalTime& local) const;
    /// The alarm time as "HH:mm".
    [[nodiscard]] QString timeText() const;
    [[nodiscard]] QString timeText(const LocalTime& local) const;

    /// The stored form: all nine keys, dates as seconds since 2001-01-01 UTC.
    [[nodiscard]] QJsonObject toJson() const;
    /// All nine keys are required; throws JsonDecodeError naming the offending value. The
    /// dates come back in UTC: they are instants, read in whatever zone is current.
    [[nodiscard]] static Alarm fromJson(const JsonReader& json);

    friend bool operator==(const Alarm&, const Alarm&) = default;
};

Q_DECLARE_METATYPE(Alarm)
