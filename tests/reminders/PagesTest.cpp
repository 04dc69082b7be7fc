// The alarm and reminder pages over real managers: every action reaches the manager at
// once, and the rows follow the manager's list, including changes the engine makes itself.
#include "PagesRig.h"

#include "reminders/AlarmWindowView.h"
#include "reminders/pages/AlarmForm.h"
#include "reminders/pages/AlarmManagementView.h"
#include "reminders/pages/ReminderAndAlarmPreferencesView.h"
#include "reminders/pages/ReminderForm.h"
#include "reminders/pages/ReminderManagementView.h"
#include "widgets/PlainLineEdit.h"
#include "widgets/PlainTextEditor.h"

#include <QComboBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTimeEdit>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Part = ManagementRowDelegate::Part;

namespace {

QDateTime at(int h, int m, int s = 0)
{
    return QDateTime(QDate(2026, 1, 5), QTime(h, m, s));
}

ManagementRow rowOf(const ManagementListView* view, int row)
{
    return view->model()->index(row, 0).data(ManagementListModel::RowRole).value<ManagementRow>();
}

QStringList titles(const ManagementListView* view)
{
    QStringList list;
    for (int row = 0; row < view->model()->rowCount(); ++row)
        list.append(rowOf(view, row).title);
    return list;
}

template<typename Page>
void showPage(Page& page)
{
    page.resize(600, 500);
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
}

} // namespace

TEST(AlarmPage, AnAlarmSwitchedOnFromThePageRingsAndTheEngineSwitchingItOffShows)
{
    PagesRig rig; // 09:00:10, the seeded meeting alarm is off
    AlarmManagementView page(*rig.alarms, rig.clock);
    showPage(page);
    ManagementListView* list = page.listView();
    ASSERT_EQ(list->model()->rowCount(), 1);
    // The seeded alarm is a once alarm at the next full hour.
    Alarm seeded = rig.alarms->alarms().first();
    seeded.time = at(9, 1);
    rig.alarms->updateAlarm(seeded);
    EXPECT_FALSE(rig.alarms->isActive());
    EXPECT_FALSE(rowOf(list, 0).enabled);

    QSignalSpy removed(list->model(), &QAbstractItemModel::rowsRemoved);
    QSignalSpy reset(list->model(), &QAbstractItemModel::modelReset);
    QSignalSpy changed(list->model(), &QAbstractItemModel::dataChanged);
    clickRowPart(list, 0, Part::toggle);
    EXPECT_TRUE(rig.alarms->alarms().first().isEnabled);
    EXPECT_TRUE(rig.alarms->isActive());
    EXPECT_TRUE(rowOf(list, 0).enabled);

    rig.ringAt(at(9, 1));
    EXPECT_NE(rig.windows.alarmWindow(seeded.id), nullptr);
    // The manager switched the once alarm off; the open page shows it, row in place.
    EXPECT_FALSE(rig.alarms->alarms().first().isEnabled);
    EXPECT_FALSE(rowOf(list, 0).enabled);
    EXPECT_EQ(removed.count(), 0);
    EXPECT_EQ(reset.count(), 0);
    EXPECT_EQ(changed.count(), 2); // the switch, then the engine
}

TEST(AlarmPage, AddEditAndDeleteGoThroughTheManagerAndTheEmptyStateFollows)
{
    PagesRig rig;
    AlarmManagementView page(*rig.alarms, rig.clock);
    showPage(page);
    ManagementListView* list = page.listView();
    auto* empty = part(&page, "alarmEmptyState");

    // Deleting asks nothing; the last one gone, the empty state shows.
    clickRowPart(list, 0, Part::remove);
    EXPECT_TRUE(rig.alarms->alarms().isEmpty());
    EXPECT_TRUE(empty->isVisible());
    EXPECT_FALSE(list->isVisible());

    QTest::mouseClick(part<QPushButton>(&page, "addAlarmButton"), Qt::LeftButton);
    QPointer<AlarmForm> add = page.openForm();
    ASSERT_TRUE(add);
    EXPECT_TRUE(qobject_cast<AddAlarmView*>(add));
    EXPECT_TRUE(page.showingAddAlarm());
    EXPECT_EQ(page.editingAlarm(), std::nullopt);
    EXPECT_EQ(add->windowModality(), Qt::WindowModal);
    part<QComboBox>(add, "alarmTypePicker")->setCurrentIndex(3);
    part<PlainTextEditor>(add, "alarmMessageField")->setPlainText(u"<b>跑步</b>"_s);
    part<QTimeEdit>(add, "alarmTimeField")->setTime(QTime(7, 5));
    QTest::mouseClick(part<QPushButton>(add, "saveButton"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(add.isNull());
    ASSERT_EQ(rig.alarms->alarms().size(), 1);
    EXPECT_TRUE(list->isVisible());
    EXPECT_FALSE(empty->isVisible());
    const ManagementRow row = rowOf(list, 0);
    EXPECT_EQ(row.title, u"运动闹钟"_s);
    EXPECT_EQ(row.emoji, u"🏃"_s);
    EXPECT_EQ(row.message, u"<b>跑步</b>"_s);
    ASSERT_EQ(row.details.size(), 3);
    EXPECT_EQ(row.details[0].text, u"07:05"_s);
    EXPECT_EQ(row.details[2].text, u"每天"_s);

    // Editing opens the form on that alarm; cancelling changes nothing.
    const QList<Alarm> before = rig.alarms->alarms();
    clickRowPart(list, 0, Part::edit);
    QPointer<AlarmForm> edit = page.openForm();
    ASSERT_TRUE(qobject_cast<EditAlarmView*>(edit));
    EXPECT_FALSE(page.showingAddAlarm());
    EXPECT_EQ(page.editingAlarm(), before.first());
    EXPECT_EQ(part<PlainLineEdit>(edit, "alarmTitleField")->text(), u"运动闹钟"_s);
    part<PlainLineEdit>(edit, "alarmTitleField")->setText(u"晨跑"_s);
    QTest::mouseClick(part<QPushButton>(edit, "cancelButton"), Qt::LeftButton);
    EXPECT_EQ(rig.alarms->alarms(), before);
    EXPECT_EQ(page.editingAlarm(), std::nullopt);

    clickRowPart(list, 0, Part::edit);
    edit = page.openForm();
    part<PlainLineEdit>(edit, "alarmTitleField")->setText(u"晨跑"_s);
    QTest::mouseClick(part<QPushButton>(edit, "saveButton"), Qt::LeftButton);
    EXPECT_EQ(rig.alarms->alarms().size(), 1);
    EXPECT_EQ(rig.alarms->alarms().first().id, before.first().id);
    EXPECT_EQ(titles(list), QStringList { u"晨跑"_s });
}

TEST(ReminderPage, DefaultsAreSwitchedAndEditedButOnlyCustomOnesDeleted)
{
    PagesRig rig; // the three seeded reminders, created 09:00:10
    ReminderManagementView page(*rig.manager, rig.clock);
    showPage(page);
    ManagementListView* defaults = page.defaultList();
    ManagementListView* custom = page.customList();
    EXPECT_EQ(titles(defaults), (QStringList { u"走动提醒"_s, u"喝水提醒"_s, u"眼部休息"_s }));
    EXPECT_EQ(custom->model()->rowCount(), 0);
    EXPECT_TRUE(part(&page, "customReminderPlaceholder")->isVisible());
    EXPECT_FALSE(part(&page, "defaultReminderPlaceholder")->isVisible());

    const ManagementRow hydration = rowOf(defaults, 1);
    EXPECT_FALSE(hydration.canDelete);
    ASSERT_EQ(hydration.details.size(), 2);
    EXPECT_EQ(hydration.details[0].text, u"间隔: 30分钟"_s);
    EXPECT_EQ(hydration.details[1].text, u"· 下次: 09:31"_s);
    // A click where a delete button would be does nothing on a built-in reminder.
    const QRect where = ManagementRowDelegate::geometry(defaults->cardRect(1), true).remove;
    QTest::mouseClick(defaults->viewport(), Qt::LeftButton, {}, where.center());
    EXPECT_EQ(rig.manager->reminders().size(), 3);

    // Switched off, it shows no next time.
    clickRowPart(defaults, 1, Part::toggle);
    EXPECT_FALSE(rig.manager->reminders()[1].isEnabled);
    EXPECT_EQ(rowOf(defaults, 1).details.size(), 1);

    // "添加提醒" always adds a custom reminder, listed under the custom section.
    QTest::mouseClick(part<QPushButton>(&page, "addReminderButton"), Qt::LeftButton);
    QPointer<ReminderForm> add = page.openForm();
    ASSERT_TRUE(qobject_cast<AddReminderView*>(add));
    EXPECT_TRUE(page.showingAddReminder());
    part<PlainLineEdit>(add, "reminderTitleField")->setText(u"伸懒腰"_s);
    QTest::mouseClick(part<QPushButton>(add, "saveButton"), Qt::LeftButton);
    EXPECT_EQ(titles(custom), QStringList { u"伸懒腰"_s });
    EXPECT_TRUE(rowOf(custom, 0).canDelete);
    EXPECT_FALSE(part(&page, "customReminderPlaceholder")->isVisible());
    EXPECT_EQ(rowOf(custom, 0).details[1].text, u"· 下次: 10:01"_s);

    // Editing the interval restarts its count from the edit.
    rig.clock.set(at(9, 40, 10));
    clickRowPart(custom, 0, Part::edit);
    QPointer<ReminderForm> edit = page.openForm();
    ASSERT_TRUE(qobject_cast<EditReminderView*>(edit));
    EXPECT_FALSE(page.showingAddReminder());
    EXPECT_EQ(page.editingReminder()->title, u"伸懒腰"_s);
    part<QSpinBox>(edit, "intervalHours")->setValue(0);
    part<QSpinBox>(edit, "intervalMinutes")->setValue(45);
    QTest::mouseClick(part<QPushButton>(edit, "saveButton"), Qt::LeftButton);
    EXPECT_EQ(rowOf(custom, 0).details[0].text, u"间隔: 45分钟"_s);
    EXPECT_EQ(rowOf(custom, 0).details[1].text, u"· 下次: 10:26"_s);

    clickRowPart(custom, 0, Part::remove);
    EXPECT_EQ(rig.manager->reminders().size(), 3);
    EXPECT_TRUE(part(&page, "customReminderPlaceholder")->isVisible());
}

TEST(ReminderPage, AReminderFiringWhileItsFormIsOpenIsNotFiredAgainBySaving)
{
    PagesRig rig;
    ReminderManagementView page(*rig.manager, rig.clock);
    showPage(page);
    rig.manager->startReminderSystem();
    ManagementListView* list = page.defaultList();
    clickRowPart(list, 2, Part::edit); // eye rest, every 20 minutes from 09:00:10
    QPointer<ReminderForm> form = page.openForm();
    ASSERT_TRUE(form);

    rig.beatAt(at(9, 21));
    ASSERT_EQ(rig.announced.size(), 1);
    // The open page shows the next time at once.
    EXPECT_EQ(rowOf(list, 2).details[1].text, u"· 下次: 09:41"_s);

    part<PlainLineEdit>(form, "reminderTitleField")->setText(u"远眺"_s);
    QTest::mouseClick(part<QPushButton>(form, "saveButton"), Qt::LeftButton);
    EXPECT_EQ(rowOf(list, 2).title, u"远眺"_s);
    EXPECT_EQ(rowOf(list, 2).details[1].text, u"· 下次: 09:41"_s);
    rig.beatAt(at(9, 22));
    EXPECT_EQ(rig.announced.size(), 1);
}

TEST(ReminderAlarmPage, OpensOnRemindersAndBuildsEachPageAfresh)
{
    PagesRig rig;
    ReminderAndAlarmPreferencesView page(*rig.alarms, *rig.manager, rig.clock);
    showPage(page);
    EXPECT_EQ(page.selectedTab(), ReminderAndAlarmPreferencesView::ReminderAlarmTab::reminder);
    EXPECT_TRUE(qobject_cast<ReminderManagementView*>(page.currentPage()));
    EXPECT_TRUE(part<QAbstractButton>(&page, "reminderSegment")->isChecked());
    EXPECT_EQ(part<QAbstractButton>(&page, "alarmSegment")->text(), u"闹钟"_s);

    QTest::mouseClick(part<QAbstractButton>(&page, "alarmSegment"), Qt::LeftButton);
    auto* alarms = qobject_cast<AlarmManagementView*>(page.currentPage());
    ASSERT_TRUE(alarms);
    EXPECT_TRUE(part<QAbstractButton>(&page, "alarmSegment")->isChecked());
    EXPECT_FALSE(part<QAbstractButton>(&page, "reminderSegment")->isChecked());
    alarms->showAddAlarm();
    QPointer<AlarmForm> form = alarms->openForm();
    ASSERT_TRUE(form);

    // Back and forth: a fresh page, with no form left open.
    page.setSelectedTab(ReminderAndAlarmPreferencesView::ReminderAlarmTab::reminder);
    EXPECT_TRUE(form.isNull());
    page.setSelectedTab(ReminderAndAlarmPreferencesView::ReminderAlarmTab::alarm);
    auto* fresh = qobject_cast<AlarmManagementView*>(page.currentPage());
    ASSERT_TRUE(fresh);
    EXPECT_EQ(fresh->openForm(), nullptr);
    EXPECT_EQ(fresh->listView()->model()->rowCount(), 1);
}

TEST(Managers, RemovingByTheIdOfAListedRecordRemovesExactlyThatOne)
{
    PagesRig rig; // three seeded reminders, one seeded alarm
    Alarm second = rig.alarms->alarms().constFirst();
    second.id = Alarm::newId();
    rig.alarms->addAlarm(second);
    second = Alarm(); // the list holds the only copy of the id
    const QString firstAlarm = rig.alarms->alarms().constFirst().id;
    // The id handed over lives in the very list the removal shrinks.
    rig.alarms->removeAlarm(rig.alarms->alarms().constLast().id);
    ASSERT_EQ(rig.alarms->alarms().size(), 1);
    EXPECT_EQ(rig.alarms->alarms().constFirst().id, firstAlarm);

    const QStringList before
        = { rig.manager->reminders()[0].id, rig.manager->reminders()[1].id, rig.manager->reminders()[2].id };
    for (const int index : { 1, 1 })
        rig.manager->removeReminder(rig.manager->reminders()[index].id);
    EXPECT_EQ(rig.manager->reminders().size(), 1);
    EXPECT_EQ(rig.manager->reminders()[0].id, before[0]);
}
