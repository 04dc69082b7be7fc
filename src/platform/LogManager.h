#pragma once

#include "platform/SharedInstance.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QStringView>
#include <QTimer>

#include <memory>

class Clock;
class LogFileWriter;

/// The program-wide log: echoes each line to standard output at once, keeps the newest
/// lines in memory for the log window, and appends them to debug.log in batches written
/// by one serial worker thread.
///
/// Every line is kept as logged, repeats included. Whatever callers hand in, what the log
/// holds stays bounded: a line carries at most maxLineBytes of its message, the list keeps
/// the newest maxLogs, and the file writer starts a new file past its size limit.
class LogManager final : public QObject, public SharedInstance<LogManager>
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

    /// Writes the time of a log line: the time of day in the local time zone, without the date.
    struct DateFormatter
    {
        QStringView dateFormat;
        [[nodiscard]] QString string(const QDateTime& date) const { return date.toLocalTime().toString(dateFormat); }
    };

    static constexpr int maxLogs = 500;
    static constexpr int batchIntervalMs = 3000;
    /// The most of a message one line carries, in UTF-8 bytes; the rest is cut off.
    static constexpr qsizetype maxLineBytes = 4096;
    /// Lines waiting for the batch are handed to the writer early past this size.
    static constexpr qsizetype maxPendingBytes = 1024 * 1024;

    /// A logger writing "debug.log" into @p folder every @p intervalMs, reading the time
    /// from @p clock (the system's when none). The program uses shared(); other instances
    /// exist for tests and benchmarks.
    explicit LogManager(const QString& folder, int intervalMs = batchIntervalMs, const Clock* clock = nullptr,
        QObject* parent = nullptr);
    ~LogManager() override;

    /// The folder of the program's log file: "Tamsel" in the user's data folder.
    [[nodiscard]] static QString defaultFolder();

    /// Callable from any thread; never touches the disk in the caller's thread.
    static void log(const QString& message, const QString& category);
    /// What log() does, on this instance.
    void record(const QString& message, const QString& category);

    /// @p text cut to at most @p maxBytes of UTF-8 (never inside a character) and followed by
    /// "…(共 N 字节)" with its whole size; unchanged when it fits.
    [[nodiscard]] static QString abbreviated(const QString& text, qsizetype maxBytes = maxLineBytes);
    /// The same for UTF-8 text, converting only what is kept.
    [[nodiscard]] static QString abbreviatedUtf8(QByteArrayView utf8, qsizetype maxBytes = maxLineBytes);

    /// Shared by every thread that formats lines, the file writer's included.
    static constexpr DateFormatter dateFormatter { u"HH:mm:ss.zzz" };

    /// "[HH:mm:ss.SSS] [category] message", without a line feed.
    [[nodiscard]] static QString formatLine(const LogEntry& entry);

    [[nodiscard]] QList<LogEntry> logs() const { return m_logs; }
    [[nodiscard]] QString getAllLogsText() const;
    void clearLogs();
    /// Writes the in-memory lines to a new file on the Desktop; returns its path, or an
    /// empty string when there is no Desktop folder or the write failed.
    [[nodiscard]] QString saveLogsToFile();
    [[nodiscard]] QString getLogStats() const;
    [[nodiscard]] QString logFilePath() const { return m_logFileURL; }

    /// Hands the pending lines to the file writer without waiting (what the batch timer does).
    void flushPendingLogs();
    /// Takes in the lines queued so far, hands them to the writer and waits until they are
    /// on disk. Called on the main thread at quit.
    void flushAndWait();

private:
    /// (Re)starts the repeating timer that hands the pending lines to the file writer.
    void startBatchWriteTimer();
    void append(const LogEntry& entry);
    [[nodiscard]] QDateTime now() const;

    const Clock* m_clock; // null: the system clock
    QList<LogEntry> m_logs;
    QList<LogEntry> m_pendingLogs;
    qsizetype m_pendingBytes = 0;
    // Held while a line is echoed and queued, so standard output and the list see the lines
    // of all threads in one order.
    QMutex m_orderMutex;
    // The file's path is told with the first line, not when the logger is made.
    bool m_pathAnnounced = false;
    QString m_logFileURL;
    QTimer m_writeTimer;
    std::unique_ptr<LogFileWriter> m_writer;
};
