#pragma once

#include "core/Reminder.h"
#include "reminders/pages/ManagementRow.h"
#include "reminders/pages/ManagementRowDelegate.h"

class LocalTime;

/// One reminder's card in a section of the reminder page: the type's emoji, title, message,
/// interval and next firing, on a green tint while the reminder is on. It draws the rows of
/// its section, which ends with the last card, and turns clicks on a card's switch, edit and
/// delete buttons into onToggle, onEdit and onDelete.
class ReminderRowView final : public ManagementRowDelegate
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReminderRowView)

public:
    /// The space between two cards.
    static constexpr int rowGap = 8;

    explicit ReminderRowView(QObject* parent = nullptr);
    ~ReminderRowView() override;

    /// "1小时30分钟": the interval in whole minutes, as hours and minutes from an hour on.
    [[nodiscard]] static QString formatInterval(double seconds);

    /// What the card of `reminder` shows, with a delete button when `canDelete`, its next
    /// firing read through `local`.
    [[nodiscard]] static ManagementRow row(const Reminder& reminder, bool canDelete, const LocalTime& local);
};
