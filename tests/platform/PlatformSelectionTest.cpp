#include "platform/PlatformSelection.h"

#include <gtest/gtest.h>

using PlatformSelection::platformFor;

TEST(PlatformSelection, WaylandSessionsRunThroughXWayland)
{
    EXPECT_EQ(platformFor("wayland", "", ""), "xcb");
    EXPECT_EQ(platformFor("Wayland", "", ""), "xcb");
    EXPECT_EQ(platformFor("", "wayland-0", ""), "xcb");
    EXPECT_EQ(platformFor("x11", "wayland-0", ""), "xcb") << "a Wayland display is reason enough";
}

TEST(PlatformSelection, LeavesX11AndTheUsersOwnChoiceAlone)
{
    EXPECT_TRUE(platformFor("x11", "", "").isEmpty());
    EXPECT_TRUE(platformFor("", "", "").isEmpty());
    EXPECT_TRUE(platformFor("tty", "", "").isEmpty());
    EXPECT_TRUE(platformFor("wayland", "wayland-0", "wayland").isEmpty());
    EXPECT_TRUE(platformFor("wayland", "", "offscreen").isEmpty());
}
