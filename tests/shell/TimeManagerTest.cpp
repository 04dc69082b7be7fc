#include "shell/TimeManager.h"
#include "core/EventCenter.h"

#include "StdoutCapture.h"
#include "support/FakeClock.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QDateTime at(int hour, int minute)
{
    return QDateTime(QDate(2026, 3, 2), QTime(hour, minute));
}

} // namespace

TEST(TimeManager, SegmentsSwitchAtTheirHours)
{
    const struct
    {
        int hour;
        int minute;
        TimeSegment segment;
    } cases[] = {
        { 0, 0, TimeSegment::night },
        { 5, 59, TimeSegment::night },
        { 6, 0, TimeSegment::morning },
        { 11, 59, TimeSegment::morning },
        { 12, 0, TimeSegment::afternoon },
        { 17, 59, TimeSegment::afternoon },
        { 18, 0, TimeSegment::evening },
        { 21, 59, TimeSegment::evening },
        { 22, 0, TimeSegment::night },
        { 23, 59, TimeSegment::night },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TimeManager::getTimeSegment(at(c.hour, c.minute)), c.segment) << c.hour << ":" << c.minute;
    }
}

TEST(TimeManager, CreationInTheAfternoonAnnouncesTheChangeFromMorning)
{
    FakeClock clock(at(14, 0));
    QSignalSpy spy(&EventCenter::shared(), &EventCenter::timeSegmentDidChange);
    StdoutCapture out;
    TimeManager manager(&clock);

    EXPECT_EQ(manager.currentTimeSegment(), TimeSegment::afternoon);
    ASSERT_EQ(spy.size(), 1);
    EXPECT_EQ(spy.at(0).at(0).value<TimeSegment>(), TimeSegment::morning);
    EXPECT_EQ(spy.at(0).at(1).value<TimeSegment>(), TimeSegment::afternoon);
    EXPECT_TRUE(out.text().contains(u"⏰ 时间段变化: 早晨 -> 下午"_s)) << out.text().toStdString();
}

TEST(TimeManager, FirstCheckAtOrAfterTheHourAnnouncesOnce)
{
    FakeClock clock(at(11, 59));
    TimeManager manager(&clock);
    QSignalSpy spy(&EventCenter::shared(), &EventCenter::timeSegmentDidChange);

    manager.updateCurrentTimeSegment();
    EXPECT_EQ(spy.size(), 0) << "an unchanged segment is not announced";

    clock.set(at(12, 0));
    manager.updateCurrentTimeSegment();
    clock.set(at(12, 1));
    manager.updateCurrentTimeSegment();
    ASSERT_EQ(spy.size(), 1);
    EXPECT_EQ(spy.at(0).at(0).value<TimeSegment>(), TimeSegment::morning);
    EXPECT_EQ(spy.at(0).at(1).value<TimeSegment>(), TimeSegment::afternoon);

    clock.set(at(22, 0));
    manager.updateCurrentTimeSegment();
    ASSERT_EQ(spy.size(), 2) << "a jump over a whole segment is one change";
    EXPECT_EQ(spy.at(1).at(0).value<TimeSegment>(), TimeSegment::afternoon);
    EXPECT_EQ(spy.at(1).at(1).value<TimeSegment>(), TimeSegment::night);
}

TEST(TimeManager, StartingTwiceKeepsOneMinuteTimerAndStopEndsIt)
{
    FakeClock clock(at(7, 0));
    TimeManager manager(&clock);
    QSignalSpy active(&manager, &TimeManager::isTimeMonitoringActiveChanged);
    StdoutCapture out;

    manager.startTimeMonitoring();
    manager.startTimeMonitoring();
    EXPECT_TRUE(manager.isTimeMonitoringActive());
    EXPECT_TRUE(manager.timeMonitorTimer().isActive());
    EXPECT_EQ(manager.timeMonitorTimer().interval(), 60 * 1000);
    EXPECT_EQ(out.text().count(u"⏰ 时间监控已启动"_s), 1);

    // Starting checks at once: a segment reached while stopped is picked up.
    manager.stopTimeMonitoring();
    EXPECT_FALSE(manager.timeMonitorTimer().isActive());
    clock.set(at(19, 0));
    manager.startTimeMonitoring();
    EXPECT_EQ(manager.currentTimeSegment(), TimeSegment::evening);
    ASSERT_EQ(active.size(), 3) << "one announcement per change of the published flag";
    EXPECT_TRUE(active.at(0).at(0).toBool());
    EXPECT_FALSE(active.at(1).at(0).toBool());
    EXPECT_TRUE(active.at(2).at(0).toBool());
}
