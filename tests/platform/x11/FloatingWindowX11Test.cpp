#include "platform/FloatingWindow.h"
#include "platform/Screens.h"

#include "support/DesktopWindowManager.h"
#include "support/Wait.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <gtest/gtest.h>

#include <QEasingCurve>
#include <QWindow>

#include <algorithm>
#include <cmath>
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
    const auto cookie = xcb_get_property(connection(), 0, static_cast<xcb_window_t>(window), atom(name), type, 0, 1024);
    std::unique_ptr<xcb_get_property_reply_t, FreeDeleter> reply(xcb_get_property_reply(connection(), cookie, nullptr));
    if (!reply || reply->format != 32)
        return {};
    const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    return { values, values + xcb_get_property_value_length(reply.get()) / 4 };
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
    FloatingWindow window(FloatingWindow::Focus::Refuse, screens);
    window.setModelFrame(QRectF(100, 100, 128, 128));
    for (int round = 0; round < 2; ++round) {
        window.show();
        ASSERT_TRUE(waitUntil([&] { return !property(window.winId(), "_NET_WM_DESKTOP", XCB_ATOM_CARDINAL).empty(); }));
        EXPECT_EQ(
            property(window.winId(), "_NET_WM_DESKTOP", XCB_ATOM_CARDINAL), std::vector<uint32_t> { 0xFFFFFFFFu });
        const std::vector<uint32_t> states = property(window.winId(), "_NET_WM_STATE", XCB_ATOM_ATOM);
        for (const char* state :
            { "_NET_WM_STATE_STICKY", "_NET_WM_STATE_ABOVE", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER" })
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

TEST(FloatingWindowX11, ClickThroughKeepsTheWindowMappedAndMinimiseRefused)
{
    Screens screens;
    FloatingWindow window(FloatingWindow::Focus::Refuse, screens);
    window.resize(128, 128);
    window.show();
    const WId id = window.winId();
    // Without a taskbar entry, nothing would bring a minimised one back.
    EXPECT_FALSE(X11Windows::motifHintsOfferMinimise(id));
    window.setClickThrough(true);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.winId(), id) << "the native window must not be re-created";
    EXPECT_FALSE(X11Windows::motifHintsOfferMinimise(id)) << "new flags write new hints";
    window.setClickThrough(false);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.winId(), id);
    EXPECT_FALSE(X11Windows::motifHintsOfferMinimise(id));
}

// Openbox minimises a window whatever its hints ask (from its window menu, or a pager's
// button); one with no taskbar entry has no way back but to return by itself. Both kinds
// that a window manager handles: the pet and its cards, and the bubbles typed into.
TEST(FloatingWindowX11, AWindowMinimisedByTheWindowManagerComesStraightBack)
{
    DesktopWindowManager desktop;
    if (!desktop.start())
        GTEST_SKIP() << "no window manager on the display, and openbox is not installed";
    Screens screens;
    for (const auto focus : { FloatingWindow::Focus::Refuse, FloatingWindow::Focus::Accept }) {
        FloatingWindow window(focus, screens);
        window.setModelFrame(QRectF(200, 200, 160, 120));
        window.show();
        // Managed and shown: the window manager has given it its normal state.
        const auto managed = [&] {
            const std::vector<uint32_t> state = property(window.winId(), "WM_STATE", atom("WM_STATE"));
            return !state.empty() && state.front() == 1;
        };
        ASSERT_TRUE(waitUntil(managed)) << "the window manager never showed the window";
        bool minimisedSeen = false;
        const QMetaObject::Connection seen = QObject::connect(window.windowHandle(), &QWindow::windowStateChanged,
            [&](Qt::WindowState state) { minimisedSeen = minimisedSeen || state == Qt::WindowMinimized; });
        X11Windows::minimise(window.winId());
        ASSERT_TRUE(waitUntil([&] { return minimisedSeen; })) << "the window manager did not minimise it";
        EXPECT_TRUE(waitUntil([&] {
            return managed() && !X11Windows::isIconic(window.winId()) && !window.isMinimized();
        })) << "the window stayed minimised";
        QObject::disconnect(seen);
    }
}

TEST(FloatingWindowX11, EveryFadeStepReachesTheServerWhileNothingElseHappens)
{
    Screens screens;
    FloatingWindow window(FloatingWindow::Focus::Refuse, screens);
    window.setModelFrame(QRectF(100, 100, 128, 128));
    window.show();
    ASSERT_TRUE(waitUntil([&] { return window.windowHandle()->isExposed(); }));
    window.fadeTo(0.3, 0);

    // What a compositor sees: the property as the server holds it, read on a connection of
    // its own, so that reading does not push out what the window has left unsent.
    xcb_connection_t* observer = xcb_connect(nullptr, nullptr);
    ASSERT_EQ(xcb_connection_has_error(observer), 0);
    const auto opacityAtom = [&] {
        const char* name = "_NET_WM_WINDOW_OPACITY";
        const auto cookie = xcb_intern_atom(observer, 0, static_cast<uint16_t>(std::strlen(name)), name);
        std::unique_ptr<xcb_intern_atom_reply_t, FreeDeleter> reply(xcb_intern_atom_reply(observer, cookie, nullptr));
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }();
    const auto serverOpacity = [&]() -> double {
        const auto cookie = xcb_get_property(
            observer, 0, static_cast<xcb_window_t>(window.winId()), opacityAtom, XCB_ATOM_CARDINAL, 0, 1);
        std::unique_ptr<xcb_get_property_reply_t, FreeDeleter> reply(xcb_get_property_reply(observer, cookie, nullptr));
        if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 4)
            return 1.0; // no property means fully opaque
        return *static_cast<const uint32_t*>(xcb_get_property_value(reply.get())) / double(0xFFFFFFFFu);
    };
    ASSERT_TRUE(waitUntil([&] { return std::abs(serverOpacity() - 0.3) < 0.01; }));

    std::vector<double> seen;
    window.fadeTo(1.0, 1000, {}, QEasingCurve::Linear);
    waitUntil([&] {
        seen.push_back(serverOpacity());
        return !window.isFading();
    });
    waitUntil([&] { return false; }, 100);
    seen.push_back(serverOpacity());
    xcb_disconnect(observer);

    const auto between = std::count_if(seen.begin(), seen.end(), [](double a) { return a > 0.35 && a < 0.95; });
    std::vector<double> distinct(seen);
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    EXPECT_GE(distinct.size(), 5U) << "the fade jumped instead of stepping";
    EXPECT_GT(between, 0);
    EXPECT_NEAR(seen.back(), 1.0, 0.01);
}

TEST(FloatingWindowX11, AMoveIsKnownAtOnceAndQtFollowsTheWindowSystem)
{
    Screens screens;
    FloatingWindow window(FloatingWindow::Focus::Refuse, screens);
    window.setModelFrame(QRectF(100, 100, 128, 128));
    window.show();
    ASSERT_TRUE(waitUntil([&] { return window.windowHandle()->isExposed(); }));
    int moves = 0;
    QObject::connect(window.windowHandle(), &QWindow::xChanged, [&] { ++moves; });

    for (const QPointF origin : { QPointF(300, 200), QPointF(310, 205), QPointF(300, 200) }) {
        window.setModelOrigin(origin);
        EXPECT_EQ(window.modelFrame(), QRectF(origin, QSizeF(128, 128))) << "known before the window system answers";
    }
    const QPoint expected = screens.toQtRect(QRectF(300, 200, 128, 128)).topLeft();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection())).data->root;
    const auto serverPosition = [&] {
        const auto cookie
            = xcb_translate_coordinates(connection(), static_cast<xcb_window_t>(window.winId()), root, 0, 0);
        std::unique_ptr<xcb_translate_coordinates_reply_t, FreeDeleter> reply(
            xcb_translate_coordinates_reply(connection(), cookie, nullptr));
        return reply ? QPoint(reply->dst_x, reply->dst_y) : QPoint(-1, -1);
    };
    ASSERT_TRUE(waitUntil([&] { return window.pos() == expected && serverPosition() == expected; }));
    EXPECT_GT(moves, 0) << "Qt hears of the move, so whoever follows the window's move events does";
    EXPECT_EQ(window.modelFrame(), QRectF(300, 200, 128, 128));

    // A resize goes through Qt as before.
    window.setModelFrame(QRectF(50, 60, 100, 80));
    EXPECT_EQ(window.modelFrame(), QRectF(50, 60, 100, 80));
}
