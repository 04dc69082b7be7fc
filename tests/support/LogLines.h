#pragma once

#include "platform/LogManager.h"

#include <QCoreApplication>
#include <QStringList>

/// The program-log messages of one category so far. The log takes lines in through the
/// event queue; only those queued calls run here, no timers.
inline QStringList loggedLines(const QString& category)
{
    QCoreApplication::sendPostedEvents(&LogManager::shared(), QEvent::MetaCall);
    QStringList lines;
    for (const LogManager::LogEntry& entry : LogManager::shared().logs()) {
        if (entry.category == category)
            lines.append(entry.message);
    }
    return lines;
}
