// The alarm and reminder forms on their own: what they start with, when they may save and
// what they hand back.
#include "reminders/pages/AlarmForm.h"
#include "reminders/pages/ReminderForm.h"
#include "reminders/pages/SwitchButton.h"
#include "widgets/PlainLineEdit.h"
#include "widgets/PlainTextEditor.h"

#include "LocalZone.h"
#include "support/DrawnText.h"
#include "support/FakeClock.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QTimeEdit>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

template<typename T = QWidget>
T* field(const QObject* root, const char* name)
{
    T* found = root->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

QPushButton* saveButton(const QObject* form)
{
    return field<QPushButton>(form, "saveButton");
}

Alarm storedAlarm()
{
    Alarm alarm;
    alarm.id = u"0B1D5C2E-0000-4000-8000-000000000001"_s;
    alarm.title = u"站会"_s;
    alarm.message = u"别迟到"_s;
    alarm.type = AlarmType::meeting;
    alarm.time = QDateTime(QDate(2026, 3, 9), QTime(7, 0));
    alarm.repeatType = AlarmRepeatType::once;
    alarm.isEnabled = false;
    alarm.createdAt = QDateTime(QDate(2025, 12, 1), QTime(8, 30, 12));
    return alarm;
}

} // namespace

TEST(AlarmForm, NewAlarmStartsAsACustomDailyAlarmNamedAfterItsType)
{
    FakeClock clock;
    AddAlarmView form(clock);
    auto* type = field<QComboBox>(&form, "alarmTypePicker");
    auto* title = field<PlainLineEdit>(&form, "alarmTitleField");
    EXPECT_EQ(type->currentText(), u"🔔 自定义"_s);
    EXPECT_EQ(type->itemText(0), u"💼 工作闹钟"_s);
    EXPECT_EQ(title->text(), u"自定义"_s);
    EXPECT_TRUE(field<PlainTextEditor>(&form, "alarmMessageField")->text().isEmpty());
    EXPECT_EQ(field<QComboBox>(&form, "alarmRepeatPicker")->currentText(), u"每天"_s);
    EXPECT_TRUE(field<SwitchButton>(&form, "alarmEnabledSwitch")->isChecked());
    EXPECT_EQ(field<QTimeEdit>(&form, "alarmTimeField")->text(), u"14:03"_s);
    EXPECT_FALSE(saveButton(&form)->isEnabled());
    EXPECT_EQ(form.size(), AlarmForm::formSize);
    EXPECT_EQ(form.windowModality(), Qt::WindowModal);

    // Picking a type names the alarm after it, over whatever was typed.
    type->setCurrentIndex(0);
    EXPECT_EQ(title->text(), u"工作闹钟"_s);
    title->setText(u"我的闹钟"_s);
    type->setCurrentIndex(2);
    EXPECT_EQ(title->text(), u"吃药闹钟"_s);
}

TEST(AlarmForm, SaveNeedsATitleAndAMessageOfAnyCharacters)
{
    FakeClock clock;
    EditAlarmView form(storedAlarm(), clock);
    auto* title = field<PlainLineEdit>(&form, "alarmTitleField");
    auto* message = field<PlainTextEditor>(&form, "alarmMessageField");
    const struct
    {
        QString title;
        QString message;
        bool canSave;
    } cases[] = {
        { u"站会"_s, u"别迟到"_s, true },
        { u"站会"_s, QString(), false },
        { QString(), u"别迟到"_s, false },
        { u" "_s, u" "_s, true }, // blanks count as filled
        { u"<b>x</b>"_s, u"🏃🏻‍♀️"_s, true },
    };
    for (const auto& c : cases) {
        title->setText(c.title);
        message->setPlainText(c.message);
        EXPECT_EQ(saveButton(&form)->isEnabled(), c.canSave) << c.title.toStdString() << '/' << c.message.toStdString();
    }
    QSignalSpy saved(&form, &AlarmForm::onSave);
    title->setText(QString());
    form.saveAlarm(); // a disabled save does nothing, whatever calls it
    EXPECT_EQ(saved.count(), 0);
}

TEST(AlarmForm, EditKeepsIdAndCreationTimeAndTheDateOfTheTime)
{
    LocalZone zone("Europe/Berlin");
    FakeClock clock;
    const Alarm stored = storedAlarm();
    EditAlarmView form(stored, clock);
    auto* type = field<QComboBox>(&form, "alarmTypePicker");
    EXPECT_EQ(field<PlainTextEditor>(&form, "alarmMessageField")->text(), u"别迟到"_s);
    EXPECT_EQ(field<QComboBox>(&form, "alarmRepeatPicker")->currentText(), u"仅一次"_s);
    EXPECT_FALSE(field<SwitchButton>(&form, "alarmEnabledSwitch")->isChecked());

    // An edited alarm keeps its title when its type changes.
    type->setCurrentIndex(4);
    EXPECT_EQ(field<PlainLineEdit>(&form, "alarmTitleField")->text(), u"站会"_s);
    field<QTimeEdit>(&form, "alarmTimeField")->setTime(QTime(19, 30));
    field<QComboBox>(&form, "alarmRepeatPicker")->setCurrentIndex(4); // custom
    EXPECT_FALSE(form.customWeekdaySelector()->isHidden());
    // Days pressed stay chosen; a day pressed twice is as before.
    QTest::mouseClick(field<QPushButton>(&form, "weekday4"), Qt::LeftButton);
    QTest::mouseClick(field<QPushButton>(&form, "weekday2"), Qt::LeftButton);
    QTest::mouseClick(field<QPushButton>(&form, "weekday7"), Qt::LeftButton);
    QTest::mouseClick(field<QPushButton>(&form, "weekday7"), Qt::LeftButton);
    EXPECT_TRUE(field<QPushButton>(&form, "weekday2")->isChecked());
    EXPECT_FALSE(field<QPushButton>(&form, "weekday7")->isChecked());

    QSignalSpy saved(&form, &AlarmForm::onSave);
    QTest::mouseClick(saveButton(&form), Qt::LeftButton);
    ASSERT_EQ(saved.count(), 1);
    const auto alarm = saved.first().first().value<Alarm>();
    EXPECT_EQ(alarm.id, stored.id);
    EXPECT_EQ(alarm.createdAt, stored.createdAt);
    EXPECT_EQ(alarm.title, u"站会"_s);
    EXPECT_EQ(alarm.type, AlarmType::sleep);
    // Only the hour and minute moved: the once alarm's date is still shown.
    EXPECT_EQ(alarm.time.toLocalTime(), QDateTime(QDate(2026, 3, 9), QTime(19, 30)));
    EXPECT_EQ(alarm.formatRepeatRule(), u"周一、周三"_s);
    EXPECT_EQ(alarm.customWeekdays, (QList<int> { 2, 4 }));
    EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST(AlarmForm, NewAlarmGetsAnUpperCaseIdAndTheTimeOfCreation)
{
    FakeClock clock;
    AddAlarmView form(clock);
    field<PlainTextEditor>(&form, "alarmMessageField")->setPlainText(u"该走了"_s);
    // The weekday selector shows for the custom rule only; days chosen earlier are kept.
    auto* repeat = field<QComboBox>(&form, "alarmRepeatPicker");
    EXPECT_TRUE(form.customWeekdaySelector()->isHidden());
    repeat->setCurrentIndex(4);
    QTest::mouseClick(field<QPushButton>(&form, "weekday1"), Qt::LeftButton);
    repeat->setCurrentIndex(1);
    EXPECT_TRUE(form.customWeekdaySelector()->isHidden());
    clock.advanceSecs(90);

    QSignalSpy saved(&form, &AlarmForm::onSave);
    form.saveAlarm();
    ASSERT_EQ(saved.count(), 1);
    const auto alarm = saved.first().first().value<Alarm>();
    EXPECT_EQ(alarm.id.size(), 36);
    EXPECT_EQ(alarm.id, alarm.id.toUpper());
    EXPECT_EQ(alarm.createdAt, clock.now());
    EXPECT_EQ(alarm.title, u"自定义"_s);
    EXPECT_EQ(alarm.repeatType, AlarmRepeatType::daily);
    EXPECT_EQ(alarm.customWeekdays, QList<int> { 1 });
    EXPECT_TRUE(alarm.isEnabled);
    EXPECT_EQ(alarm.getTimeComponents().hour, 14);
    EXPECT_EQ(alarm.getTimeComponents().minute, 3);
}

TEST(ReminderForm, NewReminderStartsFromItsTypeAndCanBeSavedAtOnce)
{
    FakeClock clock;
    struct Case
    {
        ReminderType type;
        QString heading;
        int hours;
        int minutes;
    };
    const Case cases[] = {
        { ReminderType::custom, u"添加自定义提醒"_s, 1, 0 },
        { ReminderType::eyeRest, u"添加眼部休息"_s, 0, 20 },
        { ReminderType::posture, u"添加姿势提醒"_s, 0, 45 },
    };
    for (const Case& c : cases) {
        AddReminderView form(c.type, clock);
        EXPECT_EQ(form.windowTitle(), c.heading);
        EXPECT_EQ(field<PlainLineEdit>(&form, "reminderTitleField")->text(), displayName(c.type));
        EXPECT_EQ(field<PlainTextEditor>(&form, "reminderMessageField")->text(), defaultMessage(c.type));
        EXPECT_EQ(field<QSpinBox>(&form, "intervalHours")->value(), c.hours);
        EXPECT_EQ(field<QSpinBox>(&form, "intervalMinutes")->value(), c.minutes);
        EXPECT_TRUE(field<SwitchButton>(&form, "reminderEnabledSwitch")->isChecked());
        EXPECT_TRUE(saveButton(&form)->isEnabled());
        EXPECT_EQ(form.size(), ReminderForm::formSize);
    }

    AddReminderView form(ReminderType::custom, clock);
    QSignalSpy saved(&form, &ReminderForm::onSave);
    form.saveReminder();
    ASSERT_EQ(saved.count(), 1);
    const auto reminder = saved.first().first().value<Reminder>();
    EXPECT_EQ(reminder.id.size(), 36);
    EXPECT_EQ(reminder.type, ReminderType::custom);
    EXPECT_EQ(reminder.interval, 3600.0);
    EXPECT_EQ(reminder.createdAt, clock.now());
    EXPECT_FALSE(reminder.lastTriggered.has_value());
}

TEST(ReminderForm, SaveNeedsATitleAndAtLeastOneMinute)
{
    FakeClock clock;
    AddReminderView form(ReminderType::custom, clock);
    auto* title = field<PlainLineEdit>(&form, "reminderTitleField");
    auto* message = field<PlainTextEditor>(&form, "reminderMessageField");
    auto* hours = field<QSpinBox>(&form, "intervalHours");
    auto* minutes = field<QSpinBox>(&form, "intervalMinutes");
    const struct
    {
        QString title;
        int hours;
        int minutes;
        bool canSave;
    } cases[] = {
        { u"喝水"_s, 1, 0, true },
        { QString(), 1, 0, false },
        { u"  "_s, 1, 0, true },
        { u"喝水"_s, 0, 0, false },
        { u"喝水"_s, 0, 1, true },
        { u"喝水"_s, 23, 59, true },
    };
    message->clear(); // the message may stay empty
    for (const auto& c : cases) {
        title->setText(c.title);
        hours->setValue(c.hours);
        minutes->setValue(c.minutes);
        EXPECT_EQ(saveButton(&form)->isEnabled(), c.canSave) << c.hours << ':' << c.minutes;
    }
    hours->setValue(0);
    minutes->setValue(1);
    QSignalSpy saved(&form, &ReminderForm::onSave);
    QTest::mouseClick(saveButton(&form), Qt::LeftButton);
    ASSERT_EQ(saved.count(), 1);
    EXPECT_EQ(saved.first().first().value<Reminder>().interval, 60.0);
}

TEST(ReminderForm, EditKeepsIdTypeAndTimesAndRoundsTheIntervalToMinutes)
{
    FakeClock clock;
    Reminder stored;
    stored.id = u"r-1"_s;
    stored.title = u"喝水提醒"_s;
    stored.message = u"记得喝水"_s;
    stored.type = ReminderType::hydration;
    stored.interval = 1830;
    stored.isEnabled = false;
    stored.lastTriggered = QDateTime(QDate(2026, 1, 5), QTime(9, 31), QTimeZone::utc());
    stored.createdAt = QDateTime(QDate(2026, 1, 1), QTime(8, 0), QTimeZone::utc());

    EditReminderView form(stored, clock);
    EXPECT_EQ(form.windowTitle(), u"编辑提醒"_s);
    EXPECT_EQ(field<QSpinBox>(&form, "intervalHours")->value(), 0);
    EXPECT_EQ(field<QSpinBox>(&form, "intervalMinutes")->value(), 30);
    EXPECT_FALSE(field<SwitchButton>(&form, "reminderEnabledSwitch")->isChecked());
    field<PlainLineEdit>(&form, "reminderTitleField")->setText(u"多喝水"_s);

    QSignalSpy saved(&form, &ReminderForm::onSave);
    form.saveReminder();
    ASSERT_EQ(saved.count(), 1);
    const auto reminder = saved.first().first().value<Reminder>();
    Reminder expected = stored;
    expected.title = u"多喝水"_s;
    expected.interval = 1800;
    EXPECT_EQ(reminder, expected);
}

// Tab reaches the 启用 switch and 保存 alike, and each wears the lists' focus ring, 3:1 on
// what it is drawn on, in light and dark; a click on the switch marks nothing.
TEST(Forms, TheSwitchAndSaveReachedByTabAreRingedAndAClickRingsNothing)
{
    FakeClock clock;
    for (const bool dark : { false, true }) {
        for (const bool alarm : { true, false }) {
            SCOPED_TRACE(std::string(alarm ? "alarm" : "reminder") + (dark ? " dark" : " light"));
            std::unique_ptr<QWidget> form;
            if (alarm)
                form = std::make_unique<AddAlarmView>(clock);
            else
                form = std::make_unique<AddReminderView>(ReminderType::custom, clock);
            form->setPalette(dark ? darkFusionPalette() : lightPalette());
            if (alarm)
                field<PlainTextEditor>(form.get(), "alarmMessageField")->setPlainText(u"起来走走"_s);
            auto* title = field<PlainLineEdit>(form.get(), alarm ? "alarmTitleField" : "reminderTitleField");
            auto* toggle = field<SwitchButton>(form.get(), alarm ? "alarmEnabledSwitch" : "reminderEnabledSwitch");
            QPushButton* save = saveButton(form.get());
            form->show();
            QApplication::setActiveWindow(form.get());
            ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
            title->setFocus(Qt::OtherFocusReason);
            QCoreApplication::processEvents();
            const QImage plain = form->grab().toImage();
            // Beside the switch's straight left edge, and along the button's top edge clear of
            // its corner and title.
            const QPoint beside = toggle->mapTo(form.get(), QPoint(-2, toggle->height() / 2));
            const QPoint onSave = save->mapTo(form.get(), QPoint(8, 2));
            const auto tabTo = [&](QWidget* wanted) {
                for (int i = 0; i < 16 && !wanted->hasFocus(); ++i)
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                QCoreApplication::processEvents();
                return wanted->hasFocus();
            };

            ASSERT_TRUE(tabTo(toggle));
            QImage image = form->grab().toImage();
            EXPECT_GE(contrastRatio(image.pixelColor(beside), plain.pixelColor(beside)), 3.0) << "the switch";
            ASSERT_TRUE(tabTo(save));
            image = form->grab().toImage();
            EXPECT_LT(contrastRatio(image.pixelColor(beside), plain.pixelColor(beside)), 1.1)
                << "the switch's ring stayed after the keyboard left";
            EXPECT_GE(contrastRatio(image.pixelColor(onSave), plain.pixelColor(onSave)), 3.0) << "保存";

            const bool wasOn = toggle->isChecked();
            QTest::mouseClick(toggle, Qt::LeftButton);
            QCoreApplication::processEvents();
            ASSERT_TRUE(toggle->hasFocus());
            EXPECT_NE(toggle->isChecked(), wasOn);
            EXPECT_LT(contrastRatio(form->grab().toImage().pixelColor(beside), plain.pixelColor(beside)), 1.1)
                << "a click rings the switch";
        }
    }
}
