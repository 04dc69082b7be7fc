#include "platform/LogManager.h"

#include "platform/Clock.h"
#include "platform/LogFileWriter.h"
#include "platform/StandardOutput.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QMetaObject>
#include <QSaveFile>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>
#include <map>
#include <utility>

using namespace Qt::StringLiterals;

LogManager::LogManager(const QString& folder, int intervalMs, const Clock* clock, QObject* parent)
    : QObject(parent)
    , m_clock(clock)
    , m_logFileURL(folder + u"/debug.log"_s)
    , m_writeTimer(this)
    // A file problem is said in the log itself, so the log window shows it too.
    , m_writer(std::make_unique<LogFileWriter>(
          m_logFileURL, [this](const QString& problem) { record(problem, u"System"_s); }))
{
    m_writeTimer.setInterval(std::max(0, intervalMs));
    m_writeTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_writeTimer, &QTimer::timeout, this, &LogManager::flushPendingLogs);
    startBatchWriteTimer();
}

void LogManager::startBatchWriteTimer()
{
    // The first log call may come before the application's event loop exists, or from a
    // thread without one; the timer then starts once the event loop runs.
    if (QAbstractEventDispatcher::instance())
        m_writeTimer.start();
    else
        QMetaObject::invokeMethod(
            this, [this] { m_writeTimer.start(); }, Qt::QueuedConnection);
}

LogManager::~LogManager()
{
    m_writeTimer.stop();
    flushPendingLogs();
    m_writer.reset(); // finishes the jobs handed in
}

QString LogManager::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u"/Tamsel"_s;
}

void LogManager::log(const QString& message, const QString& category)
{
    shared().record(message, category);
}

void LogManager::record(const QString& message, const QString& category)
{
    // The system's time is taken in UTC: reading local time asks the C library to look at the
    // time-zone file on every call. Lines are turned into local time when they are formatted.
    const QDateTime time = m_clock ? m_clock->now() : QDateTime::currentDateTimeUtc();
    LogEntry entry { time, category, abbreviated(message) };
    const QMutexLocker lock(&m_orderMutex);
    // The log is made before anything has to be said, so its path comes with the first line,
    // where a program whose log came into being at its first line would say it.
    if (!std::exchange(m_pathAnnounced, true))
        StandardOutput::printLine(u"📝 日志文件路径: "_s + m_logFileURL);
    StandardOutput::printLine(u"["_s + entry.category + u"] "_s + entry.message);
    QMetaObject::invokeMethod(
        this, [this, entry = std::move(entry)] { append(entry); }, Qt::QueuedConnection);
}

namespace {

/// How many UTF-16 units of @p text fit into @p maxBytes of UTF-8, and its whole UTF-8 size.
std::pair<qsizetype, qsizetype> utf8Fit(QStringView text, qsizetype maxBytes)
{
    qsizetype bytes = 0;
    qsizetype fit = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        // A surrogate pair is four bytes, two for each half.
        const qsizetype size = c < 0x80 ? 1 : c < 0x800 || QChar::isSurrogate(c) ? 2 : 3;
        if (fit < 0 && bytes + size > maxBytes)
            fit = QChar::isLowSurrogate(c) && i > 0 ? i - 1 : i;
        bytes += size;
    }
    return { fit < 0 ? text.size() : fit, bytes };
}

QString withTotal(QString kept, qsizetype totalBytes)
{
    return kept + u"…(共 "_s + QString::number(totalBytes) + u" 字节)"_s;
}

} // namespace

QString LogManager::abbreviated(const QString& text, qsizetype maxBytes)
{
    // Three bytes per UTF-16 unit at most: most lines are decided here without counting.
    if (text.size() * 3 <= maxBytes)
        return text;
    const auto [fit, totalBytes] = utf8Fit(text, maxBytes);
    return totalBytes <= maxBytes ? text : withTotal(text.first(fit), totalBytes);
}

QString LogManager::abbreviatedUtf8(QByteArrayView utf8, qsizetype maxBytes)
{
    if (utf8.size() <= maxBytes)
        return QString::fromUtf8(utf8);
    qsizetype cut = maxBytes;
    while (cut > 0 && (static_cast<uchar>(utf8[cut]) & 0xC0) == 0x80)
        --cut; // back to the first byte of the character that does not fit
    return withTotal(QString::fromUtf8(utf8.first(cut)), utf8.size());
}

QString LogManager::formatLine(const LogEntry& entry)
{
    return u"["_s + dateFormatter.string(entry.timestamp) + u"] ["_s + entry.category + u"] "_s + entry.message;
}

void LogManager::append(const LogEntry& entry)
{
    m_logs.append(entry);
    if (m_logs.size() > maxLogs)
        m_logs.remove(0, m_logs.size() - maxLogs);
    m_pendingLogs.append(entry);
    m_pendingBytes += entry.message.size() + entry.category.size();
    // A flood of lines does not wait for the timer in memory.
    if (m_pendingBytes > maxPendingBytes)
        flushPendingLogs();
}

void LogManager::flushPendingLogs()
{
    if (m_pendingLogs.isEmpty())
        return;
    m_pendingBytes = 0;
    m_writer->append(std::exchange(m_pendingLogs, {}));
}

void LogManager::flushAndWait()
{
    // Lines logged just before quitting may still wait in the event queue.
    if (QThread::currentThread() == thread())
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    flushPendingLogs();
    m_writer->waitUntilIdle();
}

QString LogManager::getAllLogsText() const
{
    QStringList lines;
    lines.reserve(m_logs.size());
    for (const auto& entry : m_logs)
        lines.append(formatLine(entry));
    return lines.join(u'\n');
}

void LogManager::clearLogs()
{
    m_logs.clear();
    // Through the writer, behind any batch already handed in; pending lines follow later.
    m_writer->clear();
    record(u"日志已清空"_s, u"System"_s);
}

QString LogManager::saveLogsToFile()
{
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (desktop.isEmpty())
        return {};
    const QString path = desktop + u"/Tamsel_日志_"_s + now().toString(u"yyyyMMdd_HHmmss"_s) + u".txt"_s;
    QSaveFile file(path);
    const QByteArray bytes = getAllLogsText().toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        StandardOutput::printLine(u"保存日志失败: "_s + file.errorString());
        return {};
    }
    return path;
}

QDateTime LogManager::now() const
{
    return m_clock ? m_clock->now() : QDateTime::currentDateTime();
}

QString LogManager::getLogStats() const
{
    std::map<QString, int> perCategory;
    for (const auto& entry : m_logs)
        ++perCategory[entry.category];
    QString text = u"日志统计:\n总条数: "_s + QString::number(m_logs.size()) + u"\n分类数: "_s
        + QString::number(perCategory.size()) + u"\n\n各分类日志数:\n"_s;
    for (const auto& [category, count] : perCategory)
        text += u"  "_s + category + u": "_s + QString::number(count) + u'\n';
    return text;
}
