#include "LogLines.h"

#include "platform/LogManager.h"

#include <QCoreApplication>

QStringList loggedMessages(const QString& category)
{
    QCoreApplication::processEvents();
    QStringList messages;
    for (const LogManager::LogEntry& entry : LogManager::shared().logs()) {
        if (entry.category == category)
            messages.append(entry.message);
    }
    return messages;
}
