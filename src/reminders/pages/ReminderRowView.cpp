#include "reminders/pages/ReminderRowView.h"

#include "reminders/LocalTime.h"
#include "reminders/ReminderSchedule.h"

#include <cmath>

using namespace Qt::StringLiterals;

ReminderRowView::ReminderRowView(QObject* parent)
    : ManagementRowDelegate(rowGap, false, parent)
{
}

ReminderRowView::~ReminderRowView() = default;

QString ReminderRowView::formatInterval(double seconds)
{
    if (!std::isfinite(seconds) || std::abs(seconds) > 1e15)
        return u"—"_s;
    const auto minutes = static_cast<qint64>(seconds / 60); // truncated towards zero
    if (minutes < 60)
        return QString::number(minutes) + u"分钟"_s;
    const qint64 hours = minutes / 60;
    const qint64 rest = minutes - 60 * hours;
    if (rest == 0)
        return QString::number(hours) + u"小时"_s;
    return QString::number(hours) + u"小时"_s + QString::number(rest) + u"分钟"_s;
}

ManagementRow ReminderRowView::row(const Reminder& reminder, bool canDelete, const LocalTime& local)
{
    ManagementRow row;
    row.id = reminder.id;
    row.enabled = reminder.isEnabled;
    row.emoji = emoji(reminder.type);
    row.title = reminder.title;
    row.message = reminder.message;
    row.details = { { u"间隔: "_s + formatInterval(reminder.interval), RowColours::blue } };
    if (const std::optional<QDateTime> next = reminder.getNextTriggerTime())
        row.details.append({ u"· 下次: "_s + local.timeOfDay(*next).toString(u"HH:mm"_s), RowColours::orange });
    row.canDelete = canDelete;
    row.accent = RowColours::green;
    return row;
}
