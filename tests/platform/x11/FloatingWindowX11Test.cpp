#include "platform/FloatingWindow.h"
#include "platform/Screens.h"

#include "support/Wait.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

struct FreeDeleter
{
    void operator()(void* p) const { std::free(p); }
};

xcb_connection_t* connection()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(const char* name)
{
    const auto cookie = xcb_intern_atom(connection(), 0, static_cast<uint16_t>(std::strlen(name)), name);
    std::unique_ptr<xcb_intern_atom_reply_t, FreeDeleter> reply(xcb_intern_atom_reply(connection(), cookie, nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

std::vector<uint32_t> property(WId window, const char* name, xcb_atom_t type)
{
    const auto cookie =
        xcb_get_property(connection(), 0, static_cast<xcb_window_t>(window), atom(name), type, 0, 1024);
    std::unique_ptr<xcb_get_property_reply_t, FreeDeleter> reply(
        xcb_get_property_reply(connection(), cookie, nullptr));
    if (!reply || reply->format != 32)
        return {};
    const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

bool contains(const std::vector<uint32_t>& values, uint32_t value)
{
    return std::find(values.begin(), values.end(), value) != values.end();
}

} // namespace

TEST(FloatingWindowX11, ShownWindowIsOnEveryDesktopAndOutOfTheTaskbar)
{
    ASSERT_NE(connection(), nullptr) << "these tests need the xcb platform";
    Screens screens;
    FloatingWindow window(FloatingWindow::Focus::Refuse, &screens);
    window.setModelFrame(QRectF(100, 100, 128, 128));
    for (int round = 0; round < 2; ++round) {
        window.show();
        ASSERT_TRUE(waitUntil([&] { return !property(window.winId(), "_NET_WM_DESKTOP", XCB_ATOM_CARDINAL).empty(); }));
        EXPECT_EQ(property(window.winId(), "_NET_WM_DESKTOP", XCB_ATOM_CARDINAL),
                  std::vector<uint32_t>{0xFFFFFFFFu});
        const std::vector<uint32_t> states = property(window.winId(), "_NET_WM_STATE", XCB_ATOM_ATOM);
        for (const char* state : {"_NET_WM_STATE_STICKY", "_NET_WM_STATE_ABOVE", "_NET_WM_STATE_SKIP_TASKBAR",
                                  "_NET_WM_STATE_SKIP_PAGER"})
            EXPECT_TRUE(contains(states, atom(state))) << state;
        window.hide();
        // A window manager removes both properties from a withdrawn window; the next show
        // must put them back.
        const auto id = static_cast<xcb_window_t>(window.winId());
        xcb_delete_property(connection(), id, atom("_NET_WM_DESKTOP"));
        xcb_delete_property(connection(), id, atom("_NET_WM_STATE"));
        xcb_flush(connection());
        ASSERT_TRUE(property(window.winId(), "_NET_WM_DESKTOP", XCB_ATOM_CARDINAL).empty());
    }
}

TEST(FloatingWindowX11, ClickThroughKeepsTheWindowMapped)
{
    Screens screens;
    FloatingWindow window(FloatingWindow::Focus::Refuse, &screens);
    window.resize(128, 128);
    window.show();
    const WId id = window.winId();
    window.setClickThrough(true);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.winId(), id) << "the native window must not be re-created";
    window.setClickThrough(false);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.winId(), id);
}
