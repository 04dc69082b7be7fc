// The reminder and alarm pages and their forms on the real X server: rows span the list,
// emoji come out in colour, and with TAMSEL_SHOT_DIR set each screen is saved as a picture
// to look at.
#include "../PagesRig.h"

#include "reminders/pages/AlarmForm.h"
#include "reminders/pages/AlarmManagementView.h"
#include "reminders/pages/ReminderAndAlarmPreferencesView.h"
#include "reminders/pages/ReminderForm.h"
#include "reminders/pages/ReminderManagementView.h"
#include "support/Screenshots.h"

#include <QComboBox>
#include <QImage>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QDateTime at(int h, int m)
{
    return QDateTime(QDate(2026, 1, 5), QTime(h, m));
}

void seedLists(PagesRig& rig)
{
    Alarm daily;
    daily.id = Alarm::newId();
    daily.title = u"<b>站会</b> & 周报"_s;
    daily.message = u"带上笔记本，还有那份很长很长很长很长很长很长很长很长很长很长很长很长的议程"_s;
    daily.type = AlarmType::meeting;
    daily.time = at(9, 30);
    daily.repeatType = AlarmRepeatType::daily;
    daily.createdAt = at(8, 0);
    rig.alarms->addAlarm(daily);
    Alarm pills = daily;
    pills.id = Alarm::newId();
    pills.title = u"吃药闹钟"_s;
    pills.message = u"饭后半小时"_s;
    pills.type = AlarmType::medicine;
    pills.time = at(19, 5);
    pills.repeatType = AlarmRepeatType::custom;
    pills.customWeekdays = { 7, 2, 4 };
    rig.alarms->addAlarm(pills);

    Reminder stretch = rig.manager->createDefaultReminder(ReminderType::custom);
    stretch.title = u"伸懒腰"_s;
    stretch.interval = 5400;
    rig.manager->addReminder(stretch);
    rig.manager->toggleReminder(rig.manager->reminders()[1].id);
}

} // namespace

TEST(PagesOnScreen, PagesAndFormsFitAndShowColourEmoji)
{
    PagesRig rig;
    seedLists(rig);
    ReminderAndAlarmPreferencesView page(*rig.alarms, *rig.manager, rig.clock);
    page.setWindowTitle(u"提醒/闹钟"_s);
    page.resize(600, 550); // the detail column of the preferences window
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));

    auto* reminders = qobject_cast<ReminderManagementView*>(page.currentPage());
    ASSERT_TRUE(reminders);
    const QImage reminderShot = grabFromScreen(&page, u"reminders-page"_s);
    ManagementListView* defaults = reminders->defaultList();
    const QRect firstRow = defaults->visualRect(defaults->model()->index(0, 0));
    // Rows take the whole width of their list.
    EXPECT_GE(firstRow.width(), defaults->viewport()->width() - 1);
    const QRect emojiBox = ManagementRowDelegate::geometry(defaults->cardRect(1), false).emoji; // 💧
    const QRect onScreen
        = inFrame(&page, QRect(defaults->viewport()->mapTo(&page, emojiBox.topLeft()), emojiBox.size()));
    EXPECT_GT(colourfulPixels(reminderShot, onScreen), 30);

    reminders->showEditReminder(rig.manager->reminders()[0].id);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(reminders->openForm()));
    EXPECT_EQ(reminders->openForm()->size(), ReminderForm::formSize);
    grabFromScreen(reminders->openForm(), u"reminder-edit-form"_s);
    reminders->openForm()->reject();
    reminders->showAddReminder();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(reminders->openForm()));
    grabFromScreen(reminders->openForm(), u"reminder-add-form"_s);
    reminders->openForm()->reject();

    QTest::mouseClick(part<QAbstractButton>(&page, "alarmSegment"), Qt::LeftButton);
    auto* alarms = qobject_cast<AlarmManagementView*>(page.currentPage());
    ASSERT_TRUE(alarms);
    grabFromScreen(&page, u"alarms-page"_s);

    alarms->showAddAlarm();
    AlarmForm* add = alarms->openForm();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(add));
    part<QComboBox>(add, "alarmRepeatPicker")->setCurrentIndex(4);
    QTest::mouseClick(part<QPushButton>(add, "weekday2"), Qt::LeftButton);
    QTest::mouseClick(part<QPushButton>(add, "weekday6"), Qt::LeftButton);
    EXPECT_EQ(add->size(), AlarmForm::formSize);
    // Everything fits in the fixed size, the weekday row included.
    auto* save = part<QPushButton>(add, "saveButton");
    EXPECT_TRUE(add->rect().contains(QRect(save->mapTo(add, QPoint(0, 0)), save->size())));
    grabFromScreen(add, u"alarm-add-form-custom"_s);
    add->reject();

    alarms->showEditAlarm(rig.alarms->alarms()[1].id);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(alarms->openForm()));
    grabFromScreen(alarms->openForm(), u"alarm-edit-form"_s);
    alarms->openForm()->reject();

    // The empty state.
    for (const Alarm& alarm : QList<Alarm>(rig.alarms->alarms()))
        rig.alarms->removeAlarm(alarm.id);
    grabFromScreen(&page, u"alarms-page-empty"_s);
}
