#include "reminders/AlarmWindowManager.h"

#include "platform/FloatingWindow.h"
#include "platform/Screens.h"
#include "reminders/AlarmWindowView.h"

#include "support/Wait.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

Alarm alarm(const QString& id, AlarmRepeatType repeat = AlarmRepeatType::daily)
{
    Alarm a;
    a.id = id;
    a.title = u"<b>"_s + id + u"</b>"_s;
    a.message = u"该开会了 & 带上笔记本"_s;
    a.type = AlarmType::meeting;
    a.time = QDateTime(QDate(2026, 1, 5), QTime(9, 5));
    a.repeatType = repeat;
    return a;
}

/// A 1440 × 900 main screen with a 30-point panel at the top: in the model the work area
/// reaches up to y = 870.
Screens panelScreen()
{
    return Screens { QList<ScreenGeometry> { { QRect(0, 0, 1440, 900), QRect(0, 30, 1440, 870) } } };
}

QString labelText(FloatingWindow* window, const QString& name)
{
    auto* label = window->findChild<QLabel*>(name);
    return label ? label->text() : u"(none)"_s;
}

} // namespace

TEST(AlarmWindowManager, CardsStackDownFromTheTopRightAndReplaceTheirOwn)
{
    Screens screens { QList<ScreenGeometry> { { QRect(0, 0, 1440, 900), QRect(0, 30, 1440, 870) } } };
    AlarmWindowManager manager(screens);
    manager.showAlarm(alarm(u"a"_s));
    manager.showAlarm(alarm(u"b"_s));
    manager.showAlarm(alarm(u"c"_s));
    ASSERT_EQ(manager.openCount(), 3);
    EXPECT_EQ(manager.alarmWindow(u"a"_s)->modelFrame(), QRectF(1140, 730, 280, 120));
    EXPECT_EQ(manager.alarmWindow(u"b"_s)->modelFrame(), QRectF(1140, 600, 280, 120));
    EXPECT_EQ(manager.alarmWindow(u"c"_s)->modelFrame(), QRectF(1140, 470, 280, 120));
    // In Qt's coordinates the first card sits 20 below the panel and 20 in from the right.
    EXPECT_EQ(manager.alarmWindow(u"a"_s)->geometry(), QRect(1140, 50, 280, 120));
    EXPECT_TRUE(manager.alarmWindow(u"a"_s)->isVisible());

    // The first closes (the others stay put); the next card takes the third place.
    QPointer<FloatingWindow> closing = manager.alarmWindow(u"a"_s);
    manager.closeAlarm(u"a"_s);
    EXPECT_EQ(manager.openCount(), 2);
    manager.showAlarm(alarm(u"d"_s));
    EXPECT_EQ(manager.alarmWindow(u"d"_s)->modelFrame().y(), 470);
    EXPECT_EQ(manager.alarmWindow(u"b"_s)->modelFrame().y(), 600);
    EXPECT_TRUE(waitUntil([&] { return closing.isNull(); }, 3000)) << "the faded card is freed";

    // A re-ring replaces the card at once: same count, a new window.
    QPointer<FloatingWindow> old = manager.alarmWindow(u"b"_s);
    manager.showAlarm(alarm(u"b"_s));
    EXPECT_TRUE(old.isNull());
    EXPECT_EQ(manager.openCount(), 3);

    // Without a main screen nothing opens, but the old card of that alarm still goes.
    screens.setGeometries({});
    manager.showAlarm(alarm(u"c"_s));
    EXPECT_EQ(manager.alarmWindow(u"c"_s), nullptr);
    EXPECT_EQ(manager.openCount(), 2);
}

TEST(AlarmWindowManager, CardShowsPlainTextsAndClosesFromItsButton)
{
    Screens screens = panelScreen();
    AlarmWindowManager manager(screens);
    manager.showAlarm(alarm(u"once"_s, AlarmRepeatType::once));
    manager.showAlarm(alarm(u"daily"_s, AlarmRepeatType::daily));

    FloatingWindow* once = manager.alarmWindow(u"once"_s);
    EXPECT_EQ(labelText(once, u"alarmTitle"_s), u"<b>once</b>"_s);
    EXPECT_EQ(once->findChild<QLabel*>(u"alarmTitle"_s)->textFormat(), Qt::PlainText);
    EXPECT_EQ(labelText(once, u"alarmMessage"_s), u"该开会了 & 带上笔记本"_s);
    EXPECT_EQ(labelText(once, u"alarmEmoji"_s), u"📅"_s);
    EXPECT_EQ(labelText(once, u"alarmTime"_s), u"09:05"_s);
    EXPECT_EQ(once->findChild<QLabel*>(u"alarmRepeatRule"_s), nullptr) << "a once alarm shows only its time";
    FloatingWindow* daily = manager.alarmWindow(u"daily"_s);
    EXPECT_EQ(labelText(daily, u"alarmRepeatRule"_s), u"每天"_s);
    EXPECT_EQ(labelText(daily, u"alarmDot"_s), u"·"_s);

    auto* close = daily->findChild<QPushButton*>(u"alarmCloseButton"_s);
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->toolTip(), u"关闭"_s);
    QPointer<FloatingWindow> guard(daily);
    close->click();
    EXPECT_EQ(manager.openCount(), 1);
    EXPECT_EQ(manager.alarmWindow(u"daily"_s), nullptr);
    EXPECT_TRUE(guard->isFading());
    EXPECT_TRUE(waitUntil([&] { return guard.isNull(); }, 3000));
}
