#include "core/EventCenter.h"
#include "platform/Defaults.h"
#include "platform/SystemNotifications.h"
#include "reminders/MinuteTicker.h"
#include "reminders/ReminderManager.h"
#include "reminders/ReminderSchedule.h"

#include "FakeNotificationService.h"
#include "PrivateBus.h"
#include "support/FakeClock.h"
#include "support/Wait.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(ReminderNotificationOverDBus, RepeatedFiringReplacesItsNotificationWithEscapedText)
{
    PrivateBus bus;
    if (!bus.isRunning())
        GTEST_SKIP() << "dbus-daemon could not be started for a private bus";
    FakeNotificationService service(bus.connect(u"daemon"_s));
    ASSERT_TRUE(service.isRegistered());
    SystemNotifications notifications(bus.connect(u"client"_s));
    bool answered = false;
    notifications.requestAuthorization([&](bool, const QString&) { answered = true; });
    ASSERT_TRUE(waitUntil([&] { return answered; }));

    QTemporaryDir dir;
    Defaults defaults(dir.filePath(u"defaults.json"_s));
    FakeClock clock(QDateTime(QDate(2026, 1, 5), QTime(9, 0)));
    MinuteTicker ticker(clock);
    ReminderManager manager(clock, defaults, notifications, ticker);
    for (const Reminder& r : manager.reminders())
        manager.toggleReminder(r.id);
    Reminder tags = createDefaultReminder(ReminderType::posture, clock.now());
    tags.title = u"<i>坐直</i>"_s;
    tags.message = u"<b>背</b> & 肩 <a href=\"x\">"_s;
    tags.interval = 60;
    manager.addReminder(tags);
    manager.startReminderSystem();

    clock.set(QDateTime(QDate(2026, 1, 5), QTime(9, 1)));
    ticker.tick();
    ASSERT_TRUE(waitUntil([&] { return service.calls().size() == 1; }));
    // The service's id comes back before the next firing is sent.
    waitUntil([] { return false; }, 100);
    clock.set(QDateTime(QDate(2026, 1, 5), QTime(9, 2)));
    ticker.tick();
    ASSERT_TRUE(waitUntil([&] { return service.calls().size() == 2; }));

    const FakeNotificationService::Call& first = service.calls().at(0);
    EXPECT_EQ(first.summary, emoji(ReminderType::posture) + u" <i>坐直</i>"_s);
    EXPECT_EQ(first.body, u"&lt;b&gt;背&lt;/b&gt; &amp; 肩 &lt;a href=\"x\"&gt;"_s);
    EXPECT_EQ(first.replacesId, 0u);
    EXPECT_NE(service.calls().at(1).replacesId, 0u) << "the second firing replaces the first notification";
}
