#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

/// The program-wide log: echoes each line to standard output at once, keeps the newest
/// lines in memory for the log window, and appends them to debug.log in batches.
class LogManager final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LogManager)

public:
    struct LogEntry
    {
        QDateTime timestamp;
        QString category;
        QString message;
    };

    static constexpr int maxLogs = 500;

    static LogManager& shared();

    /// Callable from any thread; never touches the disk in the caller's thread.
    static void log(const QString& message, const QString& category);

    [[nodiscard]] QList<LogEntry> logs() const { return m_logs; }
    [[nodiscard]] QString getAllLogsText() const;
    void clearLogs();
    [[nodiscard]] QString saveLogsToFile();
    [[nodiscard]] QString getLogStats() const;
    [[nodiscard]] QString logFilePath() const { return m_logFilePath; }

    /// Hands the pending lines to the writer and waits until they are on disk (used at quit).
    void flushAndWait();

private:
    LogManager();
    void append(const LogEntry& entry);
    void flushPendingLogs();

    QList<LogEntry> m_logs;
    QList<LogEntry> m_pendingLogs;
    QString m_logFilePath;
};
