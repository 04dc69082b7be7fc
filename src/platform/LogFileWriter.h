#pragma once

#include "platform/LogManager.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

/// The one thread that touches the log file. Jobs run strictly in the order they were
/// handed in, so batches never overlap and a clear never races a batch. Handing in a job
/// costs the caller a short lock and no file I/O.
///
/// File errors never stop the program: they are said once through the reporter given at
/// construction, or on standard output without one (again only after a write has succeeded
/// in between); lines that could not be written are kept and tried again with the next
/// batch, and nothing already on disk is destroyed.
class LogFileWriter final
{
public:
    /// When the file would pass this size, it becomes "<name>.1" and a new file starts; a
    /// batch that does not fit is split at a line end to fill the file first.
    static constexpr qint64 rotateBytes = 10 * 1024 * 1024;
    /// Lines kept for retrying while the file cannot be written; older ones give way.
    static constexpr qint64 maxUnwrittenBytes = 1024 * 1024;

    /// @p report is called on the writer's thread (or in this constructor) with a line
    /// describing a file error.
    explicit LogFileWriter(const QString& filePath, std::function<void(const QString&)> report = {});
    /// Finishes every job handed in, then stops the thread.
    ~LogFileWriter();
    LogFileWriter(const LogFileWriter&) = delete;
    LogFileWriter& operator=(const LogFileWriter&) = delete;

    void append(QList<LogManager::LogEntry> entries);
    /// Empties the file (atomically); lines appended afterwards start it anew.
    void clear();
    /// Blocks until every job handed in before this call has finished.
    void waitUntilIdle();

private:
    void post(std::function<void()> job);
    void run();
    void writeBatch(const QByteArray& text);
    /// How much of @p data from @p from goes into the file next; rotates the file when it is full.
    qsizetype nextChunk(const QByteArray& data, qsizetype from);
    bool appendToFile(QByteArrayView bytes);
    void keepForLater(QByteArray data);
    bool rotate();
    void emptyFile();
    bool ensureFolder();
    void reportFailure(const QString& what);
    void say(const QString& line) const;

    const QString m_filePath;
    const std::function<void(const QString&)> m_report;
    // Worker-only state.
    QByteArray m_unwritten;
    bool m_failureReported = false;
    bool m_rotateFailureReported = false;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_jobs;
    bool m_stopping = false;
    std::thread m_thread;
};
