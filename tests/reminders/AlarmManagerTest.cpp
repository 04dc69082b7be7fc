#include "reminders/AlarmManager.h"

#include "core/Reminder.h"
#include "platform/Defaults.h"
#include "platform/FloatingWindow.h"
#include "platform/Screens.h"
#include "reminders/AlarmWindowManager.h"
#include "reminders/AlarmWindowView.h"
#include "reminders/MinuteTicker.h"

#include "LocalZone.h"
#include "support/FakeClock.h"
#include "support/LogLines.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

QDateTime at(int h, int m, int s = 0)
{
    return QDateTime(QDate(2026, 1, 5), QTime(h, m, s));
}

struct AlarmRig
{
    QTemporaryDir dir;
    FakeClock clock { at(14, 25) };
    Defaults defaults { dir.filePath(u"defaults.json"_s) };
    MinuteTicker ticker { clock };
    Screens screens { QList<ScreenGeometry> { { QRect(0, 0, 1440, 900), QRect(0, 30, 1440, 870) } } };
    AlarmWindowManager windows { screens };
    std::unique_ptr<AlarmManager> manager;

    AlarmManager& create()
    {
        manager.reset();
        manager = std::make_unique<AlarmManager>(clock, defaults, ticker, windows);
        return *manager;
    }
    /// A beat of the ticker at `time`, and the cards it queued.
    void beatAt(const QDateTime& time)
    {
        clock.set(time);
        ticker.tick();
        QCoreApplication::sendPostedEvents();
    }
    [[nodiscard]] QString cardTitle(const QString& id) const
    {
        FloatingWindow* window = windows.alarmWindow(id);
        return window ? window->findChild<AlarmWindowView*>()->alarm().title : QString();
    }
};

Alarm alarm(const QString& id, int h, int m, AlarmRepeatType repeat, bool enabled = true)
{
    Alarm a;
    a.id = id;
    a.title = id + u"闹钟"_s;
    a.message = u"m"_s;
    a.type = AlarmType::work;
    a.time = at(h, m);
    a.repeatType = repeat;
    a.isEnabled = enabled;
    a.createdAt = at(8, 0);
    return a;
}

} // namespace

TEST(AlarmManager, FirstLaunchSeedsOneDisabledMeetingAtTheNextFullHour)
{
    const struct
    {
        QDateTime now;
        QDateTime expected;
    } cases[] = { { at(14, 25), at(15, 0) }, { at(23, 40), QDateTime(QDate(2026, 1, 6), QTime(0, 0)) } };
    for (const auto& c : cases) {
        AlarmRig rig;
        rig.clock.set(c.now);
        AlarmManager& manager = rig.create();
        ASSERT_EQ(manager.alarms().size(), 1);
        const Alarm& seeded = manager.alarms().at(0);
        EXPECT_EQ(seeded.title, u"会议闹钟"_s);
        EXPECT_EQ(seeded.message, u"会议时间到了！"_s);
        EXPECT_EQ(seeded.type, AlarmType::meeting);
        EXPECT_EQ(seeded.repeatType, AlarmRepeatType::once);
        EXPECT_FALSE(seeded.isEnabled);
        EXPECT_EQ(seeded.time, c.expected);
        EXPECT_EQ(rig.defaults.integer(AlarmManager::alarmVersionKey), 1);
        EXPECT_FALSE(manager.isActive());
        EXPECT_FALSE(rig.ticker.isRunning());
    }
}

TEST(AlarmManager, OlderDefaultsBecomeAOnceAlarmKeepingWhatTheUserSet)
{
    AlarmRig rig;
    const QJsonObject old { { u"id"_s, u"M"_s }, { u"title"_s, u"会议闹钟"_s }, { u"message"_s, u"旧"_s },
        { u"type"_s, u"meeting"_s }, { u"time"_s, 1000.0 }, { u"repeatType"_s, u"daily"_s },
        { u"customWeekdays"_s, QJsonArray {} }, { u"isEnabled"_s, true }, { u"createdAt"_s, 5.0 } };
    QJsonObject other = old;
    other.insert(u"id"_s, u"X"_s);
    other.insert(u"title"_s, u"周会"_s);
    rig.defaults.setValue(AlarmManager::alarmsKey, QJsonArray { old, other });
    AlarmManager& manager = rig.create();
    ASSERT_EQ(manager.alarms().size(), 2);
    const Alarm& rewritten = manager.alarms().at(0);
    EXPECT_EQ(rewritten.id, u"M"_s);
    EXPECT_EQ(rewritten.repeatType, AlarmRepeatType::once);
    EXPECT_EQ(rewritten.message, u"会议时间到了！"_s);
    EXPECT_EQ(rewritten.time, fromReferenceSeconds(1000));
    EXPECT_TRUE(rewritten.isEnabled);
    EXPECT_EQ(rewritten.createdAt, fromReferenceSeconds(5));
    EXPECT_EQ(manager.alarms().at(1).repeatType, AlarmRepeatType::daily);
    EXPECT_EQ(rig.defaults.integer(AlarmManager::alarmVersionKey), 1);
    EXPECT_TRUE(loggedLines(u"Alarm"_s).contains(u"✅ 更新默认闹钟: 会议闹钟 -> 仅一次"_s));

    // Version 1 with an empty list seeds the default again.
    rig.defaults.setValue(AlarmManager::alarmsKey, QJsonArray {});
    EXPECT_EQ(rig.create().alarms().size(), 1);
    EXPECT_TRUE(loggedLines(u"Alarm"_s).contains(u"📂 加载闹钟列表，共 0 个"_s));
}

TEST(AlarmManager, AnyEnabledAlarmStartsTheCheck)
{
    {
        AlarmRig rig; // enabling the seeded alarm
        AlarmManager& manager = rig.create();
        rig.clock.set(at(14, 25, 25));
        manager.toggleAlarm(manager.alarms().at(0).id);
        EXPECT_TRUE(manager.isActive());
        EXPECT_TRUE(rig.ticker.isRunning());
        EXPECT_EQ(rig.ticker.timer().interval(), 35000);
    }
    {
        AlarmRig rig; // an edit that enables
        AlarmManager& manager = rig.create();
        Alarm seeded = manager.alarms().at(0);
        seeded.isEnabled = true;
        manager.updateAlarm(seeded);
        EXPECT_TRUE(manager.isActive());
    }
    {
        AlarmRig rig; // adding, and loading
        rig.clock.set(at(14, 25, 25));
        rig.create().addAlarm(alarm(u"a"_s, 7, 0, AlarmRepeatType::daily));
        EXPECT_TRUE(rig.manager->isActive());
        EXPECT_TRUE(rig.create().isActive());
        EXPECT_TRUE(loggedLines(u"Alarm"_s).contains(u"⏰ 闹钟对齐中，35.00秒后到达整分钟"_s));
    }
    {
        AlarmRig rig; // a disabled addition does not
        rig.create().addAlarm(alarm(u"a"_s, 7, 0, AlarmRepeatType::daily, false));
        EXPECT_FALSE(rig.manager->isActive());
    }
}

TEST(AlarmManager, AStoppedCheckRingsNothingUntilStartedAndAResetLeavesTheDefault)
{
    AlarmRig rig;
    AlarmManager& manager = rig.create();
    QSignalSpy active(&manager, &AlarmManager::isActiveChanged);
    manager.addAlarm(alarm(u"daily"_s, 15, 0, AlarmRepeatType::daily));
    manager.stopMonitoring();
    EXPECT_FALSE(manager.isActive());
    rig.beatAt(at(15, 0));
    EXPECT_EQ(rig.windows.openCount(), 0);
    manager.startMonitoring();
    manager.startMonitoring();
    rig.beatAt(at(15, 0).addDays(1));
    EXPECT_EQ(rig.windows.openCount(), 1);

    manager.resetToDefaults();
    EXPECT_FALSE(manager.isActive());
    // Each start and stop is announced once; a start of a running check is not.
    ASSERT_EQ(active.size(), 4);
    EXPECT_EQ(active.at(2).first().toBool(), true);
    EXPECT_EQ(active.at(3).first().toBool(), false);
    ASSERT_EQ(manager.alarms().size(), 1);
    EXPECT_EQ(manager.alarms().at(0).title, u"会议闹钟"_s);
    EXPECT_FALSE(manager.alarms().at(0).isEnabled);
    EXPECT_EQ(rig.defaults.value(AlarmManager::alarmsKey).toArray().size(), 1);
}

TEST(AlarmManager, OnceRingsOnceAndDailyEveryDay)
{
    AlarmRig rig;
    AlarmManager& manager = rig.create();
    manager.addAlarm(alarm(u"once"_s, 15, 0, AlarmRepeatType::once));
    manager.addAlarm(alarm(u"daily"_s, 15, 0, AlarmRepeatType::daily));
    manager.addAlarm(alarm(u"weekend"_s, 15, 0, AlarmRepeatType::weekends));

    rig.beatAt(at(14, 59));
    EXPECT_EQ(rig.windows.openCount(), 0);
    rig.beatAt(at(15, 0));
    EXPECT_EQ(rig.windows.openCount(), 2);
    EXPECT_EQ(rig.cardTitle(u"once"_s), u"once闹钟"_s);
    EXPECT_EQ(rig.windows.alarmWindow(u"daily"_s)->modelFrame().y(),
        rig.windows.alarmWindow(u"once"_s)->modelFrame().y() - 130)
        << "rung in list order, the second card below the first";
    // Index 0 is the seeded default.
    EXPECT_FALSE(manager.alarms().at(1).isEnabled) << "a once alarm switches itself off";
    EXPECT_FALSE(rig.defaults.value(AlarmManager::alarmsKey).toArray().at(1).toObject().value(u"isEnabled"_s).toBool());
    EXPECT_TRUE(manager.alarms().at(2).isEnabled);
    EXPECT_TRUE(manager.alarms().at(3).isEnabled);

    rig.windows.closeAllAlarms();
    rig.beatAt(at(15, 0).addDays(1));
    EXPECT_EQ(rig.windows.openCount(), 1);
    EXPECT_NE(rig.windows.alarmWindow(u"daily"_s), nullptr);
    EXPECT_EQ(loggedLines(u"Alarm"_s).filter(u"🔔 触发闹钟: once闹钟 at 15:00"_s).size(), 1);
}

// A once alarm stored under a daily alarm's id rings beside it and switches off only itself.
TEST(AlarmManager, StoredAlarmsSharingAnIdEachGetTheirOwn)
{
    AlarmRig rig;
    rig.defaults.setValue(AlarmManager::alarmVersionKey, 1);
    rig.defaults.setValue(AlarmManager::alarmsKey,
        QJsonArray { alarm(u"x"_s, 15, 0, AlarmRepeatType::daily).toJson(),
            alarm(u"x"_s, 15, 0, AlarmRepeatType::once).toJson() });
    AlarmManager& manager = rig.create();
    ASSERT_EQ(manager.alarms().size(), 2);
    EXPECT_NE(manager.alarms().at(0).id, manager.alarms().at(1).id);

    rig.beatAt(at(15, 0));
    EXPECT_EQ(rig.windows.openCount(), 2);
    EXPECT_TRUE(manager.alarms().at(0).isEnabled);
    EXPECT_FALSE(manager.alarms().at(1).isEnabled);
}

TEST(AlarmManager, TheRepeatedHourAndAClockSetBackRingOnce)
{
    LocalZone zone("Europe/Berlin");
    AlarmRig rig;
    AlarmManager& manager = rig.create();
    Alarm night = alarm(u"night"_s, 2, 30, AlarmRepeatType::daily);
    night.time = QDateTime(QDate(2026, 10, 20), QTime(2, 30));
    manager.addAlarm(night);

    // 25 October 2026: 02:30 summer time, then an hour later 02:30 winter time.
    const QDateTime first = QDateTime(QDate(2026, 10, 25), QTime(0, 30), QTimeZone::utc()).toLocalTime();
    const QDateTime second = first.addSecs(3600);
    ASSERT_EQ(first.time(), QTime(2, 30));
    ASSERT_EQ(second.time(), QTime(2, 30)) << "tzdata lacks the autumn change";
    rig.beatAt(first);
    rig.windows.closeAllAlarms();
    rig.beatAt(second);
    EXPECT_EQ(rig.windows.openCount(), 0);
    EXPECT_EQ(loggedLines(u"Alarm"_s).filter(u"🔔 触发闹钟"_s).size(), 1);

    // Clock set back an hour after ringing at 10:00: 10:00 comes again and stays quiet.
    manager.addAlarm(alarm(u"ten"_s, 10, 0, AlarmRepeatType::daily));
    rig.beatAt(at(10, 0));
    EXPECT_EQ(rig.windows.openCount(), 1);
    rig.windows.closeAllAlarms();
    rig.beatAt(at(9, 0));
    rig.beatAt(at(10, 0));
    EXPECT_EQ(rig.windows.openCount(), 0);
    rig.beatAt(at(10, 0).addDays(1));
    EXPECT_EQ(rig.windows.openCount(), 1);
}

TEST(AlarmManager, AlarmsFollowAChangeOfTimeZoneWhileRunning)
{
    LocalZone zone("Asia/Shanghai");
    AlarmRig rig;
    AlarmManager& manager = rig.create();
    const QDateTime utcOne(QDate(2026, 1, 5), QTime(1, 0), QTimeZone::utc());
    Alarm a = alarm(u"a"_s, 9, 0, AlarmRepeatType::daily);
    a.time = utcOne; // the instant that reads 09:00 in Shanghai
    manager.addAlarm(a);
    EXPECT_EQ(manager.alarms().at(1).timeText(), u"09:00"_s);

    LocalZone::set("UTC");
    rig.beatAt(utcOne.toLocalTime()); // the same instant, now read as 01:00
    EXPECT_EQ(rig.windows.openCount(), 1) << "the alarm's instant reads 01:00 in the new zone";
    EXPECT_EQ(manager.alarms().at(1).timeText(), u"01:00"_s);
    rig.beatAt(utcOne.addSecs(8 * 3600).toLocalTime());
    EXPECT_EQ(loggedLines(u"Alarm"_s).filter(u"🔔 触发闹钟"_s).size(), 1);
}

TEST(AlarmManager, BadStoredEntriesAreSetAsideAndTheRestStillRing)
{
    AlarmRig rig;
    rig.defaults.setValue(AlarmManager::alarmVersionKey, 1);
    QJsonObject good = alarm(u"good"_s, 15, 0, AlarmRepeatType::daily).toJson();
    QJsonObject unknownRule = good;
    unknownRule.insert(u"repeatType"_s, u"hourly"_s);
    QJsonObject missing = good;
    missing.remove(u"time"_s);
    rig.defaults.setValue(AlarmManager::alarmsKey, QJsonArray { unknownRule, good, missing });
    AlarmManager& manager = rig.create();
    ASSERT_EQ(manager.alarms().size(), 1);
    EXPECT_TRUE(manager.isActive());
    EXPECT_EQ(rig.defaults.value(AlarmManager::unreadableKey).toArray(), (QJsonArray { unknownRule, missing }));
    rig.beatAt(at(15, 0));
    EXPECT_EQ(rig.windows.openCount(), 1);

    // A stored value that is no list is kept aside before the default is written over it.
    AlarmRig other;
    other.defaults.setValue(AlarmManager::alarmsKey, 42);
    EXPECT_EQ(other.create().alarms().size(), 1);
    EXPECT_EQ(other.defaults.value(AlarmManager::unreadableKey).toArray(), QJsonArray { 42 });
}
