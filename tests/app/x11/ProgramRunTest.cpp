// Runs the real program on the test's X server, as a user would start it.
#include "support/FakeCompanionServer.h"
#include "support/FakeCompanionState.h"
#include "support/Wait.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtGui/qguiapplication_platform.h>

#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

template<typename T>
using XcbReply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    XcbReply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

/// Whether a dialog window of process `pid` is on screen.
bool showsADialog(qint64 pid)
{
    xcb_connection_t* c = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_atom_t type = atom(c, "_NET_WM_WINDOW_TYPE");
    const xcb_atom_t dialog = atom(c, "_NET_WM_WINDOW_TYPE_DIALOG");
    const xcb_atom_t pidAtom = atom(c, "_NET_WM_PID");
    XcbReply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr), &std::free);
    if (!tree)
        return false;
    const xcb_window_t* windows = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        const auto cardinal = [&](xcb_atom_t property, xcb_atom_t kind) -> uint32_t {
            XcbReply<xcb_get_property_reply_t> value(
                xcb_get_property_reply(c, xcb_get_property(c, 0, windows[i], property, kind, 0, 1), nullptr),
                &std::free);
            return value && xcb_get_property_value_length(value.get()) >= 4
                ? *static_cast<uint32_t*>(xcb_get_property_value(value.get()))
                : 0;
        };
        XcbReply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, windows[i]), nullptr), &std::free);
        if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE && cardinal(pidAtom, XCB_ATOM_CARDINAL) == pid
            && cardinal(type, XCB_ATOM_ATOM) == dialog)
            return true;
    }
    return false;
}

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
    out += pet.readAll();

    QFile log(m_home.filePath(u".local/share/Tamsel/debug.log"_s));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(log.readAll());
    // The quit line is the last thing a run logs; it must reach the file.
    EXPECT_TRUE(text.contains(u"] [AppDelegate] 🛑 应用即将退出\n"_s)) << qPrintable(text);
    // The performance monitor is not part of a run: nothing creates it, so nothing stops it.
    EXPECT_FALSE(out.contains("性能监控已停止")) << out.constData();
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

TEST_F(ProgramRun, SigtermEndsTheProgramWhileAnAlertIsOpen)
{
    // The update offer that the check a few seconds after start-up opens; its buttons have
    // no "取消", so the box refuses an ordinary close.
    FakeCompanionServer server;
    server.state().latestVersion = u"99.0.0"_s;
    const QString host = u"127.0.26.1"_s;
    ASSERT_TRUE(server.start(QHostAddress(host), 3005)) << "port 3005 of " << host.toStdString() << " is taken";
    ASSERT_TRUE(QDir().mkpath(m_home.filePath(u".config/Tamsel"_s)));
    QFile defaults(m_home.filePath(u".config/Tamsel/defaults.json"_s));
    ASSERT_TRUE(defaults.open(QIODevice::WriteOnly));
    defaults.write(R"({"ServerHost": "127.0.26.1"})");
    defaults.close();

    QProcess pet;
    start(pet);
    QByteArray out;
    ASSERT_TRUE(waitForOutput(pet, out, "✅ 发现新版本: 99.0.0")) << out.constData();
    ASSERT_TRUE(waitUntil([&] { return showsADialog(pet.processId()); }, 10000));

    ::kill(static_cast<pid_t>(pet.processId()), SIGTERM);
    ASSERT_TRUE(pet.waitForFinished(15000)) << "the open alert kept the program running";
    EXPECT_EQ(pet.exitCode(), 0);
    QFile log(m_home.filePath(u".local/share/Tamsel/debug.log"_s));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray logged = log.readAll();
    EXPECT_TRUE(logged.contains("] [AppDelegate] 🛑 应用即将退出\n")) << "what quit saves was not saved";
    EXPECT_FALSE(logged.contains("⏰ 用户选择稍后提醒")) << "quitting is no answer to the alert";
}

namespace {

/// The line each manager that start-up makes writes as it is made, in start-up order. The
/// day segment and the machine's load write theirs only when they differ from the first
/// value, so those two may be missing.
struct ManagerLine
{
    const char* text;
    bool always;
};
const ManagerLine managerLines[] = {
    { "[User] 👤 UserManager 初始化完成", true }, // the status menu's first build reads the account
    { "⏰ 时间段变化: ", false },
    { "📊 系统健康度变化: ", false },
    { "[Reminder] ", true },
    { "[Alarm] ⏰ AlarmManager 初始化", true }, // with the reminders, so that alarms ring
    { "🎨 主题监控已启动", true },
    { "💬 气泡窗口管理器已初始化", true },
    { "[Lottie] Lottie 动画管理器已初始化", true },
    { "[Update] UpdateManager 初始化", true },
    { "[Friend] 🤝 FriendManager 初始化", true },
    { "[Friend] 💬 FriendMessageManager 初始化", true },
    { "[Friend] 💬 FriendMessageBubbleWindowManager 初始化", true },
};

/// Lines of what comes into being only at a user's action, never at start-up.
const char* const firstUseLines[] = {
    "[DriftBottle] 🍾 DriftBottleManager 初始化完成",
    "[Conversation] 💬 ConversationManager 初始化完成",
    "[Alarm] ⏰ AlarmWindowManager 初始化",
};
const char* const serverClientLine = "[API] 🌐 APIClient 初始化";

class ProgramStartUp : public ProgramRun, public ::testing::WithParamInterface<bool>
{
protected:
    [[nodiscard]] static bool signedIn() { return GetParam(); }

    /// Settings with a server address nothing answers at and, when asked, a stored user.
    void writeSettings()
    {
        QJsonObject settings { { u"ServerHost"_s, u"127.0.26.3"_s } };
        if (signedIn()) {
            FakeCompanionState server;
            FakeCompanionState::User user;
            user.id = 7;
            user.email = u"mimi@example.org"_s;
            user.nickname = u"咪咪"_s;
            user.avatarEmoji = u"🐱"_s;
            user.createdAt = user.updatedAt = QDateTime(QDate(2024, 5, 1), QTime(8, 30), Qt::UTC);
            settings.insert(u"UserMode"_s, u"online"_s);
            settings.insert(u"IsLoggedIn"_s, true);
            settings.insert(u"CurrentUser"_s,
                QString::fromUtf8(QJsonDocument(server.userJson(user)).toJson(QJsonDocument::Compact)));
        }
        ASSERT_TRUE(QDir().mkpath(m_home.filePath(u".config/Tamsel"_s)));
        QFile file(m_home.filePath(u".config/Tamsel/defaults.json"_s));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QJsonDocument(settings).toJson());
    }
};

} // namespace

// Start-up makes its managers in their order and nothing that only a user's action needs:
// no clones, no drift bottles, no alarm cards, and the server client only for a server call.
TEST_P(ProgramStartUp, MakesItsManagersInOrderAndNothingOfFirstUse)
{
    writeSettings();
    // A signed-in user's message connection goes to the server's port 3005, where only the
    // fake's socket listens: its HTTP calls fail, which start-up takes in its stride.
    FakeCompanionServer server;
    if (signedIn()) {
        ASSERT_TRUE(server.start(QHostAddress(u"127.0.26.3"_s), 0, 3005)) << "port 3005 of 127.0.26.3 is taken";
    }
    QProcess pet;
    start(pet);
    QByteArray out;
    // The update check, five seconds after start-up, is the last thing start-up does.
    ASSERT_TRUE(waitForOutput(pet, out, "[Update] 🔄 开始检查更新...")) << out.constData();
    if (signedIn()) {
        ASSERT_TRUE(waitForOutput(pet, out, "[Friend] ✅ WebSocket 认证成功")) << out.constData();
    }

    const qsizetype begin = out.indexOf("🚀 Tamsel启动中...");
    const qsizetype end = out.indexOf("✅ 核心管理器初始化完成");
    ASSERT_TRUE(begin >= 0 && end > begin) << out.constData();
    const QByteArray making = out.mid(begin, end - begin);
    qsizetype at = -1;
    for (const ManagerLine& manager : managerLines) {
        const qsizetype found = making.indexOf(manager.text);
        if (found < 0) {
            EXPECT_FALSE(manager.always) << manager.text << " missing in:\n" << making.constData();
            continue;
        }
        EXPECT_GT(found, at) << manager.text << " out of order in:\n" << making.constData();
        at = found;
    }
    if (signedIn()) {
        EXPECT_LT(making.indexOf("[User] ✅ 用户信息加载成功: 咪咪"), making.indexOf(managerLines[0].text));
        // The friend list's fetch is a task that start-up starts: the whole of it, the server
        // client's making included, comes after start-up has said it is done.
        const qsizetype done = out.indexOf("✅ Tamsel启动完成！");
        ASSERT_GT(done, out.indexOf("✅ P2功能启动完成")) << out.constData();
        for (const char* line : { "🌐 使用线上环境配置", serverClientLine, "[Friend] 📋 获取好友列表",
                 "[API] 📡 GET http://127.0.26.3:3005/api/friends/list" }) {
            const qsizetype at = out.indexOf(line);
            EXPECT_GT(at, done) << line << " in:\n" << out.constData();
        }
    }

    stop(pet);
    out += pet.readAll();
    EXPECT_EQ(pet.exitCode(), 0);
    // Freeing the monitors, the theme and reminder checks and the message connection at quit stops
    // them without a word.
    const qsizetype quit = out.indexOf("[AppDelegate] 🛑 应用即将退出");
    ASSERT_GE(quit, 0) << out.constData();
    for (const char* line : { "📊 系统监控已停止", "⏰ 时间监控已停止", "🔌 断开 WebSocket 连接", "🎨 主题监控已停止",
             "⚠️ 系统外观监控清理暂时禁用", "⏰ 提醒系统已停止" })
        EXPECT_FALSE(out.mid(quit).contains(line)) << line << " in:\n" << out.mid(quit).constData();
    if (signedIn()) {
        // Quitting says goodbye on the open message connection.
        EXPECT_TRUE(waitUntil([&] { return server.messageSocket().closeCodes().contains(1001); }))
            << "close codes: " << server.messageSocket().closeCodes().size();
    }
    for (const char* line : firstUseLines)
        EXPECT_FALSE(out.contains(line)) << line << " in:\n" << out.constData();
    EXPECT_FALSE(making.contains("🌐 使用线上环境配置")) << making.constData();
    if (signedIn()) {
        // The friend list fetch is the first server call: the client comes into being for it.
        const qsizetype made = out.indexOf(serverClientLine);
        EXPECT_GT(made, end);
        EXPECT_LT(made, out.indexOf("/friends/list")) << out.constData();
    } else {
        EXPECT_FALSE(out.contains(serverClientLine)) << out.constData();
        EXPECT_FALSE(out.contains("🌐 使用线上环境配置")) << out.constData();
    }
    QFile settings(m_home.filePath(u".config/Tamsel/defaults.json"_s));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    const QJsonObject saved = QJsonDocument::fromJson(settings.readAll()).object();
    EXPECT_FALSE(saved.contains(u"CloneDismissTime"_s)) << "the clones were made";
    EXPECT_FALSE(saved.contains(u"WhackAMoleGameDuration"_s)) << "the game was made";
}

INSTANTIATE_TEST_SUITE_P(Accounts, ProgramStartUp, ::testing::Values(false, true),
    [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "SignedIn" : "NobodySignedIn"; });

namespace {

struct BrokenSettings
{
    const char* name;
    QByteArray bytes;
    friend void PrintTo(const BrokenSettings& settings, std::ostream* os) { *os << settings.name; }
};

class ProgramOnBrokenSettings : public ProgramRun, public ::testing::WithParamInterface<BrokenSettings>
{
protected:
    [[nodiscard]] QString settingsFolder() const { return m_home.filePath(u".config/Tamsel"_s); }

    void writeSettings(const QString& name, const QByteArray& bytes)
    {
        ASSERT_TRUE(QDir().mkpath(settingsFolder()));
        QFile file(settingsFolder() + u'/' + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    void startAndWaitForStartup(QProcess& pet, QByteArray& out)
    {
        start(pet);
        ASSERT_TRUE(waitForOutput(pet, out, "✅ Tamsel启动完成！")) << out.constData();
    }
};

} // namespace

// A settings file that does not parse is put aside, the program starts on fresh settings
// and its log says where the old file went.
TEST_P(ProgramOnBrokenSettings, StartsOnFreshSettingsAndKeepsTheOldFileAside)
{
    writeSettings(u"defaults.json"_s, GetParam().bytes);
    QProcess pet;
    QByteArray out;
    startAndWaitForStartup(pet, out);

    const QStringList aside = QDir(settingsFolder()).entryList({ u"defaults.json.corrupt-*"_s }, QDir::Files);
    ASSERT_EQ(aside.size(), 1) << out.constData();
    QFile kept(settingsFolder() + u'/' + aside.first());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), GetParam().bytes);
    EXPECT_TRUE(
        out.contains((u"[Settings] ⚠️ 设置文件无法解析，已移至: "_s + kept.fileName()).toUtf8()))
        << out.constData();
    stop(pet);
}

INSTANTIATE_TEST_SUITE_P(UnparsableFiles, ProgramOnBrokenSettings,
    ::testing::Values(BrokenSettings { "Empty", "" },
        BrokenSettings { "Truncated", R"({"PetMoveSpeed": 1.2, "SavedAlarms": [)" },
        BrokenSettings { "NaN", R"({"PetMoveSpeed": NaN})" },
        BrokenSettings { "HugeNumber", R"({"PetMoveSpeed": 1e400})" },
        BrokenSettings { "TopLevelArray", R"([{"PetMoveSpeed": 1.2}])" },
        BrokenSettings { "TopLevelString", R"("PetMoveSpeed")" }, BrokenSettings { "Null", "null" },
        BrokenSettings { "TrailingGarbage", R"({"PetMoveSpeed": 1.2} })" },
        BrokenSettings { "InvalidUtf8", "{\"ServerHost\": \"\xff\xfe\"}" },
        BrokenSettings { "NulBytes", QByteArray(16, '\0') }),
    [](const ::testing::TestParamInfo<BrokenSettings>& info) { return std::string(info.param.name); });

// A write cut short by a crash leaves its temporary beside the settings: the program clears
// it away and starts on the settings that were last written whole.
TEST_F(ProgramOnBrokenSettings, StartsOnTheLastWholeSettingsBesideALeftoverTemporary)
{
    writeSettings(u"defaults.json"_s, R"({"PetMoveSpeed": 1.5, "KeptAcrossTheCrash": 7})");
    writeSettings(u"defaults.json.a1B2c3"_s, R"({"PetMoveSpeed": 1.5, "KeptAc)");
    QProcess pet;
    QByteArray out;
    startAndWaitForStartup(pet, out);

    EXPECT_TRUE(out.contains("[Settings] 🧹 已清除残留的设置临时文件: defaults.json.a1B2c3"))
        << out.constData();
    EXPECT_FALSE(QFile::exists(settingsFolder() + u"/defaults.json.a1B2c3"_s));
    stop(pet);
    QFile settings(settingsFolder() + u"/defaults.json"_s);
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_EQ(QJsonDocument::fromJson(settings.readAll()).object().value(u"KeptAcrossTheCrash"_s).toInt(), 7);
}

// A broken file put aside earlier in the same second keeps its name; the new one goes beside
// it, and the run saves its settings as usual.
TEST_F(ProgramOnBrokenSettings, PutsASecondBrokenFileOfTheSameSecondBesideTheFirstAndSavesTheRun)
{
    writeSettings(u"defaults.json"_s, R"({"PetMoveSpeed": )");
    // Whichever second the program starts in, a file was put aside in it already.
    const QDateTime now = QDateTime::currentDateTime();
    for (int second = 0; second < 60; ++second)
        writeSettings(u"defaults.json.corrupt-"_s + now.addSecs(second).toString(u"yyyyMMdd-HHmmss"_s), "earlier");
    QProcess pet;
    QByteArray out;
    startAndWaitForStartup(pet, out);

    const QRegularExpression movedTo(
        u"\\[Settings\\] ⚠️ 设置文件无法解析，已移至: (.+defaults\\.json\\.corrupt-\\d{8}-\\d{6}-2)\\n"_s);
    const QRegularExpressionMatch moved = movedTo.match(QString::fromUtf8(out));
    ASSERT_TRUE(moved.hasMatch()) << out.constData();
    QFile kept(moved.captured(1));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), R"({"PetMoveSpeed": )");
    stop(pet);

    QFile settings(settingsFolder() + u"/defaults.json"_s);
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly)) << "the run saved nothing";
    QJsonParseError error {};
    const QJsonDocument saved = QJsonDocument::fromJson(settings.readAll(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError);
    EXPECT_TRUE(saved.isObject());
}
