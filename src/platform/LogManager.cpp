#include "platform/LogManager.h"

#include <QCoreApplication>
#include <QDir>
#include <QMetaObject>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>

using namespace Qt::StringLiterals;

// Placeholder implementation: standard output and the in-memory list. The batch writer
// comes with the log file work.

LogManager::LogManager()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString folder = base + u"/Tamsel"_s;
    QDir().mkpath(folder);
    m_logFilePath = folder + u"/debug.log"_s;
}

LogManager& LogManager::shared()
{
    static LogManager* instance = new LogManager;
    return *instance;
}

void LogManager::log(const QString& message, const QString& category)
{
    LogEntry entry{QDateTime::currentDateTime(), category, message};
    const QByteArray line = (u"["_s + category + u"] "_s + message + u"\n"_s).toUtf8();
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
    std::fflush(stdout);
    LogManager* self = &shared();
    QMetaObject::invokeMethod(self, [self, entry] { self->append(entry); }, Qt::QueuedConnection);
}

void LogManager::append(const LogEntry& entry)
{
    m_logs.append(entry);
    while (m_logs.size() > maxLogs)
        m_logs.removeFirst();
    m_pendingLogs.append(entry);
}

QString LogManager::getAllLogsText() const { return {}; }
void LogManager::clearLogs() {}
QString LogManager::saveLogsToFile() { return {}; }
QString LogManager::getLogStats() const { return {}; }
void LogManager::flushAndWait() {}
void LogManager::flushPendingLogs() {}
