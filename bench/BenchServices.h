#pragma once

#include "core/EventCenter.h"
#include "platform/LogManager.h"
#include "platform/SharedInstance.h"

#include <QString>

/// The program-wide services a benchmark's managers log and post through, installed for
/// the benchmark's lifetime as the composition root would install them.
struct BenchServices
{
    explicit BenchServices(const QString& logFolder)
        : log(logFolder)
    {
    }

    LogManager log;
    EventCenter events;
    ScopedSharedInstance<LogManager> logScope { log };
    ScopedSharedInstance<EventCenter> eventsScope { events };
};
