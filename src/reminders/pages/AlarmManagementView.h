#pragma once

#include "reminders/Alarm.h"
#include "reminders/pages/ManagementRow.h"

#include <QPointer>
#include <QWidget>

#include <optional>

class AlarmForm;
class AlarmManager;
class Clock;
class LocalTime;
class ManagementListModel;
class ManagementListView;
class QStackedWidget;
class QVBoxLayout;

/// The alarm page: every alarm of the manager as a row with its switch, edit and delete
/// buttons, or an empty state, and "添加闹钟". It keeps no alarms of its own: each action
/// goes to the manager, and the rows follow the manager's list, also when the manager
/// itself changes an alarm (a once alarm switched off after ringing).
class AlarmManagementView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AlarmManagementView)

public:
    static constexpr QSize preferredSize { 600, 500 };

    /// `clock` dates new alarms.
    explicit AlarmManagementView(AlarmManager& alarmManager, Clock& clock, QWidget* parent = nullptr);
    ~AlarmManagementView() override;

    [[nodiscard]] QSize sizeHint() const override { return preferredSize; }

    /// Opens the add form (the header button does this).
    void showAddAlarm();
    /// Opens the edit form for the alarm with `id`, filled from the manager's copy.
    void showEditAlarm(const QString& id);
    /// The open add or edit form, if any.
    [[nodiscard]] AlarmForm* openForm() const;
    /// Whether the add form is on screen.
    [[nodiscard]] bool showingAddAlarm() const;
    /// The alarm whose edit form is on screen, if any.
    [[nodiscard]] std::optional<Alarm> editingAlarm() const;

    [[nodiscard]] ManagementListView* listView() const { return m_list; }

private:
    /// The title, "添加闹钟" and the note above the list, laid into `column`.
    void headerView(QVBoxLayout* column);
    /// What the page shows while there is no alarm.
    [[nodiscard]] static QWidget* emptyStateView(QWidget* parent);
    void present(AlarmForm* form);
    void updateEmptyState();

    AlarmManager& m_alarmManager;
    Clock& m_clock;
    ManagementListModel* m_model;
    ManagementListView* m_list;
    QStackedWidget* m_stack;
    QPointer<AlarmForm> m_form;
};
