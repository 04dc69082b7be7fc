#include "platform/LogFileWriter.h"

#include "platform/StandardOutput.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <filesystem>
#include <future>
#include <system_error>
#include <utility>

using namespace Qt::StringLiterals;

LogFileWriter::LogFileWriter(const QString& filePath, std::function<void(const QString&)> report)
    : m_filePath(filePath)
    , m_report(std::move(report))
{
    // Created before the thread starts, so the folder exists as soon as the logger does.
    ensureFolder();
    m_thread = std::thread([this] { run(); });
}

LogFileWriter::~LogFileWriter()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void LogFileWriter::append(QList<LogManager::LogEntry> entries)
{
    post([this, entries = std::move(entries)] {
        QString text;
        for (const auto& entry : entries)
            text += LogManager::formatLine(entry) + u'\n';
        writeBatch(text.toUtf8());
    });
}

void LogFileWriter::clear()
{
    post([this] { emptyFile(); });
}

void LogFileWriter::waitUntilIdle()
{
    std::promise<void> done;
    std::future<void> finished = done.get_future();
    post([&done] { done.set_value(); });
    finished.wait();
}

void LogFileWriter::post(std::function<void()> job)
{
    {
        const std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_one();
}

void LogFileWriter::run()
{
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
            if (m_jobs.empty())
                return; // stopping, and everything handed in is done
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
        }
        job();
    }
}

void LogFileWriter::writeBatch(const QByteArray& text)
{
    QByteArray data = m_unwritten + text;
    m_unwritten.clear();
    for (qsizetype done = 0; done < data.size();) {
        const qsizetype chunk = nextChunk(data, done);
        if (!appendToFile(QByteArrayView(data).sliced(done, chunk))) {
            data.remove(0, done);
            keepForLater(std::move(data));
            return;
        }
        done += chunk;
    }
}

qsizetype LogFileWriter::nextChunk(const QByteArray& data, qsizetype from)
{
    const qsizetype rest = data.size() - from;
    const QFileInfo info(m_filePath);
    const qint64 size = info.isFile() ? info.size() : 0;
    if (size + rest <= rotateBytes)
        return rest;
    // A batch bigger than the room left is split at line ends: the file is filled up to the
    // limit with whole lines, and the rest starts the next one. So each generation holds as
    // much as it may, never one batch or one line.
    if (size > 0) {
        const qsizetype room = rotateBytes - size;
        const qsizetype end = room > 0 ? data.lastIndexOf('\n', from + room - 1) : -1;
        if (end >= from)
            return end + 1 - from;
        if (!rotate())
            return rest; // appending to the full file still keeps the lines
    }
    const qsizetype end = data.lastIndexOf('\n', from + rotateBytes - 1);
    if (end >= from)
        return end + 1 - from;
    const qsizetype lineEnd = data.indexOf('\n', from); // one line longer than a whole file
    return lineEnd < 0 ? rest : lineEnd + 1 - from;
}

bool LogFileWriter::appendToFile(QByteArrayView bytes)
{
    if (!QFileInfo::exists(m_filePath))
        ensureFolder();
    QFile file(m_filePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        reportFailure(file.errorString());
        return false;
    }
    const qint64 before = file.size();
    if (file.write(bytes.data(), bytes.size()) == bytes.size()) {
        m_failureReported = false;
        return true;
    }
    reportFailure(file.errorString());
    // Take back a partial append so the retry does not leave half a batch twice.
    file.resize(before);
    return false;
}

void LogFileWriter::keepForLater(QByteArray data)
{
    // Dropping the oldest whole lines beyond the bound.
    if (data.size() > maxUnwrittenBytes) {
        const qsizetype cut = data.indexOf('\n', data.size() - maxUnwrittenBytes);
        data = cut < 0 ? QByteArray() : data.mid(cut + 1);
    }
    m_unwritten = std::move(data);
}

bool LogFileWriter::rotate()
{
    // rename() replaces the older generation in one step, so there is always one of them.
    std::error_code error;
    std::filesystem::rename(
        QFile::encodeName(m_filePath).toStdString(), QFile::encodeName(m_filePath + u".1"_s).toStdString(), error);
    // Said once only: appending to the full file still works, so no success would end the fault.
    if (error && !m_rotateFailureReported) {
        m_rotateFailureReported = true;
        say(u"⚠️ 日志文件轮换失败: "_s + m_filePath + u" ("_s + QString::fromStdString(error.message())
            + u")"_s);
    }
    return !error;
}

void LogFileWriter::emptyFile()
{
    ensureFolder();
    QSaveFile file(m_filePath);
    if (file.open(QIODevice::WriteOnly) && file.commit())
        m_failureReported = false;
    else
        reportFailure(file.errorString());
}

bool LogFileWriter::ensureFolder()
{
    const QString folder = QFileInfo(m_filePath).absolutePath();
    if (QDir().mkpath(folder))
        return true;
    if (!m_failureReported) {
        m_failureReported = true;
        say(u"⚠️ 无法创建日志文件夹: "_s + folder);
    }
    return false;
}

void LogFileWriter::reportFailure(const QString& what)
{
    if (m_failureReported)
        return;
    m_failureReported = true;
    say(u"⚠️ 日志文件写入失败: "_s + m_filePath + u" ("_s + what + u")"_s);
}

void LogFileWriter::say(const QString& line) const
{
    if (m_report)
        m_report(line);
    else
        StandardOutput::printLine(line);
}
