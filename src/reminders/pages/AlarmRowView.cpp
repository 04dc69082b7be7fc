#include "reminders/pages/AlarmRowView.h"

#include "reminders/Alarm.h"

using namespace Qt::StringLiterals;

AlarmRowView::AlarmRowView(QObject* parent)
    : ManagementRowDelegate(rowGap, true, parent)
{
}

AlarmRowView::~AlarmRowView() = default;

ManagementRow AlarmRowView::row(const Alarm& alarm, const LocalTime& local)
{
    ManagementRow row;
    row.id = alarm.id;
    row.enabled = alarm.isEnabled;
    row.emoji = emoji(alarm.type);
    row.title = alarm.title;
    row.message = alarm.message;
    row.details = { { alarm.timeText(local), RowColours::blue }, { u"·"_s, {}, true },
        { alarm.formatRepeatRule(local), RowColours::orange } };
    row.canDelete = true;
    row.accent = RowColours::blue;
    return row;
}
