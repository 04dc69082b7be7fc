#include "preferences/ProcessUsageSampler.h"

#include <algorithm>

ResourceUsage ProcessUsageSampler::getAppResourceUsage()
{
    ResourceUsage usage;
    usage.cpu = getCPUUsageFromPS();
    if (const std::optional<qint64> resident = m_info.residentBytes(); resident && *resident > 0) {
        const auto bytes = static_cast<double>(*resident);
        usage.memoryMB = bytes / (1024.0 * 1024.0);
        const qint64 physical = m_info.physicalMemoryBytes();
        usage.memory = physical > 0 ? bytes / static_cast<double>(physical) * 100.0 : 0.0;
    }
    return usage;
}

double ProcessUsageSampler::getCPUUsageFromPS()
{
    const std::optional<SystemInfo::ProcessTimes> now = m_info.processTimes();
    if (!now)
        return 0.0;
    double cpu = now->cpuSeconds;
    double elapsed = now->runningSeconds;
    if (m_previous && now->runningSeconds > m_previous->runningSeconds) {
        cpu -= m_previous->cpuSeconds;
        elapsed -= m_previous->runningSeconds;
    }
    m_previous = now;
    if (elapsed <= 0.0)
        return 0.0;
    // Several busy threads can add up to more than one processor; the view shows at most 100.
    return std::clamp(cpu / elapsed * 100.0, 0.0, 100.0);
}

namespace ResourceFigures {

UsageBand cpuBand(double percent)
{
    if (percent < 10.0)
        return UsageBand::green;
    if (percent < 30.0)
        return UsageBand::blue;
    if (percent < 60.0)
        return UsageBand::orange;
    return UsageBand::red;
}

UsageBand memoryBand(double megabytes)
{
    if (megabytes < 50.0)
        return UsageBand::green;
    if (megabytes < 100.0)
        return UsageBand::blue;
    if (megabytes < 200.0)
        return UsageBand::orange;
    return UsageBand::red;
}

int litBars(double percent)
{
    int lit = 0;
    for (int i = 0; i < 5; ++i)
        lit += i * 20 < percent ? 1 : 0;
    return lit;
}

} // namespace ResourceFigures
