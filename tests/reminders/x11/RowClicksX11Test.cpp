// Real pointer clicks on the rows of a scrolled alarm or reminder page, sent through the X
// server as a user's are: the first click acts on the control under the pointer, on that row
// alone, and the page stays where the user scrolled it.
#include "../PagesRig.h"

#include "reminders/pages/AlarmManagementView.h"
#include "reminders/pages/ReminderAndAlarmPreferencesView.h"
#include "reminders/pages/ReminderManagementView.h"
#include "support/DrawnText.h"
#include "support/RealClicks.h"
#include "support/Wait.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QScrollArea>
#include <QScrollBar>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

/// Clicks the middle of `part` of `list`'s row `row` on the screen.
bool clickOnScreen(ManagementListView* list, int row, ManagementRowDelegate::Part part)
{
    const QModelIndex index = list->model()->index(row, 0);
    const auto content = index.data(ManagementListModel::RowRole).value<ManagementRow>();
    const ManagementRowDelegate::Geometry g = ManagementRowDelegate::geometry(list->cardRect(row), content.canDelete);
    const QRect target = part == ManagementRowDelegate::Part::toggle ? g.toggle : g.remove;
    EXPECT_TRUE(list->viewport()->rect().contains(target)) << "row " << row << " is not in sight";
    return clickAt(list->viewport()->mapToGlobal(target.center()));
}

/// How far the middle of a row's left edge stands out from the card inside it: a ring there
/// stands out 3:1.
double ringContrast(ManagementListView* list, int row)
{
    const QImage image = list->viewport()->grab().toImage();
    const QRect card = list->cardRect(row);
    return contrastRatio(
        image.pixelColor(card.left() + 1, card.center().y()), image.pixelColor(card.left() + 6, card.top() + 6));
}

QList<bool> storedSwitches(const QJsonArray& stored)
{
    QList<bool> on;
    for (const QJsonValue& item : stored)
        on.append(item[u"isEnabled"_s].toBool());
    return on;
}

} // namespace

TEST(RowClicksX11, AClickOnAScrolledPageActsOnTheRowUnderThePointerAndLeavesThePageWhereItWas)
{
    ASSERT_EQ(QGuiApplication::platformName(), u"xcb"_s);
    if (!canClick())
        GTEST_SKIP() << "xdotool is not installed";
    PagesRig rig;
    Alarm alarm = rig.alarms->alarms().constFirst();
    for (int i = 1; i < 10; ++i) {
        alarm.id = Alarm::newId();
        alarm.title = u"闹钟 "_s + QString::number(i);
        rig.alarms->addAlarm(alarm);
    }
    ReminderAndAlarmPreferencesView page(*rig.alarms, *rig.manager, rig.clock);
    page.setSelectedTab(ReminderAndAlarmPreferencesView::ReminderAlarmTab::alarm);
    page.setGeometry(100, 100, 600, 500);
    page.show();
    page.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    auto* alarmPage = qobject_cast<AlarmManagementView*>(page.currentPage());
    ASSERT_TRUE(alarmPage);
    ManagementListView* list = alarmPage->listView();
    QScrollBar* scroll = list->verticalScrollBar();
    ASSERT_GT(scroll->maximum(), 0) << "too few alarms to scroll";
    scroll->setValue(scroll->maximum());
    const int scrolled = scroll->value();
    const int last = list->model()->rowCount() - 1;

    // The switch of the last row, on the first click, in the manager and in the stored list.
    QList<bool> expected;
    for (const Alarm& a : rig.alarms->alarms())
        expected.append(a.isEnabled);
    expected[last] = !expected[last];
    ASSERT_TRUE(clickOnScreen(list, last, ManagementRowDelegate::Part::toggle));
    const auto switches = [&] {
        QList<bool> on;
        for (const Alarm& a : rig.alarms->alarms())
            on.append(a.isEnabled);
        return on;
    };
    waitUntil([&] { return switches() == expected; }, 2000);
    EXPECT_EQ(switches(), expected) << "the clicked row alone";
    EXPECT_EQ(storedSwitches(rig.defaults.value(AlarmManager::alarmsKey).toArray()), expected);
    EXPECT_EQ(scroll->value(), scrolled) << "the page jumped";
    EXPECT_EQ(list->currentIndex().row(), last) << "the clicked row is the one the keys act on next";
    // The keyboard's ring comes with the keys, not with a click.
    EXPECT_LT(ringContrast(list, last), 3.0) << "a click rang the row";
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_GE(ringContrast(list, last - 1), 3.0) << "the keys moved on without their ring";

    // The trash of the row above it takes that row alone.
    const QString goner = rig.alarms->alarms().at(last - 1).id;
    ASSERT_TRUE(clickOnScreen(list, last - 1, ManagementRowDelegate::Part::remove));
    EXPECT_TRUE(waitUntil([&] { return rig.alarms->alarms().size() == last; }, 2000));
    for (const Alarm& a : rig.alarms->alarms())
        EXPECT_NE(a.id, goner);
    EXPECT_EQ(rig.defaults.value(AlarmManager::alarmsKey).toArray().size(), last);

    // A custom reminder whose card runs past the bottom of the page, its switch still in sight.
    Reminder stretch = rig.manager->createDefaultReminder(ReminderType::custom);
    stretch.title = u"伸懒腰"_s;
    rig.manager->addReminder(stretch);
    page.setSelectedTab(ReminderAndAlarmPreferencesView::ReminderAlarmTab::reminder);
    auto* reminderPage = qobject_cast<ReminderManagementView*>(page.currentPage());
    ASSERT_TRUE(reminderPage);
    auto* area = part<QScrollArea>(reminderPage, "reminderScroll");
    ManagementListView* custom = reminderPage->customList();
    ASSERT_TRUE(waitUntil([&] { return custom->isVisible() && custom->model()->rowCount() == 1; }));
    // The lists lay their rows out a moment later, and the page's length follows.
    for (int last = -1; last != area->verticalScrollBar()->maximum();) {
        last = area->verticalScrollBar()->maximum();
        QTest::qWait(100);
    }
    const ManagementRowDelegate::Geometry g = ManagementRowDelegate::geometry(custom->cardRect(0), true);
    const int cardBottom = custom->viewport()->mapTo(area->widget(), g.card.bottomLeft()).y();
    const int switchBottom = custom->viewport()->mapTo(area->widget(), g.toggle.bottomLeft()).y();
    const int value = switchBottom + 2 - area->viewport()->height();
    ASSERT_GE(value, 0);
    ASSERT_LE(value, area->verticalScrollBar()->maximum()) << "the page is too short to cut the card";
    area->verticalScrollBar()->setValue(value);
    ASSERT_GT(cardBottom - value, area->viewport()->height()) << "the card is whole in sight";

    const auto isOn = [&] { return rig.manager->reminders().constLast().isEnabled; };
    const bool wasOn = isOn();
    ASSERT_TRUE(clickOnScreen(custom, 0, ManagementRowDelegate::Part::toggle));
    EXPECT_TRUE(waitUntil([&] { return isOn() != wasOn; }, 2000)) << "the click on the cut card's switch was lost";
    EXPECT_EQ(rig.stored().last()[u"isEnabled"_s].toBool(), !wasOn);
    EXPECT_EQ(area->verticalScrollBar()->value(), value) << "the page jumped";
}
