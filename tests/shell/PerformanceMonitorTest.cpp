#include "shell/PerformanceMonitor.h"

#include "support/LogLines.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(PerformanceMonitor, StartsWithinItsLimitsAndSaysWhenItStops)
{
    const QString stopped = u"性能监控已停止"_s;
    {
        PerformanceMonitor monitor;
        EXPECT_TRUE(monitor.isPerformanceOptimal());
        EXPECT_LT(monitor.cpuUsage(), monitor.cpuThreshold());
        EXPECT_LT(monitor.memoryUsage(), monitor.memoryThreshold());
        EXPECT_GT(monitor.monitoringInterval(), 0.0);
        EXPECT_EQ(monitor.monitorTimer(), nullptr);

        monitor.stopMonitoring();
        EXPECT_EQ(loggedLines(PerformanceMonitor::logCategory), QStringList { stopped });
    }
    EXPECT_EQ(loggedLines(PerformanceMonitor::logCategory), (QStringList { stopped, stopped }))
        << "going away stops it as well";
}
