// Reading this program's processor time from the kernel's texts.
#include "platform/SystemInfo.h"

#include <gtest/gtest.h>

TEST(ProcessTimes, ReadsTheFieldsAfterTheCommandName)
{
    // A command name with blanks and a ")" of its own must not shift the fields.
    const QByteArray stat = "4242 (my (odd) name) S 1 4242 4242 0 -1 4194304 100 0 0 0 250 50 0 0 20 0 3 0 1000 "
                            "1000000 2000 18446744073709551615 1 1 0 0 0 0 0 0 0 0 0 0 17 2 0 0 0 0 0\n";
    const auto times = SystemInfo::parseProcessTimes(stat, "120.50 400.00\n", 100.0);
    ASSERT_TRUE(times);
    EXPECT_DOUBLE_EQ(times->cpuSeconds, 3.0);
    EXPECT_DOUBLE_EQ(times->runningSeconds, 110.5);

    EXPECT_FALSE(SystemInfo::parseProcessTimes("garbage", "1.0", 100.0));
    EXPECT_FALSE(SystemInfo::parseProcessTimes(stat, "", 100.0));
    EXPECT_FALSE(SystemInfo::parseProcessTimes("1 (x) S 1 2", "1.0", 100.0));

    const auto live = SystemInfo::system().processTimes();
    ASSERT_TRUE(live);
    EXPECT_GE(live->runningSeconds, 0.0);
    EXPECT_GE(live->cpuSeconds, 0.0);
}
