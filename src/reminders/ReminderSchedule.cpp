#include "reminders/ReminderSchedule.h"

#include <QUuid>

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
