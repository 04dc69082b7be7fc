// The debug-log window under a real window manager: minimised, it comes back when it is
// opened again.
#include "platform/LogManager.h"
#include "platform/LogWindowManager.h"

#include "support/DesktopWindowManager.h"
#include "support/Wait.h"

#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

TEST(LogWindowX11, AMinimisedLogWindowComesBackWhenOpenedAgain)
{
    DesktopWindowManager desktop;
    if (!desktop.start())
        GTEST_SKIP() << "no window manager on the display, and openbox is not installed";
    QTemporaryDir dir;
    LogManager logger(dir.path(), 3600 * 1000);
    LogWindowManager windows(logger);
    windows.showLogWindow();
    QWidget* window = windows.logWindow();
    ASSERT_TRUE(waitUntil([&] { return window->windowHandle() && window->windowHandle()->isExposed(); }));
    EXPECT_TRUE(X11Windows::motifHintsOfferMinimise(window->winId())) << "this window may be minimised";

    X11Windows::minimise(window->winId());
    ASSERT_TRUE(waitUntil([&] { return X11Windows::isIconic(window->winId()) && window->isMinimized(); }));
    windows.showLogWindow();
    EXPECT_EQ(windows.logWindow(), window);
    EXPECT_TRUE(waitUntil([&] {
        return !X11Windows::isIconic(window->winId()) && !window->isMinimized() && window->windowHandle()->isExposed();
    }));
}
