#include "platform/TimerSource.h"

#include "support/Wait.h"

#include <gtest/gtest.h>

// The program's timers on Qt's event loop: a handle may end its own timer from inside the
// callback, which is how a reconnect timer restarts the connection that owns it.
TEST(SystemTimers, OneShotFiresOnceAndMayDestroyItsOwnHandle)
{
    std::unique_ptr<TimerSource::Timer> handle;
    int fired = 0;
    handle = TimerSource::system().start(1, false, [&] {
        ++fired;
        handle.reset();
    });
    ASSERT_TRUE(waitUntil([&] { return fired == 1; }));
    EXPECT_FALSE(waitUntil([&] { return fired > 1; }, 50));
}

TEST(SystemTimers, RepeatingRunsUntilTheHandleGoesAndNegativeIntervalsFire)
{
    int ticks = 0;
    auto repeating = TimerSource::system().start(1, true, [&] { ++ticks; });
    ASSERT_TRUE(waitUntil([&] { return ticks >= 3; }));
    repeating.reset();
    const int stopped = ticks;
    EXPECT_FALSE(waitUntil([&] { return ticks > stopped; }, 50));

    bool negative = false;
    auto once = TimerSource::system().start(-5, false, [&] { negative = true; });
    EXPECT_TRUE(waitUntil([&] { return negative; }));
}
