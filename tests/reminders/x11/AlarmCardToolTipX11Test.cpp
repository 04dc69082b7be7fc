// A ringing alarm's card on the real X server never takes focus, yet hovering a text it cut
// short shows the whole of it.
#include "platform/FloatingWindow.h"
#include "platform/Screens.h"
#include "reminders/AlarmWindowManager.h"

#include "support/Wait.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QTextDocumentFragment>
#include <QToolTip>
#include <QWindow>

#include <gtest/gtest.h>

#include <algorithm>

using namespace Qt::StringLiterals;

TEST(AlarmCardOnScreen, HoveringACutTextShowsTheWholeOfItWithoutFocus)
{
    ASSERT_EQ(QGuiApplication::platformName(), u"xcb"_s);
    QCursor::setPos(5, 5);
    Screens screens;
    AlarmWindowManager manager(screens);
    Alarm alarm;
    alarm.id = Alarm::newId();
    alarm.title = u"周一早上九点半的部门例会，请大家带上上周的周报准时参加"_s;
    // Far wider than the screen on one line.
    alarm.message
        = u"会议室在三楼东侧，投影仪需要提前十分钟调试好，会后还要把纪要发到群里，别忘了通知新来的同事一起参加。"_s
              .repeated(4);
    alarm.type = AlarmType::meeting;
    alarm.time = QDateTime(QDate(2026, 1, 5), QTime(9, 30));
    manager.showAlarm(alarm);
    FloatingWindow* card = manager.alarmWindow(alarm.id);
    ASSERT_NE(card, nullptr);
    ASSERT_TRUE(waitUntil([&] { return card->windowHandle() && card->windowHandle()->isExposed(); }));

    const struct
    {
        const char* part;
        QString tip;
    } cases[] = {
        { "alarmTitle", alarm.title },
        { "alarmMessage", alarm.message },
        { "alarmCloseButton", u"关闭"_s },
    };
    for (const auto& c : cases) {
        auto* part = card->findChild<QWidget*>(QString::fromLatin1(c.part));
        ASSERT_NE(part, nullptr) << c.part;
        QToolTip::hideText();
        QCursor::setPos(part->mapToGlobal(part->rect().center()));
        EXPECT_TRUE(waitUntil([&] {
            return QToolTip::isVisible() && QTextDocumentFragment::fromHtml(QToolTip::text()).toPlainText() == c.tip;
        })) << c.part;
        EXPECT_FALSE(card->isActiveWindow()) << "the card took focus";
        const auto tips = QApplication::topLevelWidgets();
        const auto tip = std::find_if(tips.begin(), tips.end(),
            [](const QWidget* w) { return w->objectName() == u"qtooltip_label"_s && w->isVisible(); });
        ASSERT_NE(tip, tips.end());
        // A text too long for one line is wrapped, not run off the screen.
        EXPECT_TRUE(card->screen()->geometry().contains((*tip)->geometry())) << c.part;
    }
}
