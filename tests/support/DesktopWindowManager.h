#pragma once

// A real desktop window manager on the test display, for what the stand-ins do not do
// (minimising and restoring): openbox, started for the test and ended with it, unless a
// window manager runs on the display already. Also reads back what the window manager and
// the program leave on a window: its ICCCM state and the Motif hints.
#include "support/Wait.h"

#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace X11Windows {

inline xcb_connection_t* connection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

inline xcb_atom_t atom(const char* name)
{
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(
            connection(), xcb_intern_atom(connection(), 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

/// The 32-bit values of a window's property of any type; empty when it has none.
inline std::vector<uint32_t> property(WId window, const char* name)
{
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(connection(),
            xcb_get_property(connection(), 0, xcb_window_t(window), atom(name), XCB_GET_PROPERTY_TYPE_ANY, 0, 64),
            nullptr),
        &std::free);
    if (!reply || reply->format != 32)
        return {};
    const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    return { values, values + xcb_get_property_value_length(reply.get()) / 4 };
}

/// Whether the window manager holds the window minimised: iconic in its ICCCM state, or
/// hidden in its EWMH one.
inline bool isIconic(WId window)
{
    constexpr uint32_t iconicState = 3;
    const std::vector<uint32_t> state = property(window, "WM_STATE");
    const std::vector<uint32_t> netState = property(window, "_NET_WM_STATE");
    return (!state.empty() && state.front() == iconicState)
        || std::find(netState.begin(), netState.end(), atom("_NET_WM_STATE_HIDDEN")) != netState.end();
}

/// Asks the window manager to minimise the window, as its own minimise button would.
inline void minimise(WId window)
{
    constexpr uint32_t iconicState = 3;
    xcb_client_message_event_t event {};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = xcb_window_t(window);
    event.type = atom("WM_CHANGE_STATE");
    event.data.data32[0] = iconicState;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection())).data->root;
    xcb_send_event(connection(), 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char*>(&event));
    xcb_flush(connection());
}

/// Whether the window's Motif hints leave a window manager free to offer minimising it, as
/// a function or as a button.
inline bool motifHintsOfferMinimise(WId window)
{
    constexpr uint32_t functionsGiven = 1, decorationsGiven = 2, all = 1;
    constexpr uint32_t minimiseFunction = 8, minimiseDecoration = 32;
    const std::vector<uint32_t> hints = property(window, "_MOTIF_WM_HINTS");
    if (hints.size() < 3)
        return true;
    // With "all" set, the other bits name what is taken away.
    const auto offers = [&](uint32_t given, uint32_t field, uint32_t bit) {
        if (!(hints[0] & given))
            return true;
        return (hints[field] & all) ? !(hints[field] & bit) : (hints[field] & bit) != 0;
    };
    return offers(functionsGiven, 1, minimiseFunction) || offers(decorationsGiven, 2, minimiseDecoration);
}

} // namespace X11Windows

class DesktopWindowManager
{
public:
    DesktopWindowManager() = default;
    ~DesktopWindowManager()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            if (!m_process.waitForFinished(3000))
                m_process.kill();
            m_process.waitForFinished(1000);
        }
    }
    DesktopWindowManager(const DesktopWindowManager&) = delete;
    DesktopWindowManager& operator=(const DesktopWindowManager&) = delete;

    [[nodiscard]] static bool isInstalled() { return !QStandardPaths::findExecutable(program()).isEmpty(); }

    /// True once a window manager runs on the display: the one there already, or openbox
    /// started now.
    bool start()
    {
        if (!X11Windows::connection())
            return false;
        if (announcement(Need::name))
            return true;
        if (!isInstalled())
            return false;
        m_process.setProgram(program());
        // No session manager here; its own menu and configuration are its defaults.
        m_process.setArguments({ QStringLiteral("--sm-disable") });
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start();
        return m_process.waitForStarted() && waitUntil([] { return announcement(Need::clientList); });
    }

private:
    static QString program() { return QStringLiteral("openbox"); }

    enum class Need { name, clientList };
    /// Whether a window manager following EWMH has announced itself: it names a window of its
    /// own on the root window, and that window names itself (a name left by one that has gone
    /// leads nowhere). Openbox names itself before it handles the windows that ask to be
    /// shown, and one mapped meanwhile may stay unmapped; its list of clients comes once it
    /// does. Read on a connection of its own, so that Qt hears of no error.
    static bool announcement(Need need)
    {
        xcb_connection_t* probe = xcb_connect(nullptr, nullptr);
        const auto valueOf = [probe](xcb_window_t window, const char* name) {
            const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
                xcb_intern_atom_reply(
                    probe, xcb_intern_atom(probe, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr),
                &std::free);
            const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(atom
                    ? xcb_get_property_reply(
                        probe, xcb_get_property(probe, 0, window, atom->atom, XCB_ATOM_WINDOW, 0, 1), nullptr)
                    : nullptr,
                &std::free);
            if (!reply || reply->format != 32 || reply->type != XCB_ATOM_WINDOW)
                return std::optional<xcb_window_t>();
            return std::optional<xcb_window_t>(xcb_get_property_value_length(reply.get()) >= 4
                    ? *static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get()))
                    : xcb_window_t(XCB_WINDOW_NONE));
        };
        bool announced = false;
        if (!xcb_connection_has_error(probe)) {
            const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(probe)).data->root;
            const auto own = valueOf(root, "_NET_SUPPORTING_WM_CHECK");
            announced = own && *own != XCB_WINDOW_NONE && valueOf(*own, "_NET_SUPPORTING_WM_CHECK") == own
                && (need == Need::name || valueOf(root, "_NET_CLIENT_LIST"));
        }
        xcb_disconnect(probe);
        return announced;
    }

    QProcess m_process;
};
