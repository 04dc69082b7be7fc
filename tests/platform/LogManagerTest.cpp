#include "platform/LogManager.h"
#include "platform/LogFileWriter.h"

#include "support/FakeClock.h"
#include "support/Wait.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int neverMs = 3600 * 1000; // batches only when a test asks for them

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Delivers the queued list updates, as the main loop would.
void deliver(LogManager& logger)
{
    QCoreApplication::sendPostedEvents(&logger, QEvent::MetaCall);
}

} // namespace

TEST(LogManager, KeepsNewest500InMemoryAndAllLinesInFileAfterBatch)
{
    QTemporaryDir dir;
    const FakeClock clock;
    LogManager logger(dir.filePath(u"Tamsel"_s), neverMs, &clock);
    EXPECT_TRUE(QDir(dir.filePath(u"Tamsel"_s)).exists()) << "the folder is made with the logger";
    logger.flushAndWait();
    EXPECT_FALSE(QFile::exists(logger.logFilePath())) << "nothing logged, nothing written";

    for (int i = 0; i < 501; ++i)
        logger.record(u"✅ line "_s + QString::number(i), u"Test"_s);
    EXPECT_TRUE(logger.logs().isEmpty()) << "the list is updated through the event queue";
    deliver(logger);

    const auto logs = logger.logs();
    ASSERT_EQ(logs.size(), 500);
    EXPECT_EQ(logs.first().message, u"✅ line 1"_s);
    EXPECT_EQ(logs.last().message, u"✅ line 500"_s);
    EXPECT_FALSE(logger.getAllLogsText().endsWith(u'\n'));
    EXPECT_TRUE(logger.getAllLogsText().startsWith(u"[14:03:07.000] [Test] ✅ line 1\n"_s));
    EXPECT_FALSE(QFile::exists(logger.logFilePath())) << "nothing is written before a batch";

    logger.flushAndWait();
    const QList<QByteArray> lines = readFile(logger.logFilePath()).split('\n');
    ASSERT_EQ(lines.size(), 502); // 501 lines and the empty text after the last line feed
    EXPECT_EQ(lines.first(), u"[14:03:07.000] [Test] ✅ line 0"_s.toUtf8());
    EXPECT_EQ(lines.at(500), u"[14:03:07.000] [Test] ✅ line 500"_s.toUtf8());
}

TEST(LogManager, TimerBatchesAndRecreatesDeletedFileWithThatBatchOnly)
{
    QTemporaryDir dir;
    LogManager logger(dir.path(), 20);
    logger.record(u"first"_s, u"A"_s);
    ASSERT_TRUE(waitUntil([&] { return readFile(logger.logFilePath()).contains("first"); }));

    ASSERT_TRUE(QFile::remove(logger.logFilePath()));
    logger.record(u"second"_s, u"A"_s);
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(logger.logFilePath()); }));
    logger.flushAndWait();
    const QByteArray text = readFile(logger.logFilePath());
    EXPECT_TRUE(text.endsWith("] [A] second\n"));
    EXPECT_EQ(text.count('\n'), 1);
}

TEST(LogManager, ClearEmptiesListAndFileAndPendingLinesFollow)
{
    QTemporaryDir dir;
    const FakeClock clock;
    LogManager logger(dir.path(), neverMs, &clock);
    logger.record(u"old"_s, u"A"_s);
    logger.flushAndWait();
    logger.record(u"pending"_s, u"A"_s);
    deliver(logger);

    logger.clearLogs();
    EXPECT_TRUE(logger.logs().isEmpty());
    logger.flushAndWait();
    EXPECT_EQ(
        readFile(logger.logFilePath()), u"[14:03:07.000] [A] pending\n[14:03:07.000] [System] 日志已清空\n"_s.toUtf8());
    ASSERT_EQ(logger.logs().size(), 1);
    EXPECT_EQ(logger.logs().first().message, u"日志已清空"_s);
}

TEST(LogManager, StatisticsCountPerCategoryInOrder)
{
    QTemporaryDir dir;
    LogManager logger(dir.path(), neverMs);
    EXPECT_EQ(logger.getLogStats(), u"日志统计:\n总条数: 0\n分类数: 0\n\n各分类日志数:\n"_s);

    logger.record(u"x"_s, u"UI"_s);
    logger.record(u"y"_s, u"API"_s);
    logger.record(u"z"_s, u"UI"_s);
    deliver(logger);
    EXPECT_EQ(logger.getLogStats(), u"日志统计:\n总条数: 3\n分类数: 2\n\n各分类日志数:\n  API: 1\n  UI: 2\n"_s);
}

TEST(LogManager, SavedCopyIsNamedByTimeAndFailureReturnsNothing)
{
    QTemporaryDir dir;
    const FakeClock clock; // 5 January 2026, 14:03:07
    LogManager logger(dir.path(), neverMs, &clock);
    logger.record(u"one"_s, u"A"_s);
    logger.record(u"two"_s, u"B"_s);
    deliver(logger);

    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    const QString expected = desktop + u"/Tamsel_日志_20260105_140307.txt"_s;
    EXPECT_EQ(logger.saveLogsToFile(), expected);
    EXPECT_EQ(readFile(expected), u"[14:03:07.000] [A] one\n[14:03:07.000] [B] two"_s.toUtf8());

    // A folder in the way: the save fails and the folder is left alone.
    ASSERT_TRUE(QFile::remove(expected));
    ASSERT_TRUE(QDir().mkpath(expected + u"/keep"_s));
    testing::internal::CaptureStdout();
    EXPECT_TRUE(logger.saveLogsToFile().isEmpty());
    EXPECT_NE(testing::internal::GetCapturedStdout().find("保存日志失败: "), std::string::npos);
    EXPECT_TRUE(QDir(expected + u"/keep"_s).exists());
    QDir(expected).removeRecursively();
}

TEST(LogManager, FilePastTenMegabytesBecomesOlderGeneration)
{
    QTemporaryDir dir;
    LogManager logger(dir.path(), neverMs);
    const QString path = logger.logFilePath();
    writeFile(path + u".1"_s, "oldest generation\n");
    {
        QFile big(path);
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        ASSERT_TRUE(big.resize(LogFileWriter::rotateBytes - 10));
    }

    logger.record(u"a line that does not fit"_s, u"A"_s);
    logger.flushAndWait();
    EXPECT_EQ(QFile(path + u".1"_s).size(), LogFileWriter::rotateBytes - 10);
    EXPECT_TRUE(readFile(path).endsWith("] [A] a line that does not fit\n"));
    EXPECT_EQ(readFile(path).count('\n'), 1);

    logger.record(u"fits"_s, u"A"_s);
    logger.flushAndWait();
    EXPECT_EQ(readFile(path).count('\n'), 2) << "a small file is appended to";
}

TEST(LogManager, ConcurrentLoggingLosesNothingAndNeverInterleaves)
{
    QTemporaryDir dir;
    LogManager logger(dir.path(), 1); // batches run all the time while threads log
    constexpr int threads = 6;
    constexpr int perThread = 400;
    const QString padding(120, u'x');

    testing::internal::CaptureStdout();
    std::atomic<int> finished = 0;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            for (int i = 0; i < perThread; ++i)
                logger.record(u"t%1 n%2 "_s.arg(t).arg(i) + padding, u"T"_s);
            ++finished;
        });
    }
    const bool done = waitUntil([&] { return finished == threads; }, 60000);
    for (auto& worker : workers)
        worker.join();
    ASSERT_TRUE(done);
    logger.flushAndWait();
    const std::string echoed = testing::internal::GetCapturedStdout();

    const QRegularExpression shape(u"^\\[\\d\\d:\\d\\d:\\d\\d\\.\\d{3}\\] \\[T\\] t(\\d) n(\\d+) x{120}$"_s);
    std::vector<int> next(threads, 0);
    const QList<QByteArray> lines = readFile(logger.logFilePath()).split('\n');
    ASSERT_EQ(lines.size(), threads * perThread + 1);
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const auto match = shape.match(QString::fromUtf8(lines.at(i)));
        ASSERT_TRUE(match.hasMatch()) << "line " << i << ": " << lines.at(i).toStdString();
        const int t = match.captured(1).toInt();
        EXPECT_EQ(match.captured(2).toInt(), next[t]++) << "each thread's lines keep their order";
    }
    // Every line once, and the file's path with the first.
    EXPECT_EQ(std::count(echoed.begin(), echoed.end(), '\n'), threads * perThread + 1);
}

TEST(LogManager, UncreatableFolderKeepsLoggingAndSaysSoOnce)
{
    QTemporaryDir dir;
    const QString blocker = dir.filePath(u"blocker"_s);
    writeFile(blocker, "not a folder");

    testing::internal::CaptureStdout();
    {
        LogManager logger(blocker + u"/Tamsel"_s, neverMs);
        deliver(logger);
        // Said in the log itself, so the log window shows it as well as standard output.
        ASSERT_EQ(logger.logs().size(), 1);
        EXPECT_EQ(logger.logs().first().category, u"System"_s);
        EXPECT_TRUE(logger.logs().first().message.startsWith(u"⚠️ 无法创建日志文件夹: "_s));
        for (int round = 0; round < 3; ++round) {
            logger.record(u"still here"_s, u"A"_s);
            logger.flushAndWait();
            logger.clearLogs();
            logger.flushAndWait();
        }
        EXPECT_EQ(logger.logs().size(), 1);
    }
    const QString out = QString::fromStdString(testing::internal::GetCapturedStdout());
    EXPECT_EQ(out.count(u"⚠️"_s), 1) << out.toStdString();
    EXPECT_EQ(readFile(blocker), "not a folder");
}

TEST(LogManager, TellsItsFileWithTheFirstLineOnly)
{
    QTemporaryDir dir;
    testing::internal::CaptureStdout();
    LogManager logger(dir.path(), neverMs);
    const QString made = QString::fromStdString(testing::internal::GetCapturedStdout());
    EXPECT_TRUE(made.isEmpty()) << made.toStdString();

    testing::internal::CaptureStdout();
    logger.record(u"a"_s, u"A"_s);
    logger.record(u"b"_s, u"A"_s);
    const QString out = QString::fromStdString(testing::internal::GetCapturedStdout());
    EXPECT_EQ(out, u"📝 日志文件路径: "_s + logger.logFilePath() + u"\n[A] a\n[A] b\n"_s);
}

TEST(LogManager, FullDiskKeepsLinesForLaterAndDestroysNothing)
{
    QTemporaryDir dir;
    LogManager logger(dir.path(), neverMs);
    const QString path = logger.logFilePath();
    ASSERT_TRUE(QFile::link(u"/dev/full"_s, path));

    testing::internal::CaptureStdout();
    logger.record(u"a"_s, u"A"_s);
    logger.flushAndWait();
    logger.record(u"b"_s, u"A"_s);
    logger.flushAndWait();
    const QString out = QString::fromStdString(testing::internal::GetCapturedStdout());
    EXPECT_EQ(out.count(u"⚠️ 日志文件写入失败"_s), 1) << out.toStdString();

    // Space again: the kept lines arrive, in order, ahead of the new one, and the file
    // itself tells of the gap.
    ASSERT_TRUE(QFile::remove(path));
    logger.record(u"c"_s, u"A"_s);
    logger.flushAndWait();
    const QByteArray text = readFile(path);
    EXPECT_EQ(text.count('\n'), 4);
    EXPECT_TRUE(
        text.contains("[A] a\n") && text.indexOf("[A] a\n") < text.indexOf("[A] b\n") && text.endsWith("[A] c\n"));
    EXPECT_TRUE(text.contains("] [System] ⚠️ 日志文件写入失败: ")) << text.constData();
}

TEST(LogManager, ALineLoggedOnAWorkerIsBatchedOnTheMainThread)
{
    EXPECT_EQ(LogManager::defaultFolder(), qEnvironmentVariable("XDG_DATA_HOME") + u"/Tamsel"_s);
    std::thread([] { LogManager::log(u"🧵 from a worker"_s, u"Test"_s); }).join();
    LogManager& logger = LogManager::shared();
    EXPECT_EQ(logger.thread(), QCoreApplication::instance()->thread());
    // The production timer, not a flush, brings the line to the file.
    EXPECT_TRUE(waitUntil([&] { return readFile(logger.logFilePath()).contains("[Test] 🧵 from a worker\n"); },
        LogManager::batchIntervalMs + 3000));
}

// Whatever callers hand in, a line carries at most maxLineBytes of its message, never cut
// inside a character, and says how long the whole was.
TEST(LogManager, LongMessagesAreCutAtACharacterAndTellTheirSize)
{
    constexpr qsizetype max = LogManager::maxLineBytes;
    const struct
    {
        const char* name;
        QString message;
        qsizetype keptUnits; // -1: the whole message
        qsizetype totalBytes;
    } cases[] = {
        { "fits exactly", QString(max, u'a'), -1, max },
        { "ASCII", QString(10000, u'a'), max, 10000 },
        { "three-byte characters", QString(2000, u'密'), max / 3, 6000 },
        { "no half of a pair", u"a"_s + QString(1200, u'x').replace(u"x"_s, u"😀"_s), 1 + 2 * ((max - 1) / 4),
            1 + 4 * 1200 },
    };
    QTemporaryDir dir;
    LogManager logger(dir.path(), neverMs);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString expected = c.keptUnits < 0
            ? c.message
            : c.message.first(c.keptUnits) + u"…(共 "_s + QString::number(c.totalBytes) + u" 字节)"_s;
        EXPECT_EQ(LogManager::abbreviated(c.message), expected);
        EXPECT_EQ(LogManager::abbreviatedUtf8(c.message.toUtf8()), expected);
        logger.record(c.message, QString::fromLatin1(c.name));
        deliver(logger);
        EXPECT_EQ(logger.logs().last().message, expected);
    }
}

// A line said again and again is kept each time: in the list (up to its bound), on
// standard output and in the file.
TEST(LogManager, RepeatedLinesAreEachKept)
{
    QTemporaryDir dir;
    const FakeClock clock;
    LogManager logger(dir.path(), neverMs, &clock);
    testing::internal::CaptureStdout();
    for (int i = 0; i < 501; ++i)
        logger.record(u"📥 same"_s, u"API"_s);
    logger.flushAndWait();
    const std::string echoed = testing::internal::GetCapturedStdout();
    const auto logs = logger.logs();
    EXPECT_EQ(logs.size(), LogManager::maxLogs);
    EXPECT_TRUE(std::all_of(logs.begin(), logs.end(), [](const auto& e) { return e.message == u"📥 same"_s; }));
    const QByteArray line = u"[14:03:07.000] [API] 📥 same\n"_s.toUtf8();
    EXPECT_EQ(readFile(logger.logFilePath()), line.repeated(501));
    EXPECT_EQ(std::count(echoed.begin(), echoed.end(), '\n'), 501 + 1) << "each line, and the file's path";
}

// A batch bigger than the room left fills the file with whole lines and starts the next
// one, so the older generation holds a full file rather than one batch or one line.
TEST(LogManager, ABatchBiggerThanTheFileIsSplitAcrossGenerations)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"debug.log"_s);
    const QString filler(LogManager::maxLineBytes - 40, u'x');
    QList<LogManager::LogEntry> batch;
    const QDateTime time = QDateTime::currentDateTimeUtc();
    const int lines = static_cast<int>(LogFileWriter::rotateBytes * 3 / 2 / LogManager::maxLineBytes);
    for (int i = 0; i < lines; ++i)
        batch.append(LogManager::LogEntry { time, u"A"_s, u"%1 "_s.arg(i, 6, 10, QChar(u'0')) + filler });
    {
        LogFileWriter writer(path);
        writer.append(batch);
        writer.append({ { time, u"A"_s, u"last"_s } });
        writer.waitUntilIdle();
    }
    const QList<QByteArray> older = readFile(path + u".1"_s).split('\n');
    const QList<QByteArray> newer = readFile(path).split('\n');
    EXPECT_LE(QFileInfo(path + u".1"_s).size(), LogFileWriter::rotateBytes);
    EXPECT_GT(QFileInfo(path + u".1"_s).size(), LogFileWriter::rotateBytes - LogManager::maxLineBytes);
    EXPECT_TRUE(older.first().contains("] [A] 000000 x")) << "the older generation starts with the batch";
    EXPECT_EQ(older.size() + newer.size() - 2, lines + 1) << "every line is in one file or the other";
    EXPECT_TRUE(newer.at(newer.size() - 2).endsWith("] [A] last"));
}
