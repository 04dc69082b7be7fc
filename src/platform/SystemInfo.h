#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <optional>

/// Figures about the machine and this process, read from Linux itself. Every reader is
/// virtual so the load monitor can be driven with chosen figures.
class SystemInfo
{
public:
    /// The home folder's volume. A capacity is absent when it could not be read;
    /// `error` says why when the reading failed altogether.
    struct DiskCapacity
    {
        std::optional<qint64> totalBytes;
        std::optional<qint64> availableBytes;
        QString error;
    };

    /// Processor time this program has used and how long it has been running, both in
    /// seconds; the difference of two readings gives the load between them.
    struct ProcessTimes
    {
        double cpuSeconds = 0.0;
        double runningSeconds = 0.0;
    };

    SystemInfo() = default;
    virtual ~SystemInfo() = default;
    SystemInfo(const SystemInfo&) = delete;
    SystemInfo& operator=(const SystemInfo&) = delete;

    static SystemInfo& system();

    /// The one-minute load average; none when the kernel gives no sample.
    [[nodiscard]] virtual std::optional<double> loadAverage() const;
    /// Processors the machine has, and those online now.
    [[nodiscard]] virtual int processorCount() const;
    [[nodiscard]] virtual int activeProcessorCount() const;
    /// Physical memory in bytes; 0 when unknown.
    [[nodiscard]] virtual qint64 physicalMemoryBytes() const;
    /// This program's resident size in bytes, from /proc/self/statm.
    [[nodiscard]] virtual std::optional<qint64> residentBytes() const;
    /// This program's thread count, from /proc/self/status.
    [[nodiscard]] virtual std::optional<int> threadCount() const;
    /// Total and available capacity of the volume that holds the home folder.
    [[nodiscard]] virtual DiskCapacity homeVolumeCapacity() const;
    /// From /proc/self/stat and /proc/uptime.
    [[nodiscard]] virtual std::optional<ProcessTimes> processTimes() const;

    /// Reads the texts of /proc/<pid>/stat and /proc/uptime; none when either is malformed.
    [[nodiscard]] static std::optional<ProcessTimes> parseProcessTimes(
        const QByteArray& stat, const QByteArray& uptime, double ticksPerSecond);
};
