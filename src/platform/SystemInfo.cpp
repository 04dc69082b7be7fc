#include "platform/SystemInfo.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/statvfs.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

qint64 pageSize()
{
    const long size = sysconf(_SC_PAGESIZE);
    return size > 0 ? size : 4096;
}

QByteArray readProcFile(const char* path)
{
    // /proc files report a size of 0, so read until the end rather than by size.
    QFile file(QString::fromLatin1(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace

SystemInfo& SystemInfo::system()
{
    static SystemInfo* instance = new SystemInfo;
    return *instance;
}

std::optional<double> SystemInfo::loadAverage() const
{
    double samples[3] = { 0.0, 0.0, 0.0 };
    if (getloadavg(samples, 3) < 1)
        return std::nullopt;
    return samples[0];
}

int SystemInfo::processorCount() const
{
    const long count = sysconf(_SC_NPROCESSORS_CONF);
    return count > 0 ? static_cast<int>(count) : 1;
}

int SystemInfo::activeProcessorCount() const
{
    const long count = sysconf(_SC_NPROCESSORS_ONLN);
    return count > 0 ? static_cast<int>(count) : 1;
}

qint64 SystemInfo::physicalMemoryBytes() const
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    return pages > 0 ? static_cast<qint64>(pages) * pageSize() : 0;
}

std::optional<qint64> SystemInfo::residentBytes() const
{
    // "size resident shared text lib data dt", counted in pages.
    const QList<QByteArray> fields = readProcFile("/proc/self/statm").simplified().split(' ');
    if (fields.size() < 2)
        return std::nullopt;
    bool ok = false;
    const qint64 pages = fields.at(1).toLongLong(&ok);
    if (!ok || pages < 0)
        return std::nullopt;
    return pages * pageSize();
}

std::optional<int> SystemInfo::threadCount() const
{
    const QList<QByteArray> lines = readProcFile("/proc/self/status").split('\n');
    for (const QByteArray& line : lines) {
        if (!line.startsWith("Threads:"))
            continue;
        bool ok = false;
        const int count = line.mid(8).trimmed().toInt(&ok);
        if (ok && count > 0)
            return count;
        return std::nullopt;
    }
    return std::nullopt;
}

SystemInfo::DiskCapacity SystemInfo::homeVolumeCapacity() const
{
    struct statvfs fs
    {
    };
    const QByteArray home = QFile::encodeName(QDir::homePath());
    if (statvfs(home.constData(), &fs) != 0)
        return { std::nullopt, std::nullopt, QString::fromLocal8Bit(std::strerror(errno)) };
    const qint64 unit = fs.f_frsize > 0 ? static_cast<qint64>(fs.f_frsize) : static_cast<qint64>(fs.f_bsize);
    // What an ordinary user can still write, as a file manager reports "free space".
    return { static_cast<qint64>(fs.f_blocks) * unit, static_cast<qint64>(fs.f_bavail) * unit, {} };
}

std::optional<SystemInfo::ProcessTimes> SystemInfo::processTimes() const
{
    const long ticks = sysconf(_SC_CLK_TCK);
    return parseProcessTimes(
        readProcFile("/proc/self/stat"), readProcFile("/proc/uptime"), ticks > 0 ? static_cast<double>(ticks) : 100.0);
}

std::optional<SystemInfo::ProcessTimes> SystemInfo::parseProcessTimes(
    const QByteArray& stat, const QByteArray& uptime, double ticksPerSecond)
{
    // The command name in parentheses may itself hold blanks and ")", so the fields are
    // counted from the last ")": the state is field 3, utime 14, stime 15, starttime 22.
    const qsizetype close = stat.lastIndexOf(')');
    if (close < 0 || ticksPerSecond <= 0.0)
        return std::nullopt;
    const QList<QByteArray> fields = stat.mid(close + 1).simplified().split(' ');
    const auto field = [&](int number, bool* ok) { return fields.value(number - 3).toULongLong(ok); };
    bool okUser = false, okSystem = false, okStart = false, okUptime = false;
    const quint64 user = field(14, &okUser);
    const quint64 system = field(15, &okSystem);
    const quint64 start = field(22, &okStart);
    const double up = uptime.simplified().split(' ').value(0).toDouble(&okUptime);
    if (!okUser || !okSystem || !okStart || !okUptime)
        return std::nullopt;
    const double cpu = static_cast<double>(user + system) / ticksPerSecond;
    const double running = up - static_cast<double>(start) / ticksPerSecond;
    return ProcessTimes { cpu, std::max(running, 0.0) };
}
