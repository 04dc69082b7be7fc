#include "shell/PerformanceMonitor.h"

#include "platform/LogManager.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(PerformanceMonitor, StartsWithinItsLimitsAndTellsItsOwnLoggerWhenItStops)
{
    const QString stopped = u"性能监控已停止"_s;
    QStringList told;
    {
        PerformanceMonitor monitor([&told](const QString& line) { told.append(line); });
        EXPECT_TRUE(monitor.isPerformanceOptimal());
        EXPECT_LT(monitor.cpuUsage(), monitor.cpuThreshold());
        EXPECT_LT(monitor.memoryUsage(), monitor.memoryThreshold());
        EXPECT_GT(monitor.monitoringInterval(), 0.0);
        EXPECT_EQ(monitor.monitorTimer(), nullptr);

        monitor.stopMonitoring();
        EXPECT_EQ(told, QStringList { stopped });
    }
    EXPECT_EQ(told, (QStringList { stopped, stopped })) << "going away stops it as well";

    // Left to its default, it writes to the system's log: the program's never hears of it.
    {
        PerformanceMonitor monitor;
    }
    QCoreApplication::sendPostedEvents(&LogManager::shared(), QEvent::MetaCall);
    for (const LogManager::LogEntry& entry : LogManager::shared().logs())
        EXPECT_FALSE(entry.message.contains(stopped)) << entry.category.toStdString();
}
