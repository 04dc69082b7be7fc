#include "reminders/ReminderSchedule.h"

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
    const QDateTime raw = base.addMSecs(std::llround(reminder.interval * 1000.0));
    // Whole seconds count; a fraction of a second alone does not push to the next minute.
    const QTime t = raw.time();
    const QDateTime minute = raw.addMSecs(-(static_cast<qint64>(t.second()) * 1000 + t.msec()));
    if (!minute.isValid())
        return std::nullopt;
    return t.second() >= 1 ? minute.addSecs(60) : minute;
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
