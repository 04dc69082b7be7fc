// The alarm and reminder pages worked by the keyboard alone, with real key presses sent to
// whatever has the focus: Tab reaches the rows, the arrows move between them, and Space,
// Return and Delete do what the row's switch, edit and delete buttons do, Delete only once
// the user said yes.
#include "PagesRig.h"

#include "platform/Alerts.h"
#include "reminders/pages/AlarmForm.h"
#include "reminders/pages/AlarmManagementView.h"
#include "reminders/pages/ReminderAndAlarmPreferencesView.h"
#include "reminders/pages/ReminderForm.h"
#include "reminders/pages/ReminderManagementView.h"
#include "support/DarkPalette.h"
#include "support/DrawnText.h"
#include "support/Screenshots.h"
#include "support/Wait.h"
#include "widgets/FocusRing.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QUuid>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

/// A key pressed where the focus is, as the window would deliver it.
void press(Qt::Key key)
{
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr) << "nothing has the focus";
    QTest::keyClick(target, key);
}

/// Presses Tab until `wanted` has the focus; whether `before` had it on the way.
bool tabTo(QWidget* wanted, const QWidget* before)
{
    bool passed = false;
    for (int i = 0; i < 8 && !wanted->hasFocus(); ++i) {
        passed = passed || before->hasFocus();
        press(Qt::Key_Tab);
    }
    return passed;
}

/// Shows `page` in a window of its own and gives that window the keyboard.
void showActive(QWidget& page)
{
    page.resize(600, 500);
    page.show();
    QApplication::setActiveWindow(&page);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
}

/// Waits for `form` to go, then gives `page`'s window the keyboard back, as a window manager
/// does when a window's dialog closes; the window's own focus comes back where it was.
template<typename Form>
void backFromForm(QWidget& page, const QPointer<Form>& form)
{
    ASSERT_TRUE(waitUntil([&] { return !form || !form->isVisible(); }));
    QApplication::setActiveWindow(&page);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
}

/// Answers the next real question box with Return, pressed where its focus is; the titles
/// of the box and of its default and focused buttons.
std::shared_ptr<QStringList> answerWithReturn()
{
    auto asked = std::make_shared<QStringList>();
    auto* poll = new QTimer;
    poll->start(20);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, asked] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll->deleteLater();
        poll->stop();
        const auto* focused = qobject_cast<QPushButton*>(box->focusWidget());
        *asked = { box->text(), box->defaultButton() ? box->defaultButton()->text() : QString(),
            focused ? focused->text() : QString() };
        QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Return);
    });
    return asked;
}

/// The drawn ring stands out 3:1 from the card inside it, in the middle of the row's left edge.
void expectRingOn(ManagementListView* list, int row)
{
    const QImage image = list->viewport()->grab().toImage();
    const QRect card = list->cardRect(row);
    const QPoint edge(card.left() + 1, card.center().y());
    // Between the ring and the switch: the card's own colour.
    const QPoint inside(card.left() + 6, card.top() + 6);
    EXPECT_GE(contrastRatio(image.pixelColor(edge), image.pixelColor(inside)), 3.0)
        << image.pixelColor(edge).name().toStdString() << " on " << image.pixelColor(inside).name().toStdString();
}

} // namespace

TEST(AlarmPageKeys, TabReachesTheRowsAndSpaceReturnAndDeleteWorkTheRowInFocus)
{
    PagesRig rig;
    Alarm second = rig.alarms->alarms().constFirst();
    second.id = Alarm::newId();
    second.title = u"午休"_s;
    rig.alarms->addAlarm(second);
    ReminderAndAlarmPreferencesView page(*rig.alarms, *rig.manager, rig.clock);
    page.setSelectedTab(ReminderAndAlarmPreferencesView::ReminderAlarmTab::alarm);
    showActive(page);
    auto* alarmPage = qobject_cast<AlarmManagementView*>(page.currentPage());
    ASSERT_TRUE(alarmPage);
    ManagementListView* list = alarmPage->listView();
    part<QWidget>(&page, "alarmSegment")->setFocus(Qt::TabFocusReason);

    EXPECT_TRUE(tabTo(list, part(&page, "addAlarmButton"))) << "down the page: the button above comes first";
    ASSERT_TRUE(list->hasFocus()) << "Tab never reached the rows";
    EXPECT_EQ(list->currentIndex().row(), 0) << "coming in lands on the first row";
    expectRingOn(list, 0);

    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->currentIndex().row(), 1);
    const bool wasOn = rig.alarms->alarms().at(1).isEnabled;
    const bool firstWasOn = rig.alarms->alarms().at(0).isEnabled;
    press(Qt::Key_Space);
    EXPECT_EQ(rig.alarms->alarms().at(1).isEnabled, !wasOn);
    EXPECT_EQ(rig.alarms->alarms().at(0).isEnabled, firstWasOn) << "only the row in focus";
    EXPECT_EQ(rig.defaults.value(AlarmManager::alarmsKey).toArray().at(1)[u"isEnabled"_s].toBool(), !wasOn)
        << "the stored list follows";
    EXPECT_EQ(list->currentIndex().row(), 1) << "the row stays in focus";

    // Return edits the row in focus; Escape leaves the form and the focus comes back.
    press(Qt::Key_Return);
    ASSERT_TRUE(alarmPage->editingAlarm());
    EXPECT_EQ(alarmPage->editingAlarm()->id, second.id);
    QPointer<AlarmForm> form = alarmPage->openForm();
    ASSERT_TRUE(waitUntil([&] { return form && form->isAncestorOf(QApplication::focusWidget()); }));
    press(Qt::Key_Escape);
    EXPECT_FALSE(alarmPage->editingAlarm());
    backFromForm(page, form);
    EXPECT_TRUE(list->hasFocus()) << "the focus went elsewhere while the form was open";

    // Delete asks; Return, the default, keeps the row and the focus never rests on "删除".
    const std::shared_ptr<QStringList> asked = answerWithReturn();
    press(Qt::Key_Delete);
    QApplication::setActiveWindow(&page);
    EXPECT_EQ(*asked, (QStringList { u"删除闹钟"_s, u"取消"_s, u"取消"_s }));
    EXPECT_EQ(rig.alarms->alarms().size(), 2);

    // Saying yes deletes exactly the row in focus, and the focus moves to the row left.
    Alerts::setNextAnswers({ 1 });
    press(Qt::Key_Delete);
    ASSERT_EQ(Alerts::answeredAlerts().size(), 1);
    const Alerts::Record question = Alerts::answeredAlerts().constFirst();
    EXPECT_EQ(question.text, u"确定要删除闹钟「午休」吗？"_s);
    EXPECT_EQ(question.buttons, (QStringList { u"取消"_s, u"删除"_s }));
    EXPECT_EQ(question.destructiveButton, 1);
    ASSERT_EQ(rig.alarms->alarms().size(), 1);
    EXPECT_NE(rig.alarms->alarms().constFirst().id, second.id);
    EXPECT_EQ(list->currentIndex().row(), 0);
}

// Delete by key keeps the keyboard in place: on the row that took the deleted one's place, on
// the new last row, and with no alarm left on the add button, never the sidebar.
TEST(AlarmPageKeys, AfterADeleteTheFocusStaysOnTheRowsAndAnEmptyListHandsItToTheAddButton)
{
    PagesRig rig;
    const Alarm first = rig.alarms->alarms().constFirst();
    for (const QString& title : { u"午休"_s, u"下班"_s, u"晚饭"_s }) {
        Alarm more = first;
        more.id = Alarm::newId();
        more.title = title;
        rig.alarms->addAlarm(more);
    }
    ReminderAndAlarmPreferencesView page(*rig.alarms, *rig.manager, rig.clock);
    page.setSelectedTab(ReminderAndAlarmPreferencesView::ReminderAlarmTab::alarm);
    showActive(page);
    auto* alarmPage = qobject_cast<AlarmManagementView*>(page.currentPage());
    ASSERT_TRUE(alarmPage);
    ManagementListView* list = alarmPage->listView();
    part<QWidget>(&page, "alarmSegment")->setFocus(Qt::TabFocusReason);
    tabTo(list, list);
    ASSERT_TRUE(list->hasFocus());
    const auto titleAt = [&](int row) { return rig.alarms->alarms().value(row).title; };
    const auto deleteInFocus = [&] {
        Alerts::setNextAnswers({ 1 });
        press(Qt::Key_Delete);
    };

    press(Qt::Key_Down);
    ASSERT_EQ(list->currentIndex().row(), 1);
    const QString below = titleAt(2);
    deleteInFocus();
    ASSERT_EQ(rig.alarms->alarms().size(), 3);
    ASSERT_TRUE(waitUntil([&] { return list->currentIndex().row() == 1 && list->hasFocus(); }))
        << "at row " << list->currentIndex().row();
    EXPECT_EQ(titleAt(1), below) << "the row below took its place";

    press(Qt::Key_Down);
    ASSERT_EQ(list->currentIndex().row(), 2);
    deleteInFocus();
    ASSERT_TRUE(waitUntil([&] { return list->currentIndex().row() == 1 && list->hasFocus(); }))
        << "the new last row, not row " << list->currentIndex().row();

    QWidget* add = part<QWidget>(&page, "addAlarmButton");
    deleteInFocus();
    ASSERT_TRUE(waitUntil([&] { return list->currentIndex().row() == 0 && list->hasFocus(); }));
    deleteInFocus();
    ASSERT_TRUE(rig.alarms->alarms().isEmpty());
    ASSERT_TRUE(waitUntil([&] { return add->hasFocus(); }))
        << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "nothing");
}

TEST(ReminderPageKeys, BuiltInRowsSwitchAndEditButNeverGoAndCustomRowsGoOnlyWhenConfirmed)
{
    PagesRig rig; // three built-in reminders
    for (int i = 0; i < 8; ++i) {
        Reminder custom = rig.manager->reminders().constFirst();
        custom.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
        custom.type = ReminderType::custom;
        custom.title = u"自定义 %1"_s.arg(i);
        rig.manager->addReminder(custom);
    }
    ReminderAndAlarmPreferencesView page(*rig.alarms, *rig.manager, rig.clock);
    showActive(page);
    auto* reminderPage = qobject_cast<ReminderManagementView*>(page.currentPage());
    ASSERT_TRUE(reminderPage);
    ManagementListView* defaults = reminderPage->defaultList();
    ManagementListView* custom = reminderPage->customList();
    part<QWidget>(&page, "reminderSegment")->setFocus(Qt::TabFocusReason);

    tabTo(part(&page, "addReminderButton"), &page);
    ASSERT_TRUE(part(&page, "addReminderButton")->hasFocus());
    // The scroll area around the sections is no stop of its own: it would show no mark.
    press(Qt::Key_Tab);
    ASSERT_TRUE(defaults->hasFocus()) << "from the add button straight to the rows";
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    EXPECT_EQ(defaults->currentIndex().row(), 2);
    press(Qt::Key_Space);
    EXPECT_FALSE(rig.manager->reminders().at(2).isEnabled);
    EXPECT_FALSE(rig.stored().at(2)[u"isEnabled"_s].toBool());

    // A built-in reminder cannot be deleted: Delete asks nothing and removes nothing.
    press(Qt::Key_Delete);
    EXPECT_TRUE(Alerts::answeredAlerts().isEmpty());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(rig.manager->reminders().size(), 11);

    press(Qt::Key_Return);
    ASSERT_TRUE(reminderPage->editingReminder());
    EXPECT_EQ(reminderPage->editingReminder()->id, rig.manager->reminders().at(2).id);
    QPointer<ReminderForm> form = reminderPage->openForm();
    ASSERT_TRUE(waitUntil([&] { return form && form->isAncestorOf(QApplication::focusWidget()); }));
    press(Qt::Key_Escape);
    backFromForm(page, form);
    EXPECT_TRUE(defaults->hasFocus());

    // On to the custom rows: the last one, below the fold, is scrolled into view.
    press(Qt::Key_Tab);
    ASSERT_TRUE(custom->hasFocus());
    EXPECT_EQ(custom->currentIndex().row(), 0);
    press(Qt::Key_End);
    EXPECT_EQ(custom->currentIndex().row(), 7);
    auto* scroll = part<QScrollArea>(&page, "reminderScroll");
    const QRect last(
        custom->viewport()->mapTo(scroll->viewport(), custom->cardRect(7).topLeft()), custom->cardRect(7).size());
    EXPECT_TRUE(scroll->viewport()->rect().contains(last)) << "the row in focus is out of view";

    // Backspace asks as Delete does; "取消" keeps the row, "删除" takes it.
    Alerts::setNextAnswers({ 0 });
    press(Qt::Key_Backspace);
    ASSERT_EQ(Alerts::answeredAlerts().size(), 1);
    EXPECT_EQ(Alerts::answeredAlerts().constFirst().title, u"删除提醒"_s);
    EXPECT_EQ(Alerts::answeredAlerts().constFirst().text, u"确定要删除提醒「自定义 7」吗？"_s);
    EXPECT_EQ(rig.manager->reminders().size(), 11);
    Alerts::setNextAnswers({ 1 });
    press(Qt::Key_Delete);
    EXPECT_EQ(rig.manager->reminders().size(), 10);
    EXPECT_EQ(rig.stored().size(), 10);
    EXPECT_EQ(rig.manager->reminders().constLast().title, u"自定义 6"_s);
}

// The ring of the row in focus stands out from its card in a light and a dark palette, on
// a switched-on row and a switched-off one alike; without the focus there is none.
TEST(AlarmPageKeys, TheRowInFocusIsMarkedInEveryPalette)
{
    const QPalette original = QApplication::palette();
    for (const QPalette& palette : { lightPalette(), darkDesktopPalette() }) {
        QApplication::setPalette(palette);
        PagesRig rig;
        Alarm on = rig.alarms->alarms().constFirst();
        on.id = Alarm::newId();
        on.isEnabled = true;
        rig.alarms->addAlarm(on);
        AlarmManagementView page(*rig.alarms, rig.clock);
        showActive(page);
        ManagementListView* list = page.listView();
        // Tabbed into from the button above, as the keyboard comes to the rows.
        part<QWidget>(&page, "addAlarmButton")->setFocus(Qt::TabFocusReason);
        list->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(waitUntil([&] { return list->hasFocus(); }));
        // The focus may have been on the list from the start: a key says the keyboard is in use.
        QTest::keyClick(list, Qt::Key_Home);
        for (const int row : { 0, 1 }) {
            SCOPED_TRACE(row);
            list->setCurrentIndex(list->model()->index(row, 0));
            expectRingOn(list, row);
        }
        saveShot(list->viewport()->grab().toImage(), u"alarm-row-focus-"_s + palette.color(QPalette::Window).name());
        list->clearFocus();
        const QImage unfocused = list->viewport()->grab().toImage();
        const QRect card = list->cardRect(1);
        EXPECT_LT(contrastRatio(unfocused.pixelColor(card.left() + 1, card.center().y()),
                      unfocused.pixelColor(card.left() + 6, card.top() + 6)),
            1.6)
            << "no ring once the list lost the focus";
    }
    QApplication::setPalette(original);
}
