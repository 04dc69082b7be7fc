// The friend-code window under a real window manager: minimised by the user (the window
// manager offers it whatever the window asks), it comes back when it is asked for again.
#include "../FriendsUiFixture.h"

#include "friends/MenuBarFriendActions.h"
#include "support/DesktopWindowManager.h"

#include <QWindow>

TEST_F(FriendsUiFixture, AMinimisedFriendCodeWindowComesBackWhenAskedForAgain)
{
    DesktopWindowManager desktop;
    if (!desktop.start())
        GTEST_SKIP() << "no window manager on the display, and openbox is not installed";
    signIn();
    MenuBarFriendActions actions(*friends, timers, *bubbles);
    actions.showVerificationWindow();
    QWidget* window = actions.verificationWindow();
    ASSERT_TRUE(waitUntil([&] { return window->windowHandle()->isExposed(); }));
    EXPECT_FALSE(X11Windows::motifHintsOfferMinimise(window->winId())) << "the window asks for no minimise button";

    X11Windows::minimise(window->winId());
    ASSERT_TRUE(waitUntil([&] { return X11Windows::isIconic(window->winId()) && window->isMinimized(); }));
    actions.showVerificationWindow();
    EXPECT_EQ(actions.verificationWindow(), window);
    EXPECT_TRUE(waitUntil([&] {
        return !X11Windows::isIconic(window->winId()) && !window->isMinimized() && window->windowHandle()->isExposed();
    }));
}
