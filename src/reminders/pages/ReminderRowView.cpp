#include "reminders/pages/ReminderRowView.h"

#include "reminders/LocalTime.h"
#include "reminders/ReminderSchedule.h"
#include "reminders/pages/ReminderManagementView.h"

using namespace Qt::StringLiterals;

ReminderRowView::ReminderRowView(QObject* parent)
    : ManagementRowDelegate(rowGap, false, parent)
{
}

ReminderRowView::~ReminderRowView() = default;

ManagementRow ReminderRowView::row(const Reminder& reminder, bool canDelete, const LocalTime& local)
{
    ManagementRow row;
    row.id = reminder.id;
    row.enabled = reminder.isEnabled;
    row.emoji = emoji(reminder.type);
    row.title = reminder.title;
    row.message = reminder.message;
    row.details = { { u"间隔: "_s + ReminderManagementView::formatInterval(reminder.interval), RowColours::blue } };
    if (const std::optional<QDateTime> next = getNextTriggerTime(reminder))
        row.details.append({ u"· 下次: "_s + local.timeOfDay(*next).toString(u"HH:mm"_s), RowColours::orange });
    row.canDelete = canDelete;
    row.accent = RowColours::green;
    return row;
}
