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
    if (data.isEmpty())
        return;

    rotateIfFull(data.size());
    if (!QFileInfo::exists(m_filePath))
        ensureFolder();

    QFile file(m_filePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        reportFailure(file.errorString());
    } else {
        const qint64 before = file.size();
        if (file.write(data) == data.size()) {
            m_failureReported = false;
            return;
        }
        reportFailure(file.errorString());
        // Take back a partial append so the retry does not leave half a batch twice.
        file.resize(before);
    }

    // Keep the lines for the next batch, dropping the oldest whole lines beyond the bound.
    if (data.size() > maxUnwrittenBytes) {
        const qsizetype cut = data.indexOf('\n', data.size() - maxUnwrittenBytes);
        data = cut < 0 ? QByteArray() : data.mid(cut + 1);
    }
    m_unwritten = data;
}

void LogFileWriter::rotateIfFull(qint64 incomingBytes)
{
    const QFileInfo info(m_filePath);
    if (!info.isFile() || info.size() == 0 || info.size() + incomingBytes <= rotateBytes)
        return;
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
