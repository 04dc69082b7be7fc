#include "shell/SystemMonitor.h"

#include "core/EventCenter.h"
#include "platform/Clock.h"
#include "platform/RandomSource.h"
#include "platform/StandardOutput.h"
#include "platform/SystemInfo.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

/// Into [0, 1]; anything that is not a number (a reader dividing by a zero it was given)
/// reads as 0, so no NaN reaches a level, a threshold or a printed figure.
double clampFraction(double value)
{
    if (!(value > 0.0))
        return 0.0;
    return std::min(value, 1.0);
}

} // namespace

SystemMonitor::SystemMonitor(SystemInfo* info, RandomSource* random, Clock* clock, QObject* parent)
    : QObject(parent)
    , m_info(info ? *info : SystemInfo::system())
    , m_random(random ? *random : RandomSource::system())
    , m_clock(clock ? *clock : Clock::system())
    , m_currentHealth { 0.0, 0.0, 0.0, HealthLevel::excellent, m_clock.now() }
{
    m_monitorTimer.setInterval(updateIntervalMs);
    m_monitorTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_monitorTimer, &QTimer::timeout, this, &SystemMonitor::updateSystemHealth);
    updateSystemHealth();
}

// Freed at quit, it goes quietly: its timer ends with it, and stopping is said only when
// someone stops it.
SystemMonitor::~SystemMonitor() = default;

double SystemMonitor::getCurrentCPUUsage() const
{
    const int processors = std::max(1, m_info.processorCount());
    const std::optional<double> load = m_info.loadAverage();
    if (!load)
        return clampFraction(static_cast<double>(m_info.activeProcessorCount()) / processors);
    return clampFraction(*load / processors);
}

double SystemMonitor::getCurrentMemoryUsage() const
{
    // The program's own footprint against the machine's memory, not the machine's use.
    const std::optional<qint64> resident = m_info.residentBytes();
    const qint64 physical = m_info.physicalMemoryBytes();
    if (!resident || *resident < 0 || physical <= 0)
        return m_random.uniformReal(0.3, 0.7);
    return static_cast<double>(*resident) / static_cast<double>(physical);
}

double SystemMonitor::getCurrentDiskUsage() const
{
    const SystemInfo::DiskCapacity capacity = m_info.homeVolumeCapacity();
    if (!capacity.error.isEmpty()) {
        StandardOutput::printLine(u"获取磁盘使用率失败: "_s + capacity.error);
        return m_random.uniformReal(0.4, 0.8);
    }
    // A volume reporting no size at all has no usable capacity: treat it as absent.
    if (!capacity.totalBytes || !capacity.availableBytes || *capacity.totalBytes <= 0)
        return m_random.uniformReal(0.4, 0.8);
    const double total = static_cast<double>(*capacity.totalBytes);
    return (total - static_cast<double>(*capacity.availableBytes)) / total;
}

void SystemMonitor::updateSystemHealth()
{
    const double cpu = clampFraction(getCurrentCPUUsage());
    const double memory = clampFraction(getCurrentMemoryUsage());
    const double disk = clampFraction(getCurrentDiskUsage());
    const SystemHealth newHealth = SystemHealth::fromFigures(cpu, memory, disk, m_clock.now());

    const SystemHealth oldHealth = m_currentHealth;
    m_currentHealth = newHealth;
    Q_EMIT currentHealthChanged(newHealth);

    if (m_healthHistory.size() >= maxHistoryCount)
        m_healthHistory.removeFirst();
    m_healthHistory.append(newHealth);

    if (newHealth.overallHealth != oldHealth.overallHealth) {
        StandardOutput::printLine(u"📊 系统健康度变化: "_s + displayName(oldHealth.overallHealth) + u" -> "_s
            + displayName(newHealth.overallHealth));
        Q_EMIT EventCenter::shared().systemHealthDidChange(oldHealth, newHealth);
    }
    if (newHealth.overallHealth == HealthLevel::critical && oldHealth.overallHealth != HealthLevel::critical)
        Q_EMIT EventCenter::shared().systemHealthCritical(newHealth);
}

void SystemMonitor::startMonitoring()
{
    if (m_isMonitoringActive)
        return;
    m_isMonitoringActive = true;
    Q_EMIT isMonitoringActiveChanged(true);
    updateSystemHealth();
    m_monitorTimer.start();
    StandardOutput::printLine(u"📊 系统监控已启动"_s);
}

void SystemMonitor::stopMonitoring()
{
    if (!m_isMonitoringActive)
        return;
    m_isMonitoringActive = false;
    Q_EMIT isMonitoringActiveChanged(false);
    m_monitorTimer.stop();
    StandardOutput::printLine(u"📊 系统监控已停止"_s);
}
