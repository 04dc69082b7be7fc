#include "platform/MemoryRelease.h"

#include <QCoreApplication>
#include <QTimer>

#include <malloc.h>

namespace {

constexpr int frameBytes = 128 * 128 * 4;
constexpr int trimDelayMs = 1000;
bool trimPending = false;

} // namespace

void MemoryRelease::configureAllocator()
{
    mallopt(M_MMAP_THRESHOLD, frameBytes);
}

void MemoryRelease::trimSoon()
{
    if (trimPending || !QCoreApplication::instance())
        return;
    trimPending = true;
    QTimer::singleShot(trimDelayMs, QCoreApplication::instance(), [] {
        trimPending = false;
        malloc_trim(0);
    });
}
