// Runs the real program on the test's X server, as a user would start it.
#include "support/Wait.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

using namespace Qt::StringLiterals;

namespace {

class ProgramRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_home.isValid());
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert(u"HOME"_s, m_home.path());
        m_env.insert(u"XDG_CONFIG_HOME"_s, m_home.filePath(u".config"_s));
        m_env.insert(u"XDG_DATA_HOME"_s, m_home.filePath(u".local/share"_s));
        m_env.insert(u"XDG_RUNTIME_DIR"_s, m_home.path());
        m_env.remove(u"QT_QPA_PLATFORM"_s);
    }

    void start(QProcess& process)
    {
        process.setProcessEnvironment(m_env);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QString::fromUtf8(TAMSEL_BINARY), {});
        ASSERT_TRUE(process.waitForStarted(10000));
    }

    static bool waitForOutput(QProcess& process, QByteArray& seen, const QByteArray& text, int timeoutMs = 20000)
    {
        return waitUntil(
            [&] {
                seen += process.readAll();
                return seen.contains(text);
            },
            timeoutMs);
    }

    static void stop(QProcess& process)
    {
        if (process.state() == QProcess::NotRunning)
            return;
        ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
        if (!process.waitForFinished(10000))
            process.kill();
    }

    QTemporaryDir m_home;
    QProcessEnvironment m_env;
};

} // namespace

TEST_F(ProgramRun, StartsInOrderQuitsOnSigtermAndWritesTheLogFile)
{
    QProcess pet;
    start(pet);
    QByteArray out;
    ASSERT_TRUE(waitForOutput(pet, out, "✅ Tamsel启动完成！")) << out.constData();

    const QList<QByteArray> steps = { "🚀 Tamsel启动中...", "✅ 核心管理器初始化完成", "✅ P1功能启动完成",
        "✅ P2功能启动完成", "✅ Tamsel启动完成！" };
    qsizetype at = -1;
    for (const QByteArray& step : steps) {
        const qsizetype next = out.indexOf(step);
        EXPECT_GT(next, at) << step.constData() << " out of order in:\n" << out.constData();
        at = next;
    }

    ::kill(static_cast<pid_t>(pet.processId()), SIGTERM);
    ASSERT_TRUE(pet.waitForFinished(15000));
    EXPECT_EQ(pet.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(pet.exitCode(), 0);

    QFile log(m_home.filePath(u".local/share/Tamsel/debug.log"_s));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(log.readAll());
    // The quit line is the last thing a run logs; it must reach the file.
    EXPECT_TRUE(text.contains(u"] [AppDelegate] 🛑 应用即将退出\n"_s)) << qPrintable(text);
    const QRegularExpression line(u"^\\[\\d\\d:\\d\\d:\\d\\d\\.\\d{3}\\] \\[[A-Za-z]+\\] .+$"_s);
    for (const QString& l : text.split(u'\n', Qt::SkipEmptyParts))
        EXPECT_TRUE(line.match(l).hasMatch()) << qPrintable(l);
}

TEST_F(ProgramRun, SecondLaunchReopensTheRunningPetInsteadOfStartingAnother)
{
    QProcess first;
    start(first);
    QByteArray out;
    ASSERT_TRUE(waitForOutput(first, out, "✅ Tamsel启动完成！")) << out.constData();

    QProcess second;
    start(second);
    ASSERT_TRUE(second.waitForFinished(15000));
    EXPECT_EQ(second.exitCode(), 0);
    const QByteArray secondOut = second.readAll();
    EXPECT_FALSE(secondOut.contains("🚀 Tamsel启动中...")) << "the second launch must not start a pet";
    EXPECT_TRUE(secondOut.contains("Tamsel 已在运行，已请它显示出来")) << "the second launch must say what it did";

    EXPECT_TRUE(waitForOutput(first, out, "[AppDelegate] 🔄 应用重新打开，hasVisibleWindows=true")) << out.constData();
    stop(first);
}
