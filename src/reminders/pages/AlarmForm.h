#pragma once

#include "reminders/Alarm.h"

#include <QDateTime>
#include <QDialog>

#include <set>

class Clock;
class PlainLineEdit;
class PlainTextEditor;
class QAbstractButton;
class QComboBox;
class QPushButton;
class QTimeEdit;
class SwitchButton;

/// The alarm form, a window-modal sheet of 450 × 550: type, title, message, time, repeat
/// rule, weekdays (for the custom rule) and the enabled switch. "保存" hands the finished
/// alarm to `onSave` and closes the sheet; the form never touches the alarm list itself.
/// Open it with open().
class AlarmForm : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AlarmForm)

public:
    /// The form's size at the default font; it grows with a larger one.
    static constexpr QSize formSize { 450, 550 };

    ~AlarmForm() override;

    /// Whether "保存" is enabled: the title and the message hold at least one character
    /// (blanks count).
    [[nodiscard]] bool canSave() const;
    /// The alarm the form would save now.
    [[nodiscard]] Alarm buildAlarm() const;
    /// Saves when the form is valid: emits `onSave` and closes.
    void saveAlarm();

    /// What the fields hold now, as the alarm would take it.
    [[nodiscard]] QString title() const;
    [[nodiscard]] QString message() const;
    [[nodiscard]] AlarmRepeatType repeatType() const;
    /// The type picked in the form.
    [[nodiscard]] AlarmType selectedType() const;
    /// The alarm's time: the picked hour and minute on the date the alarm had.
    [[nodiscard]] QDateTime selectedTime() const { return m_selectedTime; }
    [[nodiscard]] std::set<int> customWeekdays() const { return m_weekdays; }
    [[nodiscard]] QWidget* customWeekdaySelector() const { return m_weekdaySelector; }

Q_SIGNALS:
    void onSave(const Alarm& alarm);

protected:
    enum class Mode { add, edit };
    AlarmForm(Mode mode, const Alarm& alarm, Clock& clock, QWidget* parent);

    void changeEvent(QEvent* event) override;
    [[nodiscard]] const Alarm& editedAlarm() const { return m_alarm; }

private:
    void buildLayout();
    void loadAlarmData(const Alarm& alarm);
    void setTypeIndex(AlarmType type);
    void onTypePicked(int index);
    void onTimePicked(QTime time);
    void toggleWeekday(int day);
    void updateWeekdaySelector();
    /// Gives the weekday buttons their colours from the form's palette.
    void styleWeekdays();
    void updateSaveButton();

    Mode m_mode;
    Clock& m_clock;
    /// The alarm being edited; id and creation time come from it.
    Alarm m_alarm;
    QDateTime m_selectedTime;
    std::set<int> m_weekdays;

    QComboBox* m_typePicker = nullptr;
    PlainLineEdit* m_titleField = nullptr;
    PlainTextEditor* m_messageField = nullptr;
    QTimeEdit* m_timeField = nullptr;
    QComboBox* m_repeatPicker = nullptr;
    QWidget* m_weekdaySelector = nullptr;
    QList<QAbstractButton*> m_dayButtons;
    SwitchButton* m_enabledSwitch = nullptr;
    QPushButton* m_saveButton = nullptr;
};

/// The form for a new alarm: type 🔔 自定义 with its name as title, no message, the current
/// time, every day, enabled. Picking a type puts its name in the title.
class AddAlarmView final : public AlarmForm
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AddAlarmView)

public:
    explicit AddAlarmView(Clock& clock, QWidget* parent = nullptr);
    ~AddAlarmView() override;
};

/// The form for an existing alarm, filled from it; saving keeps its id and creation time.
class EditAlarmView final : public AlarmForm
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EditAlarmView)

public:
    EditAlarmView(const Alarm& alarm, Clock& clock, QWidget* parent = nullptr);
    ~EditAlarmView() override;

    /// The alarm as it was when the form opened.
    [[nodiscard]] const Alarm& alarm() const { return editedAlarm(); }
};
