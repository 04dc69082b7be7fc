#pragma once

#include "platform/SystemInfo.h"

/// Figures chosen by the test. Fractions are given directly: 8 processors, 1000 bytes of
/// memory and disk, so setFigures(0.2, 0.4, 0.69) means exactly those fractions.
class FakeSystemInfo final : public SystemInfo
{
public:
    std::optional<double> load = 0.0;
    int processors = 8;
    int activeProcessors = 8;
    qint64 physical = 1000;
    std::optional<qint64> resident = 0;
    DiskCapacity disk { 1000, 1000, {} };
    std::optional<ProcessTimes> times = ProcessTimes { 0.0, 1.0 };
    mutable int timesRead = 0;

    void setFigures(double cpu, double memory, double diskUsed)
    {
        load = cpu * processors;
        resident = static_cast<qint64>(memory * static_cast<double>(physical) + 0.5);
        disk = { 1000, 1000 - static_cast<qint64>(diskUsed * 1000.0 + 0.5), {} };
    }

    std::optional<double> loadAverage() const override { return load; }
    int processorCount() const override { return processors; }
    int activeProcessorCount() const override { return activeProcessors; }
    qint64 physicalMemoryBytes() const override { return physical; }
    std::optional<qint64> residentBytes() const override { return resident; }
    std::optional<int> threadCount() const override { return 1; }
    DiskCapacity homeVolumeCapacity() const override { return disk; }
    std::optional<ProcessTimes> processTimes() const override
    {
        ++timesRead;
        return times;
    }
};
