#pragma once

// A stand-in window manager that keeps the two stacking layers desktop window managers keep:
// windows in the stays-on-top state (_NET_WM_STATE_ABOVE) over all others, and within each
// layer the one mapped or raised last on top. Given a panel height, it also keeps every
// window clear of a panel along the top of the screen, as desktop window managers do.
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

class StackingWindowManager
{
public:
    explicit StackingWindowManager(int panelHeight = 0)
        : m_c(xcb_connect(nullptr, nullptr))
        , m_panelHeight(panelHeight)
    {
    }
    ~StackingWindowManager() { xcb_disconnect(m_c); }
    StackingWindowManager(const StackingWindowManager&) = delete;
    StackingWindowManager& operator=(const StackingWindowManager&) = delete;

    /// False when another window manager runs on the display.
    bool start()
    {
        if (xcb_connection_has_error(m_c))
            return false;
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_c)).data->root;
        m_state = atom("_NET_WM_STATE");
        m_above = atom("_NET_WM_STATE_ABOVE");
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT;
        xcb_generic_error_t* error
            = xcb_request_check(m_c, xcb_change_window_attributes_checked(m_c, m_root, XCB_CW_EVENT_MASK, &mask));
        std::free(error);
        return error == nullptr;
    }

    /// Handles what has arrived; call it while waiting.
    void pump()
    {
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_c)) {
            switch (event->response_type & 0x7F) {
            case XCB_MAP_REQUEST: {
                const xcb_window_t window = reinterpret_cast<xcb_map_request_event_t*>(event)->window;
                keepBelowPanel(window);
                xcb_map_window(m_c, window);
                raise(window);
                break;
            }
            case XCB_CONFIGURE_REQUEST:
                configure(*reinterpret_cast<xcb_configure_request_event_t*>(event));
                break;
            default:
                break;
            }
            std::free(event);
        }
        xcb_flush(m_c);
    }

    /// The top-level windows from bottom to top.
    std::vector<xcb_window_t> stack()
    {
        Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(m_c, xcb_query_tree(m_c, m_root), nullptr), &std::free);
        if (!tree)
            return {};
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        return { children, children + xcb_query_tree_children_length(tree.get()) };
    }

private:
    template<typename T>
    using Reply = std::unique_ptr<T, decltype(&std::free)>;

    xcb_atom_t atom(const char* name)
    {
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(m_c, xcb_intern_atom(m_c, 0, uint16_t(std::strlen(name)), name), nullptr),
            &std::free);
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

    bool isAbove(xcb_window_t window)
    {
        std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
            xcb_get_property_reply(m_c, xcb_get_property(m_c, 0, window, m_state, XCB_ATOM_ATOM, 0, 32), nullptr),
            &std::free);
        if (!reply)
            return false;
        const auto* states = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
        const int count = xcb_get_property_value_length(reply.get()) / 4;
        return std::find(states, states + count, m_above) != states + count;
    }

    bool isViewable(xcb_window_t window)
    {
        std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> reply(
            xcb_get_window_attributes_reply(m_c, xcb_get_window_attributes(m_c, window), nullptr), &std::free);
        return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
    }

    // A window manager decides where a window goes before it maps it.
    void keepBelowPanel(xcb_window_t window)
    {
        if (m_panelHeight <= 0)
            return;
        Reply<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(m_c, xcb_get_geometry(m_c, window), nullptr), &std::free);
        if (geometry && geometry->y < m_panelHeight) {
            const uint32_t y = uint32_t(m_panelHeight);
            xcb_configure_window(m_c, window, XCB_CONFIG_WINDOW_Y, &y);
        }
    }

    // To the top of the window's own layer: an ordinary window goes right below the lowest
    // stays-on-top one.
    void raise(xcb_window_t window)
    {
        if (!isAbove(window)) {
            for (const xcb_window_t other : stack()) {
                if (other != window && isViewable(other) && isAbove(other)) {
                    const uint32_t values[] = { other, XCB_STACK_MODE_BELOW };
                    xcb_configure_window(m_c, window, XCB_CONFIG_WINDOW_SIBLING | XCB_CONFIG_WINDOW_STACK_MODE, values);
                    return;
                }
            }
        }
        const uint32_t top = XCB_STACK_MODE_ABOVE;
        xcb_configure_window(m_c, window, XCB_CONFIG_WINDOW_STACK_MODE, &top);
    }

    void configure(const xcb_configure_request_event_t& request)
    {
        std::vector<uint32_t> values;
        uint16_t mask = 0;
        const auto add = [&](uint16_t bit, uint32_t value) {
            if (request.value_mask & bit) {
                mask |= bit;
                values.push_back(value);
            }
        };
        add(XCB_CONFIG_WINDOW_X, uint32_t(request.x));
        add(XCB_CONFIG_WINDOW_Y, uint32_t(std::max<int>(request.y, m_panelHeight)));
        add(XCB_CONFIG_WINDOW_WIDTH, request.width);
        add(XCB_CONFIG_WINDOW_HEIGHT, request.height);
        if (mask)
            xcb_configure_window(m_c, request.window, mask, values.data());
        if (request.value_mask & XCB_CONFIG_WINDOW_STACK_MODE)
            raise(request.window);
    }

    xcb_connection_t* m_c;
    int m_panelHeight;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    xcb_atom_t m_state = XCB_ATOM_NONE;
    xcb_atom_t m_above = XCB_ATOM_NONE;
};
