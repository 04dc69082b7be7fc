#include "shell/LaunchManager.h"
#include "platform/Alerts.h"
#include "platform/LoginItem.h"

#include "support/Wait.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

/// The real autostart entry, except that "open the folder" is only counted.
class RecordingLoginItem final : public LoginItem
{
public:
    using LoginItem::LoginItem;
    int opened = 0;
    bool openAutostartFolder() override
    {
        ++opened;
        return true;
    }
};

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& contents)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

} // namespace

TEST(LaunchManager, EnablingWritesTheAutostartEntryAndDisablingRemovesIt)
{
    LoginItem item;
    EXPECT_EQ(item.entryPath(),
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u"/autostart/tamsel.desktop"_s);
    LaunchManager manager(item);
    EXPECT_FALSE(manager.isAutoLaunchEnabled());
    QSignalSpy announced(&manager, &LaunchManager::isAutoLaunchEnabledChanged);

    manager.enableAutoLaunch();
    EXPECT_TRUE(manager.isAutoLaunchEnabled());
    ASSERT_EQ(announced.count(), 1);
    EXPECT_TRUE(announced.at(0).at(0).toBool());
    const QString entry = QString::fromUtf8(readFile(item.entryPath()));
    EXPECT_TRUE(entry.startsWith(u"[Desktop Entry]\n"_s)) << entry.toStdString();
    EXPECT_TRUE(entry.contains(u"\nType=Application\n"_s));
    EXPECT_TRUE(entry.contains(u"\nExec="_s + LoginItem::execValue(QCoreApplication::applicationFilePath()) + u'\n'));

    LaunchManager restarted(item);
    EXPECT_TRUE(restarted.isAutoLaunchEnabled()) << "the registration is read at creation";

    manager.disableAutoLaunch();
    EXPECT_FALSE(manager.isAutoLaunchEnabled());
    EXPECT_FALSE(QFile::exists(item.entryPath()));
    ASSERT_EQ(announced.count(), 2);
    EXPECT_FALSE(announced.at(1).at(0).toBool());
}

TEST(LaunchManager, EnablingWhenRegisteredLeavesTheEntryAlone)
{
    QTemporaryDir dir;
    RecordingLoginItem item(u"/opt/tamsel/bin/tamsel"_s, dir.path());
    const QByteArray own = "[Desktop Entry]\nType=Application\nName=Tamsel\n# edited by the user\n"
                           "Exec=/opt/tamsel/bin/tamsel\n";
    writeFile(item.entryPath(), own);
    LaunchManager manager(item);
    ASSERT_TRUE(manager.isAutoLaunchEnabled());
    manager.enableAutoLaunch();
    EXPECT_EQ(readFile(item.entryPath()), own);
}

TEST(LoginItem, EntryStatusReadsSwitchesAndProgram)
{
    QTemporaryDir dir;
    LoginItem item(u"/opt/tamsel/bin/tamsel"_s, dir.path());
    EXPECT_FALSE(item.isEnabled());

    const struct
    {
        QByteArray contents;
        bool enabled;
    } cases[] = {
        { "[Desktop Entry]\nExec=\"/opt/tamsel/bin/tamsel\"\n", true },
        { "[Desktop Entry]\nExec=/opt/tamsel/bin/tamsel\nHidden=true\n", false },
        { "[Desktop Entry]\nExec=/opt/tamsel/bin/tamsel\nX-GNOME-Autostart-enabled=false\n", false },
        { "[Desktop Entry]\nExec=/usr/bin/other\n", false },
        { "[Other Group]\nExec=/opt/tamsel/bin/tamsel\n", false },
    };
    for (const auto& c : cases) {
        writeFile(item.entryPath(), c.contents);
        EXPECT_EQ(item.isEnabled(), c.enabled) << c.contents.toStdString();
    }
}

TEST(LoginItem, ExecLineSurvivesAwkwardProgramPaths)
{
    const QString paths[] = {
        u"/usr/bin/tamsel"_s,
        u"/home/me/My Apps/tamsel"_s,
        u"/tmp/a\"b/$HOME/`x`/back\\slash/100%/tamsel"_s,
    };
    for (const QString& path : paths) {
        QTemporaryDir dir;
        LoginItem item(path, dir.path());
        QString error;
        ASSERT_TRUE(item.registerItem(&error)) << error.toStdString();
        EXPECT_TRUE(item.isEnabled()) << path.toStdString();
        const QString exec = LoginItem::execValue(path);
        EXPECT_TRUE(exec.startsWith(u'"') && exec.endsWith(u'"')) << exec.toStdString();
    }
    EXPECT_EQ(LoginItem::execValue(u"/a b/100%"_s), u"\"/a b/100%%\""_s);
    EXPECT_EQ(LoginItem::execValue(u"/a\\b"_s), u"\"/a\\\\\\\\b\""_s) << "quoted, then escaped as a string";

    QTemporaryDir dir;
    LoginItem broken(u"/tmp/line\nbreak"_s, dir.path());
    QString error;
    EXPECT_FALSE(broken.registerItem(&error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(LaunchManager, FailedChangeStaysOffAndOffersTheAutostartFolder)
{
    QTemporaryDir dir;
    const QString blocked = dir.filePath(u"autostart"_s);
    writeFile(blocked, "a file where the folder should be");
    RecordingLoginItem item(u"/opt/tamsel/bin/tamsel"_s, blocked);
    LaunchManager manager(item);

    Alerts::clearAnsweredAlerts();
    Alerts::setNextAnswers({ 1 });
    manager.enableAutoLaunch();
    EXPECT_FALSE(manager.isAutoLaunchEnabled());
    EXPECT_TRUE(Alerts::answeredAlerts().isEmpty()) << "the alert comes after the call returns";

    ASSERT_TRUE(waitUntil([] { return !Alerts::answeredAlerts().isEmpty(); }));
    const Alerts::Record alert = Alerts::answeredAlerts().first();
    EXPECT_EQ(alert.style, Alerts::Style::Warning);
    EXPECT_EQ(alert.title, u"自动启动设置失败"_s);
    EXPECT_TRUE(alert.text.startsWith(u"无法修改自动启动设置。可能的原因：\n\n1. 需要管理员权限\n"_s));
    EXPECT_TRUE(alert.text.endsWith(u"\n\n您可以手动在\"系统偏好设置 > 用户与群组 > 登录项\"中添加Tamsel。"_s));
    EXPECT_EQ(alert.buttons, (QStringList { u"确定"_s, u"打开系统偏好设置"_s }));
    EXPECT_EQ(item.opened, 1);
}
