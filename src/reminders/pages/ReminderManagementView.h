#pragma once

#include "core/Reminder.h"
#include "reminders/pages/ManagementRow.h"

#include <QPointer>
#include <QWidget>

#include <optional>

class Clock;
class LocalTime;
class ManagementListModel;
class ManagementListView;
class QVBoxLayout;
class ReminderForm;
class ReminderManager;

/// The reminder page: "默认提醒" (the built-in types, switch and edit only) and "自定义提醒"
/// (switch, edit, delete), each with a placeholder when empty, and "添加提醒", which always
/// adds a custom reminder. It keeps no reminders of its own: each action goes to the
/// manager, and the rows follow the manager's list.
class ReminderManagementView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReminderManagementView)

public:
    static constexpr QSize preferredSize { 600, 500 };

    /// `clock` dates new reminders.
    ReminderManagementView(ReminderManager& reminderManager, Clock& clock, QWidget* parent = nullptr);
    ~ReminderManagementView() override;

    [[nodiscard]] QSize sizeHint() const override { return preferredSize; }

    /// Opens the add form for a custom reminder (the header button does this).
    void showAddReminder();
    /// Opens the edit form for the reminder with `id`, filled from the manager's copy.
    void showEditReminder(const QString& id);
    [[nodiscard]] ReminderForm* openForm() const;
    /// Whether the add form is on screen.
    [[nodiscard]] bool showingAddReminder() const;
    /// The reminder whose edit form is on screen, if any.
    [[nodiscard]] std::optional<Reminder> editingReminder() const;

    [[nodiscard]] ManagementListView* defaultList() const { return m_defaultList; }
    [[nodiscard]] ManagementListView* customList() const { return m_customList; }

private:
    /// A section's grey placeholder box showing `message` in place of rows.
    [[nodiscard]] static QWidget* emptyStateView(const QString& message, QWidget* parent);
    ManagementListView* addSection(
        const QString& heading, const QString& placeholder, bool custom, const QString& name, QVBoxLayout* layout);
    void present(ReminderForm* form);

    ReminderManager& m_reminderManager;
    Clock& m_clock;
    ManagementListView* m_defaultList = nullptr;
    ManagementListView* m_customList = nullptr;
    /// The type the add form was last opened for.
    ReminderType m_selectedReminderType = ReminderType::custom;
    QPointer<ReminderForm> m_form;
};
