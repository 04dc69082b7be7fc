#include "platform/SingleInstance.h"

#include "support/Wait.h"

#include <QFile>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

TEST(SingleInstance, SecondLaunchAsksTheFirstToReopenAndEnds)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(u"tamsel-test"_s);
    SingleInstance first(name);
    QSignalSpy reopened(&first, &SingleInstance::reopenRequested);
    ASSERT_TRUE(first.tryBecomePrimary());
    EXPECT_TRUE(first.isListening());

    SingleInstance second(name);
    EXPECT_FALSE(second.tryBecomePrimary());
    EXPECT_FALSE(second.isListening());
    ASSERT_TRUE(waitUntil([&] { return reopened.count() == 1; }));

    SingleInstance third(name);
    EXPECT_FALSE(third.tryBecomePrimary());
    ASSERT_TRUE(waitUntil([&] { return reopened.count() == 2; }));
}

TEST(SingleInstance, StaleSocketFileIsReplaced)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(u"tamsel-test"_s);
    // A socket file left by a program that was killed: bound, nobody listening.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(name);
    std::strncpy(address.sun_path, path.constData(), sizeof(address.sun_path) - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ::close(fd);
    ASSERT_TRUE(QFile::exists(name));

    SingleInstance instance(name);
    EXPECT_TRUE(instance.tryBecomePrimary());
    EXPECT_TRUE(instance.isListening());
}

TEST(SingleInstance, ForeignMessagesDoNotReopen)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(u"tamsel-test"_s);
    SingleInstance primary(name);
    QSignalSpy reopened(&primary, &SingleInstance::reopenRequested);
    ASSERT_TRUE(primary.tryBecomePrimary());

    QLocalSocket wrong;
    wrong.connectToServer(name);
    ASSERT_TRUE(wrong.waitForConnected(1000));
    wrong.write("reopen please\n");
    QLocalSocket flood;
    flood.connectToServer(name);
    ASSERT_TRUE(flood.waitForConnected(1000));
    flood.write(QByteArray(4096, 'r'));
    ASSERT_TRUE(waitUntil([&] { return flood.state() == QLocalSocket::UnconnectedState; }))
        << "an endless message is cut off";
    ASSERT_TRUE(waitUntil([&] { return wrong.state() == QLocalSocket::UnconnectedState; }));
    EXPECT_EQ(reopened.count(), 0);
}

TEST(SingleInstance, DefaultNameIsPerUserAndDisplay)
{
    const QByteArray saved = qgetenv("DISPLAY");
    const QString user = u"tamsel-"_s + QString::number(getuid());
    const struct
    {
        const char* display;
        QString ending;
    } cases[] = {
        { ":0", user + u"-:0"_s },
        { ":0.1", user + u"-:0"_s }, // another screen of the same display
        { ":1", user + u"-:1"_s },
        { "host.lan:10.0", user + u"-host.lan:10"_s },
        { "../x/:2", user + u"-.._x_:2"_s }, // no way out of the runtime folder
        { "", user },
    };
    for (const auto& c : cases) {
        qputenv("DISPLAY", c.display);
        const QString name = SingleInstance::defaultServerName();
        EXPECT_TRUE(name.endsWith(u'/' + c.ending) || name == c.ending) << c.display << " -> " << name.toStdString();
    }
    qputenv("DISPLAY", saved);
}
