#include "reminders/MinuteTicker.h"

#include "support/FakeClock.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

QDateTime at(int h, int m, int s, int ms = 0)
{
    return QDateTime(QDate(2026, 1, 5), QTime(h, m, s, ms));
}

} // namespace

TEST(MinuteTicker, AimsAtTheWholeMinuteAndCountsEarlyBeatsAsIt)
{
    EXPECT_DOUBLE_EQ(MinuteTicker::secondsToNextMinute(at(10, 15, 42, 250)), 17.75);
    EXPECT_DOUBLE_EQ(MinuteTicker::secondsToNextMinute(at(10, 15, 0)), 60.0);
    EXPECT_DOUBLE_EQ(MinuteTicker::secondsToNextMinute(at(10, 15, 59, 999)), 0.001);

    EXPECT_EQ(MinuteTicker::minuteOf(at(10, 16, 0, 300)), at(10, 16, 0));
    EXPECT_EQ(MinuteTicker::minuteOf(at(10, 15, 59, 950)), at(10, 16, 0));
    EXPECT_EQ(MinuteTicker::minuteOf(at(10, 15, 40)), at(10, 15, 0));
    EXPECT_EQ(MinuteTicker::minuteOf(at(23, 59, 59, 500)), QDateTime(QDate(2026, 1, 6), QTime(0, 0)));
}

TEST(MinuteTicker, ReAimsAfterEveryBeatFromTheClock)
{
    FakeClock clock(at(10, 15, 42, 250));
    MinuteTicker ticker(clock);
    QSignalSpy minutes(&ticker, &MinuteTicker::minuteStarted);
    ticker.start();
    EXPECT_TRUE(ticker.isRunning());
    EXPECT_EQ(ticker.timer().interval(), 17750);
    EXPECT_EQ(ticker.timer().timerType(), Qt::PreciseTimer);
    ticker.start(); // a second start keeps the aim
    EXPECT_EQ(ticker.timer().interval(), 17750);

    clock.set(at(10, 15, 59, 990)); // the beat came 10 ms early
    ticker.tick();
    ASSERT_EQ(minutes.size(), 1);
    EXPECT_EQ(minutes.at(0).at(0).toDateTime(), at(10, 16, 0));
    EXPECT_EQ(ticker.timer().interval(), 60010);

    clock.set(at(10, 17, 0, 400)); // late: aims at 10:18 sharp
    ticker.tick();
    EXPECT_EQ(minutes.at(1).at(0).toDateTime(), at(10, 17, 0));
    EXPECT_EQ(ticker.timer().interval(), 59600);

    clock.set(at(10, 17, 0).addDays(1)); // the clock jumped a day ahead
    ticker.tick();
    EXPECT_EQ(minutes.at(2).at(0).toDateTime(), at(10, 17, 0).addDays(1));
    EXPECT_EQ(ticker.timer().interval(), 60000);

    clock.set(at(9, 17, 0)); // set back: never aims an hour ahead
    ticker.tick();
    EXPECT_LE(ticker.timer().interval(), 61000);
    ticker.stop();
    EXPECT_FALSE(ticker.isRunning());
}
