#pragma once

#include "platform/SystemInfo.h"

#include <optional>

/// What this program uses of the machine, as the resource view shows it.
struct ResourceUsage
{
    /// Processor load in percent of one processor, 0 to 100.
    double cpu = 0.0;
    /// Resident memory as a percentage of the machine's physical memory.
    double memory = 0.0;
    /// Resident memory in megabytes of 1,048,576 bytes.
    double memoryMB = 0.0;
};

/// Samples this program's own processor and memory use. The processor figure of a
/// sample is the load since the sampler's previous sample; the first sample gives the
/// average since the program started.
class ProcessUsageSampler
{
public:
    explicit ProcessUsageSampler(SystemInfo& info)
        : m_info(info)
    {
    }

    [[nodiscard]] ResourceUsage getAppResourceUsage();
    /// Forgets the previous sample, so the next one averages over the program's life.
    void reset() { m_previous.reset(); }

private:
    /// The processor load since the previous sample, from the kernel's own counters for
    /// this process: no outside process is run.
    [[nodiscard]] double getCPUUsageFromPS();

    SystemInfo& m_info;
    std::optional<SystemInfo::ProcessTimes> m_previous;
};

/// How alarming a figure is; the resource view colours values and its meter by it.
enum class UsageBand { green, blue, orange, red };

namespace ResourceFigures {

/// Below 10, 30, 60 percent: green, blue, orange; red from 60 on.
[[nodiscard]] UsageBand cpuBand(double percent);
/// Below 50, 100, 200 MB: green, blue, orange; red from 200 on.
[[nodiscard]] UsageBand memoryBand(double megabytes);
/// The meter's five bars: bar i (0 to 4) is lit when i × 20 is below the figure.
[[nodiscard]] int litBars(double percent);

} // namespace ResourceFigures
