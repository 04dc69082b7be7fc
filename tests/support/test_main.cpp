// Shared main for every test executable: each test process gets its own HOME and XDG
// folders, so settings, the log file and autostart entries never leak between tests or
// into the developer's own account.
#include "platform/EmojiStyle.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    QTemporaryDir home;
    const QByteArray root = home.path().toUtf8();
    const struct
    {
        const char* name;
        const char* sub;
    } folders[] = {
        { "HOME", "" },
        { "XDG_CONFIG_HOME", "/.config" },
        { "XDG_DATA_HOME", "/.local/share" },
        { "XDG_CACHE_HOME", "/.cache" },
        { "XDG_STATE_HOME", "/.local/state" },
    };
    for (const auto& f : folders) {
        const QByteArray path = root + f.sub;
        QDir().mkpath(QString::fromUtf8(path));
        qputenv(f.name, path);
    }
    QDir().mkpath(QString::fromUtf8(root + "/Desktop"));
#ifndef TAMSEL_TEST_X11
    qputenv("QT_QPA_PLATFORM", "offscreen");
#else
    qputenv("QT_QPA_PLATFORM", "xcb");
#endif
    ::testing::InitGoogleTest(&argc, argv);
    // Listing runs no test, so it needs no application object and no display.
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    QApplication app(argc, argv);
    // What the tests draw and measure is what the program shows: its style too.
    EmojiStyle::installOnApplication();
    // gtest owns and deletes the listener.
    ::testing::UnitTest::GetInstance()->listeners().Append(new TestEnvironment);
    return RUN_ALL_TESTS();
}
