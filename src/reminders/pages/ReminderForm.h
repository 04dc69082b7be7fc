#pragma once

#include "core/Reminder.h"

#include <QDialog>

class Clock;
class PlainLineEdit;
class PlainTextEditor;
class QPushButton;
class QSpinBox;
class SwitchButton;

/// The reminder form, a window-modal sheet of 400 × 450: title, message, the interval in
/// hours and minutes, and the enabled switch. "保存" hands the finished reminder to `onSave`
/// and closes the sheet; the form never touches the reminder list itself. Open it with
/// open().
class ReminderForm : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReminderForm)

public:
    /// The form's size at the default font; it grows with a larger one.
    static constexpr QSize formSize { 400, 450 };

    ~ReminderForm() override;

    /// Whether "保存" is enabled: a title of at least one character (blanks count) and an
    /// interval of at least one minute. The message may be empty.
    [[nodiscard]] bool canSave() const;
    /// The reminder the form would save now.
    [[nodiscard]] Reminder buildReminder() const;
    /// Saves when the form is valid: emits `onSave` and closes.
    void saveReminder();

    /// What the fields hold now, as the reminder would take it.
    [[nodiscard]] QString title() const;
    [[nodiscard]] QString message() const;
    [[nodiscard]] int intervalHours() const;
    [[nodiscard]] int intervalMinutes() const;

    /// The interval as the steppers show it: whole hours and the whole minutes left over;
    /// seconds below a minute are dropped. Beyond what the steppers reach it is 23:59.
    struct Steps
    {
        int hours = 0;
        int minutes = 0;
        friend bool operator==(const Steps&, const Steps&) = default;
    };
    [[nodiscard]] static Steps stepsOf(double intervalSeconds);

Q_SIGNALS:
    void onSave(const Reminder& reminder);

protected:
    enum class Mode { add, edit };
    /// An empty form; the subclass fills it with loadReminderData().
    ReminderForm(Mode mode, const Reminder& reminder, Clock& clock, QWidget* parent);

    /// Puts `reminder`'s title, message, interval and switch into the fields.
    void loadReminderData(const Reminder& reminder);
    [[nodiscard]] ReminderType reminderType() const { return m_reminder.type; }
    [[nodiscard]] const Reminder& editedReminder() const { return m_reminder; }

private:
    void buildLayout(const QString& heading);
    void updateSaveButton();

    Mode m_mode;
    Clock& m_clock;
    /// The reminder being edited (or the new one's type and defaults).
    Reminder m_reminder;

    PlainLineEdit* m_titleField = nullptr;
    PlainTextEditor* m_messageField = nullptr;
    QSpinBox* m_hoursField = nullptr;
    QSpinBox* m_minutesField = nullptr;
    SwitchButton* m_enabledSwitch = nullptr;
    QPushButton* m_saveButton = nullptr;
};

/// The form for a new reminder of a type, filled with the type's name, message and
/// interval.
class AddReminderView final : public ReminderForm
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AddReminderView)

public:
    AddReminderView(ReminderType reminderType, Clock& clock, QWidget* parent = nullptr);
    ~AddReminderView() override;

private:
    /// Fills the form with the type's name, default message and default interval, enabled.
    void loadDefaults();
};

/// The form for an existing reminder; saving keeps its id, type, last firing and creation
/// time.
class EditReminderView final : public ReminderForm
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EditReminderView)

public:
    EditReminderView(const Reminder& reminder, Clock& clock, QWidget* parent = nullptr);
    ~EditReminderView() override;

    /// The reminder as it was when the form opened.
    [[nodiscard]] const Reminder& reminder() const { return editedReminder(); }
};
