#include "reminders/ReminderSchedule.h"

#include <QTimeZone>
#include <QUuid>

#include <cmath>

namespace {

/// A century; intervals beyond it are nonsense and would overflow the date arithmetic.
constexpr double longestIntervalSeconds = 100.0 * 366 * 24 * 3600;

} // namespace

std::optional<QDateTime> getNextTriggerTime(const Reminder& reminder)
{
    if (!reminder.isEnabled)
        return std::nullopt;
    // Without this, a zero or negative interval would fire at every minute check.
    if (!std::isfinite(reminder.interval) || reminder.interval <= 0 || reminder.interval > longestIntervalSeconds)
        return std::nullopt;
    const QDateTime& base = reminder.lastTriggered ? *reminder.lastTriggered : reminder.createdAt;
    if (!base.isValid())
        return std::nullopt;
    // Counted on the epoch: every zone in use today is a whole number of minutes off UTC,
    // so seconds within the minute are the same in UTC and local time, and no local-time
    // lookup is needed.
    const qint64 raw = base.toMSecsSinceEpoch() + std::llround(reminder.interval * 1000.0);
    const qint64 seconds = raw >= 0 ? raw / 1000 : -((-raw + 999) / 1000); // fractions dropped
    const qint64 second = ((seconds % 60) + 60) % 60;
    const qint64 minute = seconds - second;
    // Whole seconds count; a fraction of a second alone does not push to the next minute.
    return QDateTime::fromSecsSinceEpoch(second >= 1 ? minute + 60 : minute, QTimeZone::utc());
}

Reminder createDefaultReminder(ReminderType type, const QDateTime& now)
{
    Reminder reminder;
    reminder.id = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    reminder.title = displayName(type);
    reminder.message = defaultMessage(type);
    reminder.type = type;
    reminder.interval = defaultInterval(type);
    reminder.isEnabled = true;
    reminder.createdAt = now;
    return reminder;
}
