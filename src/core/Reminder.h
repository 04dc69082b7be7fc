#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QMetaType>
#include <QString>

#include <array>
#include <optional>

class JsonReader;

/// The kinds of interval reminder; the kind chooses the emoji of the reminder's bubble.
enum class ReminderType { rest, hydration, eyeRest, posture, custom };

inline constexpr std::array<ReminderType, 5> allReminderTypes { ReminderType::rest, ReminderType::hydration,
    ReminderType::eyeRest, ReminderType::posture, ReminderType::custom };

[[nodiscard]] QString rawValue(ReminderType type);
/// Also the title of the type's default reminder.
[[nodiscard]] QString displayName(ReminderType type);
[[nodiscard]] QString emoji(ReminderType type);
/// The text of the type's default reminder, and the one a new reminder of the type starts with.
[[nodiscard]] QString defaultMessage(ReminderType type);
/// Seconds between firings of the type's default reminder.
[[nodiscard]] double defaultInterval(ReminderType type);
/// Exact, case-sensitive match of a raw value; anything else yields no value.
[[nodiscard]] std::optional<ReminderType> reminderTypeFromRaw(const QString& raw);

/// An interval reminder: it repeats every `interval` seconds counted from its last firing.
struct Reminder
{
    QString id;
    QString title;
    QString message;
    ReminderType type = ReminderType::custom;
    double interval = 0;
    bool isEnabled = true;
    std::optional<QDateTime> lastTriggered;
    QDateTime createdAt;

    /// The stored form: dates as seconds since 2001-01-01 00:00:00 UTC; "lastTriggered" is
    /// left out when the reminder never fired.
    [[nodiscard]] QJsonObject toJson() const;
    /// Every key but "lastTriggered" (absent or null when the reminder never fired) is
    /// required; throws JsonDecodeError naming the offending value.
    [[nodiscard]] static Reminder fromJson(const JsonReader& json);

    /// When an enabled reminder fires next: its interval after the last firing (or after its
    /// creation, before the first), rounded up to the whole minute, since the checks run on
    /// whole minutes. A reminder whose interval is not a positive, representable number of
    /// seconds never fires.
    [[nodiscard]] std::optional<QDateTime> getNextTriggerTime() const;

    friend bool operator==(const Reminder&, const Reminder&) = default;
};

/// Dates in the stored form of reminders (and other local lists): seconds since 2001-01-01 UTC.
[[nodiscard]] double referenceSeconds(const QDateTime& time);
[[nodiscard]] QDateTime fromReferenceSeconds(double seconds);
/// A required date in that form under `key`; throws JsonDecodeError for a value that is not
/// a finite number or lies too far from now for a date to hold.
[[nodiscard]] QDateTime readReferenceDate(const JsonReader& json, QStringView key);

Q_DECLARE_METATYPE(Reminder)
