#include "platform/SystemInfo.h"

#include <QDir>
#include <QFile>

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
