#include "shell/SystemMonitor.h"
#include "core/EventCenter.h"
#include "platform/Defaults.h"
#include "shell/NotificationManager.h"

#include "FakeNotificationBackend.h"
#include "StdoutCapture.h"
#include "support/FakeClock.h"
#include "support/FakeRandom.h"
#include "support/FakeSystemInfo.h"

#include <QSignalSpy>
#include <QTemporaryDir>

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Rig
{
    FakeSystemInfo info;
    FakeRandom random;
    FakeClock clock;
};

} // namespace

TEST(SystemMonitor, LevelFollowsTheLargestFigure)
{
    Rig rig;
    SystemMonitor monitor(&rig.info, &rig.random, &rig.clock);

    const struct
    {
        double cpu, memory, disk;
        HealthLevel level;
    } cases[] = {
        { 0.2, 0.4, 0.49, HealthLevel::excellent },
        { 0.2, 0.4, 0.69, HealthLevel::good },
        { 0.7, 0.1, 0.1, HealthLevel::warning },
        { 0.1, 0.7, 0.1, HealthLevel::warning },
        { 0.1, 0.1, 0.89, HealthLevel::warning },
        { 0.1, 0.9, 0.1, HealthLevel::critical },
        { 0.9, 0.0, 0.0, HealthLevel::critical },
    };
    for (const auto& c : cases) {
        rig.info.setFigures(c.cpu, c.memory, c.disk);
        monitor.updateSystemHealth();
        EXPECT_EQ(monitor.currentHealth().overallHealth, c.level) << c.cpu << " " << c.memory << " " << c.disk;
        EXPECT_DOUBLE_EQ(monitor.currentHealth().memoryUsage, c.memory);
        EXPECT_DOUBLE_EQ(monitor.currentHealth().diskUsage, c.disk);
    }

    rig.info.load = 12.0; // above the 8 processors
    monitor.updateSystemHealth();
    EXPECT_DOUBLE_EQ(monitor.currentHealth().cpuUsage, 1.0);
    EXPECT_EQ(monitor.currentHealth().overallHealth, HealthLevel::critical);
}

TEST(SystemMonitor, CriticalIsAnnouncedOnlyWhenSteppedInto)
{
    Rig rig;
    SystemMonitor monitor(&rig.info, &rig.random, &rig.clock);
    QSignalSpy critical(&EventCenter::shared(), &EventCenter::systemHealthCritical);
    QSignalSpy changed(&EventCenter::shared(), &EventCenter::systemHealthDidChange);

    rig.info.setFigures(0.95, 0.1, 0.1);
    monitor.updateSystemHealth();
    monitor.updateSystemHealth();
    EXPECT_EQ(critical.size(), 1) << "a level that stays critical is announced once";
    EXPECT_EQ(changed.size(), 1);

    rig.info.setFigures(0.75, 0.1, 0.1);
    monitor.updateSystemHealth();
    rig.info.setFigures(0.1, 0.1, 0.92);
    monitor.updateSystemHealth();
    ASSERT_EQ(critical.size(), 2) << "back to warning and into critical again announces again";
    const auto health = critical.at(1).at(0).value<SystemHealth>();
    EXPECT_EQ(health.overallHealth, HealthLevel::critical);
    EXPECT_DOUBLE_EQ(health.diskUsage, 0.92);

    ASSERT_EQ(changed.size(), 3);
    EXPECT_EQ(changed.at(1).at(0).value<SystemHealth>().overallHealth, HealthLevel::critical);
    EXPECT_EQ(changed.at(1).at(1).value<SystemHealth>().overallHealth, HealthLevel::warning);
}

TEST(SystemMonitor, SteppingIntoCriticalBecomesOneSystemNotification)
{
    Rig rig;
    QTemporaryDir dir;
    Defaults defaults(dir.filePath(u"defaults.json"_s));
    FakeNotificationBackend backend;
    NotificationManager notifications(backend, defaults, &rig.clock);
    SystemMonitor monitor(&rig.info, &rig.random, &rig.clock);

    rig.info.setFigures(0.5, 0.3, 0.2);
    monitor.updateSystemHealth();
    rig.info.setFigures(0.95, 0.3, 0.2);
    monitor.updateSystemHealth();
    monitor.updateSystemHealth();
    ASSERT_EQ(backend.requests.size(), 1) << "only the step into critical is a notification";
    EXPECT_EQ(backend.requests.first().title, u"系统状态: ❤️ 严重"_s);
    EXPECT_EQ(backend.requests.first().body, u"CPU: 95.0%, 内存: 30.0%\n⚠️ CPU使用率过高"_s);
    EXPECT_EQ(backend.requests.first().urgency, SystemNotifications::Urgency::critical);
}

TEST(SystemMonitor, CreationUnderLoadComparesWithTheInitialExcellentSample)
{
    Rig rig;
    rig.info.setFigures(0.1, 0.95, 0.1);
    QSignalSpy critical(&EventCenter::shared(), &EventCenter::systemHealthCritical);
    QSignalSpy changed(&EventCenter::shared(), &EventCenter::systemHealthDidChange);
    StdoutCapture out;

    SystemMonitor monitor(&rig.info, &rig.random, &rig.clock);
    EXPECT_EQ(critical.size(), 1);
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed.at(0).at(0).value<SystemHealth>().overallHealth, HealthLevel::excellent);
    EXPECT_TRUE(out.text().contains(u"📊 系统健康度变化: 优秀 -> 严重"_s)) << out.text().toStdString();
    EXPECT_EQ(monitor.healthHistory().size(), 1);
}

TEST(SystemMonitor, HistoryKeepsTheLastTwentyOldestFirst)
{
    Rig rig;
    SystemMonitor monitor(&rig.info, &rig.random, &rig.clock); // sample 1
    const QDateTime start = rig.clock.now();
    for (int i = 2; i <= 21; ++i) {
        rig.clock.advanceSecs(30);
        monitor.updateSystemHealth();
    }
    const QList<SystemHealth>& history = monitor.healthHistory();
    ASSERT_EQ(history.size(), 20);
    EXPECT_EQ(history.first().timestamp, start.addSecs(30)) << "the first sample is dropped";
    EXPECT_EQ(history.last().timestamp, start.addSecs(600));
}

TEST(SystemMonitor, UnreadableFiguresFallBackWithoutNaN)
{
    Rig rig;
    SystemMonitor monitor(&rig.info, &rig.random, &rig.clock);
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();

    // No load sample: the share of processors online.
    rig.info.load.reset();
    rig.info.activeProcessors = 6;
    EXPECT_DOUBLE_EQ(monitor.getCurrentCPUUsage(), 0.75);

    // Nonsense from the kernel never becomes a NaN figure.
    rig.info.load = nan;
    EXPECT_EQ(monitor.getCurrentCPUUsage(), 0.0);
    rig.info.load = 4.0;
    rig.info.processors = 0;
    EXPECT_EQ(monitor.getCurrentCPUUsage(), 1.0) << "no processor count reads as one processor";

    // Memory: no resident size, or no physical memory, gives a figure between 0.3 and 0.7.
    rig.info.resident.reset();
    rig.random.reals = { 0.42 };
    EXPECT_DOUBLE_EQ(monitor.getCurrentMemoryUsage(), 0.42);
    rig.info.resident = 500;
    rig.info.physical = 0;
    rig.random.reals = { 0.55 };
    EXPECT_DOUBLE_EQ(monitor.getCurrentMemoryUsage(), 0.55);

    // Disk: a volume of size 0 counts as capacity absent; a failed reading is printed.
    rig.info.disk = { 0, 0, {} };
    rig.random.reals = { 0.61 };
    EXPECT_DOUBLE_EQ(monitor.getCurrentDiskUsage(), 0.61);
    rig.info.disk = { 1000, std::nullopt, {} };
    rig.random.reals = { 0.5 };
    EXPECT_DOUBLE_EQ(monitor.getCurrentDiskUsage(), 0.5);
    {
        StdoutCapture out;
        rig.info.disk = { std::nullopt, std::nullopt, u"Permission denied"_s };
        rig.random.reals = { 0.7 };
        EXPECT_DOUBLE_EQ(monitor.getCurrentDiskUsage(), 0.7);
        EXPECT_TRUE(out.text().contains(u"获取磁盘使用率失败: Permission denied"_s));
    }

    // A whole sample from such figures holds numbers only.
    rig.info.load = nan;
    rig.info.disk = { 0, 0, {} };
    rig.random.reals = { nan, nan };
    monitor.updateSystemHealth();
    const SystemHealth& health = monitor.currentHealth();
    EXPECT_FALSE(std::isnan(health.cpuUsage) || std::isnan(health.memoryUsage) || std::isnan(health.diskUsage));
    EXPECT_EQ(health.overallHealth, HealthLevel::excellent);
}

TEST(SystemMonitor, StartSamplesAtOnceAndRunsOneThirtySecondTimer)
{
    Rig rig;
    SystemMonitor monitor(&rig.info, &rig.random, &rig.clock);
    QSignalSpy active(&monitor, &SystemMonitor::isMonitoringActiveChanged);
    StdoutCapture out;
    monitor.startMonitoring();
    monitor.startMonitoring();
    EXPECT_EQ(monitor.healthHistory().size(), 2) << "creation and start each sample once";
    EXPECT_TRUE(monitor.monitorTimer().isActive());
    EXPECT_EQ(monitor.monitorTimer().interval(), 30 * 1000);
    EXPECT_EQ(out.text().count(u"📊 系统监控已启动"_s), 1);

    monitor.stopMonitoring();
    monitor.stopMonitoring();
    EXPECT_FALSE(monitor.monitorTimer().isActive());
    ASSERT_EQ(active.size(), 2) << "one announcement per change of the published flag";
    EXPECT_TRUE(active.at(0).at(0).toBool());
    EXPECT_FALSE(active.at(1).at(0).toBool());
}

TEST(SystemInfo, ReadsThisMachine)
{
    SystemInfo& info = SystemInfo::system();
    EXPECT_GE(info.processorCount(), 1);
    EXPECT_GE(info.activeProcessorCount(), 1);
    EXPECT_GT(info.physicalMemoryBytes(), 0);
    ASSERT_TRUE(info.residentBytes().has_value());
    EXPECT_GT(*info.residentBytes(), 0);
    EXPECT_LT(*info.residentBytes(), info.physicalMemoryBytes());
    ASSERT_TRUE(info.threadCount().has_value());
    EXPECT_GE(*info.threadCount(), 1);
    const SystemInfo::DiskCapacity disk = info.homeVolumeCapacity();
    EXPECT_TRUE(disk.error.isEmpty()) << disk.error.toStdString();
    ASSERT_TRUE(disk.totalBytes && disk.availableBytes);
    EXPECT_GT(*disk.totalBytes, 0);
    EXPECT_LE(*disk.availableBytes, *disk.totalBytes);
    ASSERT_TRUE(info.loadAverage().has_value());
    EXPECT_GE(*info.loadAverage(), 0.0);
}
