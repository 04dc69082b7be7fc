#pragma once

// A real desktop window manager on the test display, for what the stand-ins do not do
// (minimising and restoring): openbox, started for the test and ended with it, unless a
// window manager runs on the display already. Also reads back what the window manager and
// the program leave on a window: its ICCCM state and the Motif hints.
#include "support/Wait.h"

#include <QCoreApplication>
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
    /// Ends the openbox it started and leaves the display as it found it: no window manager,
    /// none of its root window properties, the keyboard focus where it was, and the
    /// program's own connection told of all of it, so that the next test on the same
    /// display, in the same process, starts from where this one did.
    ~DesktopWindowManager()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(3000))
            m_process.kill();
        m_process.waitForFinished(1000);
        // The process is gone before the X server has noticed its connection close.
        waitUntil([] { return !announcement(); });
        restoreDisplay();
    }
    DesktopWindowManager(const DesktopWindowManager&) = delete;
    DesktopWindowManager& operator=(const DesktopWindowManager&) = delete;

    [[nodiscard]] static bool isInstalled() { return !QStandardPaths::findExecutable(program()).isEmpty(); }

    /// True once a window manager runs on the display and handles the windows that ask to
    /// be shown: the one there already, or openbox started now.
    bool start()
    {
        if (!X11Windows::connection())
            return false;
        if (announcement())
            return true;
        if (!isInstalled())
            return false;
        rememberDisplay();
        m_process.setProgram(program());
        // No session manager here; its own menu and configuration are its defaults.
        m_process.setArguments({ QStringLiteral("--sm-disable") });
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start();
        return m_process.waitForStarted() && waitUntil([] { return announcement(); }) && managesWindows();
    }

private:
    static QString program() { return QStringLiteral("openbox"); }

    using Reply = std::unique_ptr<void, decltype(&std::free)>;
    /// A connection of the manager's own, so that Qt hears of no error and sees none of
    /// the probing.
    class Probe
    {
    public:
        Probe()
            : c(xcb_connect(nullptr, nullptr))
        {
        }
        ~Probe() { xcb_disconnect(c); }
        Probe(const Probe&) = delete;
        Probe& operator=(const Probe&) = delete;
        [[nodiscard]] bool ok() const { return !xcb_connection_has_error(c); }
        [[nodiscard]] xcb_window_t root() const { return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root; }
        xcb_atom_t atom(const char* name) const
        {
            const Reply reply(xcb_intern_atom_reply(
                                  c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr),
                &std::free);
            return reply ? static_cast<xcb_intern_atom_reply_t*>(reply.get())->atom : xcb_atom_t(XCB_ATOM_NONE);
        }
        /// The window-typed values of a window's property; nothing when it has no such
        /// property.
        std::optional<std::vector<xcb_window_t>> windows(xcb_window_t window, const char* name) const
        {
            const Reply held(xcb_get_property_reply(
                                 c, xcb_get_property(c, 0, window, atom(name), XCB_ATOM_WINDOW, 0, 1024), nullptr),
                &std::free);
            const auto* reply = static_cast<xcb_get_property_reply_t*>(held.get());
            if (!reply || reply->format != 32 || reply->type != XCB_ATOM_WINDOW)
                return std::nullopt;
            const auto* values = static_cast<const xcb_window_t*>(xcb_get_property_value(reply));
            return std::vector<xcb_window_t>(values, values + xcb_get_property_value_length(reply) / 4);
        }
        [[nodiscard]] std::vector<xcb_atom_t> rootProperties() const
        {
            const Reply held(xcb_list_properties_reply(c, xcb_list_properties(c, root()), nullptr), &std::free);
            const auto* reply = static_cast<xcb_list_properties_reply_t*>(held.get());
            if (!reply)
                return {};
            const xcb_atom_t* atoms = xcb_list_properties_atoms(reply);
            return { atoms, atoms + xcb_list_properties_atoms_length(reply) };
        }

        xcb_connection_t* c;
    };

    /// Whether a window manager following EWMH has announced itself: it names a window of its
    /// own on the root window, and that window names itself (a name left by one that has gone
    /// leads nowhere).
    static bool announcement()
    {
        const Probe probe;
        if (!probe.ok())
            return false;
        const auto own = probe.windows(probe.root(), "_NET_SUPPORTING_WM_CHECK");
        if (!own || own->empty())
            return false;
        const auto self = probe.windows(own->front(), "_NET_SUPPORTING_WM_CHECK");
        return self && *self == *own;
    }

    /// Openbox names itself and lists its clients before its event loop runs, and drops a
    /// window that asks to be shown meanwhile: the window stays unmapped for good. How
    /// soon that loop runs depends on the machine, so a test could not tell. It is ready
    /// once it has managed a window of the manager's own, which then goes again.
    static bool managesWindows()
    {
        const Probe probe;
        if (!probe.ok())
            return false;
        const xcb_window_t window = xcb_generate_id(probe.c);
        xcb_create_window(probe.c, XCB_COPY_FROM_PARENT, window, probe.root(), 0, 0, 1, 1, 0,
            XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        // It takes no keyboard focus, so that it moves none.
        constexpr uint32_t inputHint = 1;
        const uint32_t hints[9] = { inputHint, 0 };
        xcb_change_property(probe.c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 32, 9, hints);
        const xcb_atom_t wmState = probe.atom("WM_STATE");
        const auto managed = [&] {
            const Reply held(
                xcb_get_property_reply(probe.c, xcb_get_property(probe.c, 0, window, wmState, wmState, 0, 1), nullptr),
                &std::free);
            const auto* reply = static_cast<xcb_get_property_reply_t*>(held.get());
            return reply && reply->type == wmState;
        };
        bool ready = false;
        // A request that came too early is dropped; a later one is handled.
        for (int attempt = 0; attempt < 10 && !ready; ++attempt) {
            xcb_map_window(probe.c, window);
            xcb_flush(probe.c);
            ready = ::waitUntil(managed, 500);
        }
        xcb_destroy_window(probe.c, window);
        xcb_flush(probe.c);
        const bool gone = ::waitUntil([&] {
            const auto clients = probe.windows(probe.root(), "_NET_CLIENT_LIST");
            return !clients || std::find(clients->begin(), clients->end(), window) == clients->end();
        });
        return ready && gone;
    }

    void rememberDisplay()
    {
        const Probe probe;
        if (!probe.ok())
            return;
        m_rootProperties = probe.rootProperties();
        const Reply held(xcb_get_input_focus_reply(probe.c, xcb_get_input_focus(probe.c), nullptr), &std::free);
        if (const auto* focus = static_cast<xcb_get_input_focus_reply_t*>(held.get()))
            m_focus = focus->focus;
    }

    /// Openbox clears most of what it put on the root window when it is asked to end, but
    /// not when it has to be killed; and it leaves the keyboard focus wherever it fell.
    void restoreDisplay()
    {
        {
            const Probe probe;
            if (!probe.ok())
                return;
            for (const xcb_atom_t property : probe.rootProperties()) {
                if (std::find(m_rootProperties.begin(), m_rootProperties.end(), property) == m_rootProperties.end())
                    xcb_delete_property(probe.c, probe.root(), property);
            }
            // The window that had it may have gone since; then it stays where openbox
            // left it.
            std::free(xcb_request_check(probe.c,
                xcb_set_input_focus_checked(probe.c, XCB_INPUT_FOCUS_POINTER_ROOT, m_focus, XCB_CURRENT_TIME)));
            std::free(xcb_get_input_focus_reply(probe.c, xcb_get_input_focus(probe.c), nullptr));
        }
        // The program's own connection hears of every change before the next test starts:
        // a round trip there brings in the events, and the loop hands them on.
        if (xcb_connection_t* own = X11Windows::connection()) {
            std::free(xcb_get_input_focus_reply(own, xcb_get_input_focus(own), nullptr));
            QCoreApplication::processEvents();
        }
    }

    QProcess m_process;
    std::vector<xcb_atom_t> m_rootProperties;
    xcb_window_t m_focus = XCB_INPUT_FOCUS_POINTER_ROOT;
};
