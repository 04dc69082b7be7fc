#pragma once

#include "reminders/pages/ManagementRow.h"
#include "reminders/pages/ManagementRowDelegate.h"

class LocalTime;
struct Alarm;

/// One alarm's card in the alarm list: the type's emoji, title, message, time and repeat
/// rule, on a blue tint while the alarm is on. It draws the rows of its list and turns
/// clicks on a card's switch, edit and delete buttons into onToggle, onEdit and onDelete.
class AlarmRowView final : public ManagementRowDelegate
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AlarmRowView)

public:
    /// The space below each card.
    static constexpr int rowGap = 12;

    explicit AlarmRowView(QObject* parent = nullptr);
    ~AlarmRowView() override;

    /// What the card of `alarm` shows, its times read through `local`.
    [[nodiscard]] static ManagementRow row(const Alarm& alarm, const LocalTime& local);
};
