#include "platform/UnixSignals.h"

#include "support/Wait.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <csignal>

TEST(UnixSignals, TermAndIntBecomeAQuitRequestOnTheEventLoop)
{
    UnixSignals handler;
    ASSERT_TRUE(handler.isActive());
    QSignalSpy quit(&handler, &UnixSignals::quitRequested);

    ASSERT_EQ(std::raise(SIGTERM), 0);
    EXPECT_EQ(quit.count(), 0) << "nothing runs inside the signal handler";
    ASSERT_TRUE(waitUntil([&] { return quit.count() == 1; }));
    EXPECT_EQ(quit.first().first().toInt(), SIGTERM) << "the request names the signal for the log";

    ASSERT_EQ(std::raise(SIGINT), 0);
    ASSERT_EQ(std::raise(SIGINT), 0);
    ASSERT_TRUE(waitUntil([&] { return quit.count() >= 2; }));
}

TEST(UnixSignals, DestructionRestoresThePreviousHandler)
{
    struct sigaction ignore
    {
    };
    ignore.sa_handler = SIG_IGN;
    struct sigaction before
    {
    };
    ASSERT_EQ(::sigaction(SIGTERM, &ignore, &before), 0);
    {
        UnixSignals handler;
        struct sigaction during
        {
        };
        ::sigaction(SIGTERM, nullptr, &during);
        EXPECT_NE(during.sa_handler, SIG_IGN);
    }
    struct sigaction after
    {
    };
    ::sigaction(SIGTERM, nullptr, &after);
    EXPECT_EQ(after.sa_handler, SIG_IGN);
    ::sigaction(SIGTERM, &before, nullptr);

    UnixSignals again; // a new instance can be set up after the first is gone
    EXPECT_TRUE(again.isActive());
}
