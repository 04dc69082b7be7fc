#include "reminders/ReminderSchedule.h"
#include "reminders/ReminderWindowManager.h"
#include "widgets/PlainLabel.h"

#include "LocalZone.h"
#include "ReminderRig.h"
#include "support/LogLines.h"
#include "support/Wait.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

QDateTime at(int h, int m, int s = 0, int ms = 0)
{
    return QDateTime(QDate(2026, 1, 5), QTime(h, m, s, ms));
}

Reminder reminderOf(ReminderType type, double interval, QDateTime createdAt)
{
    Reminder r = createDefaultReminder(type, std::move(createdAt));
    r.interval = interval;
    return r;
}

QJsonValue parse(const char* json)
{
    return QJsonDocument::fromJson(json).array();
}

} // namespace

TEST(ReminderSchedule, NextFiringRoundsUpToTheWholeMinute)
{
    Reminder fired = reminderOf(ReminderType::hydration, 1800, at(9, 0));
    fired.lastTriggered = at(10, 31, 0, 200);
    Reminder disabled = reminderOf(ReminderType::rest, 3600, at(10, 0));
    disabled.isEnabled = false;
    const struct
    {
        const char* what;
        Reminder reminder;
        std::optional<QDateTime> next;
    } cases[] = {
        { "created 10:00:30", reminderOf(ReminderType::hydration, 1800, at(10, 0, 30)), at(10, 31) },
        { "created 10:00:00.4", reminderOf(ReminderType::hydration, 1800, at(10, 0, 0, 400)), at(10, 30) },
        { "fired 10:31:00.2", fired, at(11, 1) },
        { "across midnight", reminderOf(ReminderType::rest, 3600, at(23, 30, 5)), at(0, 31).addDays(1) },
        { "disabled", disabled, std::nullopt },
        { "zero interval", reminderOf(ReminderType::custom, 0, at(10, 0)), std::nullopt },
        { "negative interval", reminderOf(ReminderType::custom, -60, at(10, 0)), std::nullopt },
        { "NaN interval", reminderOf(ReminderType::custom, std::nan(""), at(10, 0)), std::nullopt },
        { "infinite interval", reminderOf(ReminderType::custom, std::numeric_limits<double>::infinity(), at(10, 0)),
            std::nullopt },
        { "absurd interval", reminderOf(ReminderType::custom, 1e300, at(10, 0)), std::nullopt },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.reminder.getNextTriggerTime(), c.next) << c.what;
}

TEST(ReminderManager, FirstLaunchSeedsTheThreeDefaultsOnce)
{
    ReminderRig rig;
    ReminderManager& manager = rig.create();
    const QStringList lines = loggedLines(u"Reminder"_s);
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines.at(0), u"🔄 检测到提醒版本更新 (0 -> 2)，更新默认提醒内容"_s);
    EXPECT_EQ(lines.at(1), u"✅ 提醒版本已更新到 2"_s);
    EXPECT_EQ(lines.at(2), u"⏰ 创建默认提醒（版本 2）"_s);
    ASSERT_EQ(manager.reminders().size(), 3);
    const ReminderType order[] = { ReminderType::rest, ReminderType::hydration, ReminderType::eyeRest };
    for (int i = 0; i < 3; ++i) {
        const Reminder& r = manager.reminders().at(i);
        EXPECT_EQ(r.type, order[i]);
        EXPECT_EQ(r.title, displayName(order[i]));
        EXPECT_EQ(r.interval, defaultInterval(order[i]));
        EXPECT_TRUE(r.isEnabled);
        EXPECT_EQ(r.createdAt, rig.clock.now());
    }
    EXPECT_EQ(rig.defaults.integer(ReminderManager::reminderVersionKey), 2);
    EXPECT_EQ(rig.stored().size(), 3);
    EXPECT_FALSE(manager.isActive()) << "creation starts no check";

    // The next launch reads them back and seeds nothing; removing all seeds them again.
    const QList<Reminder> first = manager.reminders();
    EXPECT_EQ(rig.create().reminders(), first);
    for (const Reminder& r : first)
        rig.manager->removeReminder(r.id);
    EXPECT_TRUE(rig.stored().isEmpty());
    EXPECT_EQ(rig.create().reminders().size(), 3);
    EXPECT_NE(rig.manager->reminders().at(0).id, first.at(0).id);
}

TEST(ReminderManager, OlderDefaultsGetTheirTextsRewrittenOnce)
{
    ReminderRig rig;
    rig.defaults.setValue(ReminderManager::reminderVersionKey, 1);
    rig.defaults.setValue(ReminderManager::remindersKey, parse(R"([
        {"id":"r1","title":"休息一下","message":"旧的","type":"rest","interval":1500,"isEnabled":false,
         "lastTriggered":100,"createdAt":50},
        {"id":"r2","title":"第二个","message":"自己写的","type":"rest","interval":600,"isEnabled":true,"createdAt":50},
        {"id":"p","title":"坐直","message":"自己写的","type":"posture","interval":600,"isEnabled":true,"createdAt":50}
    ])"));
    const QList<Reminder> list = rig.create().reminders();
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list.at(0).title, u"走动提醒"_s);
    EXPECT_EQ(list.at(0).message, u"离开电脑，活动活动身体吧～"_s);
    EXPECT_EQ(list.at(0).interval, 1500);
    EXPECT_FALSE(list.at(0).isEnabled);
    EXPECT_EQ(list.at(0).lastTriggered, fromReferenceSeconds(100));
    EXPECT_EQ(list.at(1).title, u"第二个"_s);
    EXPECT_EQ(list.at(2).title, u"坐直"_s);
    EXPECT_EQ(rig.defaults.integer(ReminderManager::reminderVersionKey), 2);
    EXPECT_EQ(rig.stored().at(0).toObject().value(u"title"_s).toString(), u"走动提醒"_s);
}

TEST(ReminderManager, DefaultsFireOnTheirMinutesWithNotificationAndEvent)
{
    ReminderRig rig; // 09:00:10
    ReminderManager& manager = rig.create();
    QSignalSpy active(&manager, &ReminderManager::isActiveChanged);
    manager.startReminderSystem();
    manager.startReminderSystem();
    EXPECT_TRUE(manager.isActive());
    EXPECT_EQ(active.size(), 1) << "a second start of a running system is not announced";
    EXPECT_TRUE(rig.ticker.isRunning());
    EXPECT_EQ(rig.ticker.timer().interval(), 50000);
    EXPECT_TRUE(loggedLines(u"Reminder"_s).contains(u"⏰ 提醒系统对齐中，50.00秒后到达整分钟"_s));

    for (QDateTime minute = at(9, 1); minute <= at(10, 1); minute = minute.addSecs(60))
        rig.beatAt(minute.addMSecs(150));

    QStringList fired;
    for (int i = 0; i < rig.announced.size(); ++i)
        fired.append(rig.announcedAt.at(i).toString(u"HH:mm"_s) + u' ' + rawValue(rig.announced.at(i).type));
    EXPECT_EQ(fired,
        (QStringList { u"09:21 eyeRest"_s, u"09:31 hydration"_s, u"09:41 eyeRest"_s, u"10:01 rest"_s,
            u"10:01 hydration"_s, u"10:01 eyeRest"_s }));
    // The event carries the reminder as it stood before this firing was recorded.
    EXPECT_FALSE(rig.announced.at(0).lastTriggered);
    EXPECT_EQ(rig.announced.at(2).lastTriggered, at(9, 21, 0, 150));

    ASSERT_EQ(rig.notifications.requests.size(), 6);
    const auto& first = rig.notifications.requests.at(0);
    const Reminder& eyes = manager.reminders().at(2);
    EXPECT_EQ(first.identifier, u"reminder_"_s + eyes.id);
    EXPECT_EQ(first.title, emoji(ReminderType::eyeRest) + u" 眼部休息"_s);
    EXPECT_EQ(first.body, u"看看远处，缓解眼部疲劳～"_s);
    EXPECT_EQ(first.sound, SystemNotifications::Sound::standard);
    EXPECT_EQ(rig.notifications.requests.at(2).identifier, first.identifier);

    // The firings are stored, so a restart keeps the schedule.
    EXPECT_EQ(eyes.lastTriggered, at(10, 1, 0, 150));
    EXPECT_EQ(rig.create().reminders().at(2).lastTriggered, at(10, 1, 0, 150));

    const QStringList lines = loggedLines(u"Reminder"_s);
    EXPECT_TRUE(lines.contains(u"✅ 提醒系统已对齐到整分钟，开始精确监控"_s));
    EXPECT_TRUE(lines.contains(u"   [眼部休息] 下次: 09:21:00, 应触发: true"_s));
    EXPECT_TRUE(lines.contains(u"🔔 触发提醒: 眼部休息"_s));
}

TEST(ReminderManager, EditsAndTogglesMoveTheScheduleAsTheUserExpects)
{
    ReminderRig rig;
    rig.clock.set(at(9, 0));
    ReminderManager& manager = rig.create();
    manager.startReminderSystem();
    Reminder water = manager.reminders().at(1);
    water.lastTriggered = at(10, 10);
    manager.updateReminder(water);

    // A new title keeps the schedule.
    water.title = u"多喝水"_s;
    rig.clock.set(at(10, 20));
    manager.updateReminder(water);
    EXPECT_EQ(manager.reminders().at(1).getNextTriggerTime(), at(10, 40));
    // A new interval counts from the edit: 10:40:10 + 45 min -> 11:26.
    water.interval = 2700;
    rig.clock.set(at(10, 40, 10));
    manager.updateReminder(water);
    EXPECT_EQ(manager.reminders().at(1).getNextTriggerTime(), at(11, 26));
    EXPECT_EQ(manager.reminders().at(1).title, u"多喝水"_s);

    // Off and on again two hours after the last firing: fires at the next check.
    Reminder rest = manager.reminders().at(0);
    rest.lastTriggered = at(9, 0);
    manager.updateReminder(rest);
    manager.toggleReminder(rest.id);
    EXPECT_FALSE(manager.reminders().at(0).isEnabled);
    rig.clock.set(at(11, 0, 30));
    manager.toggleReminder(rest.id);
    rig.announced.clear();
    rig.beatAt(at(11, 1));
    ASSERT_FALSE(rig.announced.isEmpty());
    EXPECT_EQ(rig.announced.at(0).id, rest.id);

    // Unknown ids change nothing.
    const QList<Reminder> before = manager.reminders();
    Reminder stranger = rest;
    stranger.id = u"nobody"_s;
    manager.updateReminder(stranger);
    manager.toggleReminder(u"nobody"_s);
    manager.removeReminder(u"nobody"_s);
    EXPECT_EQ(manager.reminders(), before);

    manager.stopReminderSystem();
    rig.announced.clear();
    rig.beatAt(at(13, 0));
    EXPECT_TRUE(rig.announced.isEmpty()) << "a stopped system does not fire";
}

TEST(ReminderManager, QueriesFollowTheListAndAResetBringsBackTheDefaults)
{
    ReminderRig rig;
    rig.clock.set(at(9, 0));
    ReminderManager& manager = rig.create();
    // Rest at 10:00, water at 9:30, eyes at 9:20.
    const Reminder eyes = manager.reminders().at(2);
    EXPECT_EQ(manager.getNextReminder()->reminder.id, eyes.id);
    EXPECT_EQ(manager.getNextReminder()->triggerTime, at(9, 20));
    manager.toggleReminder(eyes.id);
    Reminder secondWater = reminderOf(ReminderType::hydration, 1800, at(9, 0));
    manager.addReminder(secondWater);
    EXPECT_EQ(manager.getNextReminder()->reminder.id, manager.reminders().at(1).id) << "a tie goes to the earlier";
    EXPECT_EQ(manager.getReminders(ReminderType::hydration).size(), 2);
    EXPECT_EQ(manager.getReminders(ReminderType::hydration).at(1).id, secondWater.id);

    const QStringList status = manager.getReminderStatusInfo();
    ASSERT_EQ(status.size(), 4);
    EXPECT_EQ(status.at(0), emoji(ReminderType::rest) + u" 走动提醒, 间隔: 60分钟, 下次: 10:00:00"_s);
    EXPECT_EQ(status.at(2), emoji(ReminderType::eyeRest) + u" 眼部休息, 间隔: 20分钟, 已禁用"_s);

    manager.resetToDefaults();
    ASSERT_EQ(manager.reminders().size(), 3);
    EXPECT_TRUE(manager.reminders().at(2).isEnabled);
    EXPECT_EQ(rig.stored().size(), 3);
    for (const Reminder& r : manager.reminders())
        manager.toggleReminder(r.id);
    EXPECT_FALSE(manager.getNextReminder());
}

TEST(ReminderManager, TheReminderWindowFollowsTheListAndIsOneAtATime)
{
    ReminderRig rig;
    ReminderManager& manager = rig.create();
    ReminderWindowManager windows(manager);
    windows.closeReminderWindow(); // nothing open: nothing happens
    windows.showReminderWindow();
    QPointer<QWidget> window = windows.reminderWindow();
    ASSERT_TRUE(window);
    window->showMinimized();
    windows.showReminderWindow();
    EXPECT_EQ(windows.reminderWindow(), window.data());
    EXPECT_FALSE(window->isMinimized()) << "asked for again, the window comes back from minimised";
    auto* status = window->findChild<PlainLabel*>(u"reminderStatus"_s);
    EXPECT_EQ(status->fullText(), manager.getReminderStatusInfo().join(u'\n'));
    manager.toggleReminder(manager.reminders().at(0).id);
    EXPECT_TRUE(status->fullText().startsWith(emoji(ReminderType::rest) + u" 走动提醒, 间隔: 60分钟, 已禁用"_s));

    window->close();
    ASSERT_TRUE(waitUntil([&] { return window.isNull(); }));
    EXPECT_EQ(windows.reminderWindow(), nullptr);
    windows.showReminderWindow();
    EXPECT_NE(windows.reminderWindow(), nullptr);
    windows.closeReminderWindow();
    EXPECT_TRUE(waitUntil([&] { return windows.reminderWindow() == nullptr; }));
}

TEST(ReminderManager, ClockJumpsNeitherRepeatNorLoseFirings)
{
    ReminderRig rig;
    rig.clock.set(at(9, 0));
    ReminderManager& manager = rig.create();
    manager.startReminderSystem();

    // A day ahead (a long sleep): each overdue reminder fires once, not once per interval.
    rig.beatAt(at(9, 0).addDays(1));
    EXPECT_EQ(rig.announced.size(), 3);

    // Back an hour, then forward again through the same minutes: nothing fires twice.
    for (int m = 0; m < 60; ++m)
        rig.beatAt(at(8, m).addDays(1));
    for (int m = 0; m < 20; ++m)
        rig.beatAt(at(9, m).addDays(1));
    EXPECT_EQ(rig.announced.size(), 3);
    rig.beatAt(at(9, 20).addDays(1));
    EXPECT_EQ(rig.announced.size(), 4) << "the eye-rest reminder's 20 minutes have passed";
}

TEST(ReminderManager, BadStoredEntriesAreSetAsideNotLost)
{
    ReminderRig rig;
    rig.defaults.setValue(ReminderManager::reminderVersionKey, 2);
    rig.defaults.setValue(ReminderManager::remindersKey, parse(R"([
        {"id":"ok","title":"好的","message":"m","type":"custom","interval":600,"isEnabled":true,"createdAt":0},
        {"id":"t","title":"t","message":"m","type":"nap","interval":600,"isEnabled":true,"createdAt":0},
        {"id":"k","title":"t","message":"m","type":"rest","isEnabled":true,"createdAt":0},
        {"id":"d","title":"t","message":"m","type":"rest","interval":600,"isEnabled":true,"createdAt":1e300},
        {"id":"neg","title":"负数","message":"m","type":"rest","interval":-5,"isEnabled":true,"createdAt":0},
        "not an object"
    ])"));
    ReminderManager& manager = rig.create();
    ASSERT_EQ(manager.reminders().size(), 2);
    EXPECT_EQ(manager.reminders().at(0).id, u"ok"_s);
    EXPECT_EQ(manager.reminders().at(1).id, u"neg"_s);
    const QJsonArray aside = rig.defaults.value(ReminderManager::unreadableKey).toArray();
    ASSERT_EQ(aside.size(), 4);
    EXPECT_EQ(aside.at(0).toObject().value(u"id"_s).toString(), u"t"_s);
    EXPECT_EQ(aside.at(3).toString(), u"not an object"_s);
    EXPECT_EQ(loggedLines(u"Reminder"_s).filter(QRegularExpression(u"^加载提醒失败: "_s)).size(), 4);

    // The negative interval is kept but never fires.
    manager.startReminderSystem();
    rig.beatAt(at(12, 0));
    ASSERT_EQ(rig.announced.size(), 1);
    EXPECT_EQ(rig.announced.at(0).id, u"ok"_s);
}

// Two stored reminders with one id each keep their own schedule: neither takes the
// other's place when it fires, and neither fires again before its interval is up.
TEST(ReminderManager, StoredRemindersSharingAnIdEachGetTheirOwn)
{
    ReminderRig rig;
    rig.defaults.setValue(ReminderManager::reminderVersionKey, 2);
    rig.defaults.setValue(ReminderManager::remindersKey, parse(R"([
        {"id":"same","title":"甲","message":"m","type":"custom","interval":600,"isEnabled":true,"createdAt":0},
        {"id":"same","title":"乙","message":"m","type":"custom","interval":600,"isEnabled":true,"createdAt":0}
    ])"));
    ReminderManager& manager = rig.create();
    ASSERT_EQ(manager.reminders().size(), 2);
    EXPECT_NE(manager.reminders().at(0).id, manager.reminders().at(1).id);
    EXPECT_EQ(rig.stored().at(1).toObject().value(u"id"_s).toString(), manager.reminders().at(1).id)
        << "the new id is stored for the next launch";
    EXPECT_EQ(loggedLines(u"Reminder"_s).filter(u"⚠️ 提醒 id 重复: same"_s).size(), 1);

    manager.startReminderSystem();
    rig.beatAt(at(12, 0));
    rig.beatAt(at(12, 1));
    ASSERT_EQ(rig.announced.size(), 2);
    EXPECT_EQ(rig.announced.at(0).title + rig.announced.at(1).title, u"甲乙"_s);
    EXPECT_EQ(manager.reminders().at(0).title + manager.reminders().at(1).title, u"甲乙"_s);
}

TEST(ReminderManager, AStoredValueThatIsNoListIsKeptBeforeSeeding)
{
    ReminderRig rig;
    rig.defaults.setValue(ReminderManager::reminderVersionKey, 2);
    rig.defaults.setValue(ReminderManager::remindersKey, u"{garbage"_s);
    EXPECT_EQ(rig.create().reminders().size(), 3);
    EXPECT_EQ(rig.defaults.value(ReminderManager::unreadableKey).toArray(), QJsonArray { u"{garbage"_s });
    EXPECT_EQ(rig.stored().size(), 3);
}

TEST(ReminderManager, AThousandRemindersFireInOneCheck)
{
    ReminderRig rig;
    ReminderManager& manager = rig.create();
    for (int i = 0; i < 1000; ++i)
        manager.addReminder(reminderOf(ReminderType::custom, 60.0 * (1 + i % 7), at(8, 0)));
    manager.startReminderSystem();
    rig.beatAt(at(12, 0));
    EXPECT_EQ(rig.announced.size(), 1003);
    EXPECT_EQ(rig.notifications.requests.size(), 1003);
    EXPECT_EQ(rig.stored().size(), 1003);
    rig.beatAt(at(12, 1));
    EXPECT_EQ(rig.announced.size(), 1003 + 1000 / 7 + 1) << "only the one-minute reminders are due again";
}
