// The alarm and reminder screens as drawn on the real X server in a light and a dark
// palette: rows with a long title grow, and a ringing alarm's clock is drawn orange like its
// time. With TAMSEL_SHOT_DIR set, each screen is saved as a picture to look at.
#include "../PagesRig.h"

#include "platform/FloatingWindow.h"
#include "reminders/AlarmWindowView.h"
#include "reminders/pages/AlarmForm.h"
#include "reminders/pages/AlarmManagementView.h"
#include "reminders/pages/ReminderAndAlarmPreferencesView.h"
#include "reminders/pages/ReminderForm.h"
#include "reminders/pages/ReminderManagementView.h"
#include "support/DarkPalette.h"
#include "support/Screenshots.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

/// Pixels of an orange hue (as RowColours::orange, give or take the antialiasing) in `box`.
int orangePixels(const QImage& image, const QRect& box)
{
    int n = 0;
    for (int y = std::max(0, box.top()); y <= box.bottom() && y < image.height(); ++y)
        for (int x = std::max(0, box.left()); x <= box.right() && x < image.width(); ++x) {
            const QColor c(image.pixel(x, y));
            n += c.hsvHue() >= 25 && c.hsvHue() <= 45 && c.hsvSaturation() > 120 && c.value() > 120;
        }
    return n;
}

} // namespace

TEST(ReminderScreens, LongTitlesAndTheAlarmCardInBothPalettes)
{
    PagesRig rig;
    Alarm meeting;
    meeting.id = Alarm::newId();
    meeting.title = u"下午三点提醒全组把本周的周报、风险清单和下周计划一起整理好发到群里再去开会"_s;
    meeting.message = u"带上笔记本，还有那份很长很长很长很长很长很长很长很长很长很长很长的议程"_s;
    meeting.type = AlarmType::meeting;
    meeting.time = QDateTime(QDate(2026, 1, 5), QTime(15, 0));
    meeting.repeatType = AlarmRepeatType::daily;
    meeting.createdAt = meeting.time;
    rig.alarms->addAlarm(meeting);
    Reminder stretch = rig.manager->createDefaultReminder(ReminderType::custom);
    stretch.title = u"每坐满一个半小时就站起来伸个懒腰、看看窗外、再接一杯温水，然后回到座位继续专心工作"_s;
    stretch.interval = 5400;
    rig.manager->addReminder(stretch);

    for (const bool dark : { false, true }) {
        QApplication::setPalette(dark ? darkDesktopPalette() : QPalette());
        const QString palette = dark ? u"-dark"_s : u"-light"_s;
        ReminderAndAlarmPreferencesView page(*rig.alarms, *rig.manager, rig.clock);
        page.resize(600, 550); // the detail column of the preferences window
        page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
        auto* reminders = qobject_cast<ReminderManagementView*>(page.currentPage());
        ASSERT_TRUE(reminders);
        grabFromScreen(&page, u"reminders-page"_s + palette);
        EXPECT_GT(reminders->customList()->cardRect(0).height(), ManagementRowDelegate::rowHeight);

        reminders->showAddReminder();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(reminders->openForm()));
        grabFromScreen(reminders->openForm(), u"reminder-add-form"_s + palette);
        reminders->openForm()->reject();

        QTest::mouseClick(part<QAbstractButton>(&page, "alarmSegment"), Qt::LeftButton);
        auto* alarms = qobject_cast<AlarmManagementView*>(page.currentPage());
        ASSERT_TRUE(alarms);
        grabFromScreen(&page, u"alarms-page"_s + palette);
        alarms->showEditAlarm(meeting.id);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(alarms->openForm()));
        grabFromScreen(alarms->openForm(), u"alarm-edit-form"_s + palette);
        alarms->openForm()->reject();

        rig.windows.showAlarm(meeting);
        QWidget* card = rig.windows.alarmWindow(meeting.id);
        ASSERT_TRUE(card && QTest::qWaitForWindowExposed(card));
        const QImage shot = grabFromScreen(card, u"alarm-card"_s + palette);
        auto* clock = card->findChild<QLabel*>(u"alarmClock"_s);
        auto* time = card->findChild<QLabel*>(u"alarmTime"_s);
        ASSERT_TRUE(clock && time);
        const QRect clockBox = inFrame(card, QRect(clock->mapTo(card, QPoint(0, 0)), clock->size()));
        const QRect timeBox = inFrame(card, QRect(time->mapTo(card, QPoint(0, 0)), time->size()));
        // The clock is drawn in the time's orange, and about as tall as its digits.
        EXPECT_GT(orangePixels(shot, clockBox), 8) << dark;
        EXPECT_GT(orangePixels(shot, timeBox), 15) << dark;
        EXPECT_LE(clock->pixmap().deviceIndependentSize().height(), time->height());
        rig.windows.closeAlarm(meeting.id);
    }
    QApplication::setPalette(QPalette());
}
