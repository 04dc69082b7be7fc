#include "platform/FrameTicker.h"

#include "support/FakeTimers.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(FrameTicker, OneTimerPerRateStepsEveryoneStillTickingWhenItFires)
{
    FakeTimers timers;
    FrameTicker ticker(timers);
    QStringList steps;
    const int a = 0, b = 0, c = 0, d = 0;
    ticker.start(&a, 33, [&] { steps << u"a"_s; });
    ticker.start(&b, 33, [&] {
        steps << u"b"_s;
        ticker.stop(&b); // a play-once animation ending on this tick
        ticker.stop(&c); // and handing over: the one it stops does not step any more
        ticker.start(&d, 33, [&] { steps << u"d"_s; }); // the one it starts waits for the next tick
    });
    ticker.start(&c, 33, [&] { steps << u"c"_s; });
    EXPECT_EQ(timers.running(), QList<int> { 33 });

    timers.advanceMs(33);
    EXPECT_EQ(steps, (QStringList { u"a"_s, u"b"_s }));
    steps.clear();
    timers.advanceMs(33);
    EXPECT_EQ(steps, (QStringList { u"a"_s, u"d"_s }));

    // A new speed moves a player to the timer of its rate; the last one out stops its timer.
    ticker.start(&a, 17, [&] { steps << u"a17"_s; });
    EXPECT_EQ(timers.running(), (QList<int> { 33, 17 }));
    ticker.stop(&d);
    EXPECT_EQ(timers.running(), QList<int> { 17 });
    EXPECT_FALSE(ticker.isTicking(&d));
    steps.clear();
    timers.advanceMs(34);
    EXPECT_EQ(steps, (QStringList { u"a17"_s, u"a17"_s }));
}
