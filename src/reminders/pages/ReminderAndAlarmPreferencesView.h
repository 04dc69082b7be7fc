#pragma once

#include <QWidget>

class AlarmManager;
class Clock;
class QVBoxLayout;
class ReminderManager;
class SegmentedPicker;

/// The "提醒/闹钟" page of the preferences: a segment switch between the reminder page and
/// the alarm page, opening on "提醒". Each switch builds the chosen page afresh, with no
/// form open. Host it as a plain widget: it needs nothing else from its host.
class ReminderAndAlarmPreferencesView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReminderAndAlarmPreferencesView)

public:
    enum class ReminderAlarmTab { reminder, alarm };

    ReminderAndAlarmPreferencesView(
        AlarmManager& alarmManager, ReminderManager& reminderManager, QWidget* parent = nullptr);
    /// `clock` dates the reminders and alarms the pages create.
    ReminderAndAlarmPreferencesView(
        AlarmManager& alarmManager, ReminderManager& reminderManager, Clock& clock, QWidget* parent = nullptr);
    ~ReminderAndAlarmPreferencesView() override;

    [[nodiscard]] static QString rawValue(ReminderAlarmTab tab);

    [[nodiscard]] ReminderAlarmTab selectedTab() const { return m_selectedTab; }
    void setSelectedTab(ReminderAlarmTab tab);
    /// The page of the selected segment.
    [[nodiscard]] QWidget* currentPage() const { return m_page; }

private:
    void showPage();

    ReminderManager& m_reminderManager;
    AlarmManager& m_alarmManager;
    Clock& m_clock;
    ReminderAlarmTab m_selectedTab = ReminderAlarmTab::reminder;
    QVBoxLayout* m_layout;
    SegmentedPicker* m_picker = nullptr;
    QWidget* m_page = nullptr;
};
