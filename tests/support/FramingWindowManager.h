#pragma once

// A stand-in window manager that frames the windows it manages, as openbox and most other
// desktop window managers do: each top-level window asking to be mapped is reparented into a
// frame window of its own size, and the frame takes the pointer over its whole area. Like
// openbox, it copies onto the frame a change of the window's input shape made while the
// window is managed, but not a shape the window already had when it asked to be mapped.
// Windows that bypass window managers (override-redirect) are not framed. The frame mapped
// or raised last is on top of the frames, and like openbox's, the frames stay below a window
// of the manager's own that it made at its start, so a window bypassing the manager that
// opens later stays above every frame.
#include "support/Wait.h"

#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <sys/uio.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class FramingWindowManager
{
public:
    FramingWindowManager()
        : m_c(xcb_connect(nullptr, nullptr))
    {
    }
    ~FramingWindowManager() { xcb_disconnect(m_c); }
    FramingWindowManager(const FramingWindowManager&) = delete;
    FramingWindowManager& operator=(const FramingWindowManager&) = delete;

    /// False when another window manager runs on the display.
    bool start()
    {
        if (xcb_connection_has_error(m_c))
            return false;
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_c)).data->root;
        if (const xcb_query_extension_reply_t* shape = xcb_get_extension_data(m_c, &shapeExtension());
            shape && shape->present)
            m_shapeEvent = shape->first_event;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT;
        xcb_generic_error_t* error
            = xcb_request_check(m_c, xcb_change_window_attributes_checked(m_c, m_root, XCB_CW_EVENT_MASK, &mask));
        std::free(error);
        if (error)
            return false;
        m_ceiling = xcb_generate_id(m_c);
        const uint32_t bypass = 1;
        xcb_create_window(m_c, XCB_COPY_FROM_PARENT, m_ceiling, m_root, -100, -100, 1, 1, 0,
            XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_OVERRIDE_REDIRECT, &bypass);
        xcb_map_window(m_c, m_ceiling);
        xcb_flush(m_c);
        return true;
    }

    /// The top-level windows from bottom to top.
    std::vector<xcb_window_t> stack()
    {
        std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> tree(
            xcb_query_tree_reply(m_c, xcb_query_tree(m_c, m_root), nullptr), &std::free);
        if (!tree)
            return {};
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        return { children, children + xcb_query_tree_children_length(tree.get()) };
    }

    /// Handles what has arrived; call it while waiting.
    void pump()
    {
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_c)) {
            const uint8_t type = event->response_type & 0x7F;
            switch (type) {
            case XCB_MAP_REQUEST:
                manage(reinterpret_cast<xcb_map_request_event_t*>(event)->window);
                break;
            case XCB_CONFIGURE_REQUEST:
                configure(*reinterpret_cast<xcb_configure_request_event_t*>(event));
                break;
            case XCB_UNMAP_NOTIFY:
                unmanage(reinterpret_cast<xcb_unmap_notify_event_t*>(event)->window, false);
                break;
            case XCB_DESTROY_NOTIFY:
                unmanage(reinterpret_cast<xcb_destroy_notify_event_t*>(event)->window, true);
                break;
            default:
                if (m_shapeEvent != 0 && type == m_shapeEvent)
                    shapeChanged(*reinterpret_cast<const ShapeNotify*>(event));
                break;
            }
            std::free(event);
        }
        xcb_flush(m_c);
    }

    /// Runs the event loop, handling the manager's events too, until the condition holds or
    /// the time is up; returns the condition.
    bool waitUntil(const std::function<bool()>& condition)
    {
        return ::waitUntil([&] {
            pump();
            return condition();
        });
    }

    /// The frame around a managed window; XCB_WINDOW_NONE for a window not framed.
    [[nodiscard]] xcb_window_t frameOf(xcb_window_t window) const
    {
        const auto found = m_frames.find(window);
        return found == m_frames.end() ? xcb_window_t(XCB_WINDOW_NONE) : found->second;
    }

private:
    // The SHAPE extension's wire format: its client library is not among the build's
    // dependencies, and three messages are all this needs.
    static constexpr uint8_t shapeCombine = 3;
    static constexpr uint8_t shapeSelectInput = 6;
    static constexpr uint8_t shapeInput = 2;
    struct ShapeNotify
    {
        uint8_t responseType;
        uint8_t kind;
        uint16_t sequence;
        xcb_window_t window;
    };
    struct CombineRequest
    {
        uint8_t major;
        uint8_t minor;
        uint16_t length;
        uint8_t operation;
        uint8_t destinationKind;
        uint8_t sourceKind;
        uint8_t pad;
        xcb_window_t destination;
        int16_t x;
        int16_t y;
        xcb_window_t source;
    };
    struct SelectInputRequest
    {
        uint8_t major;
        uint8_t minor;
        uint16_t length;
        xcb_window_t window;
        uint8_t enable;
        uint8_t pad[3];
    };

    static xcb_extension_t& shapeExtension()
    {
        static xcb_extension_t extension = { "SHAPE", 0 };
        return extension;
    }

    template<typename Request>
    void sendShape(uint8_t opcode, Request& request)
    {
        request.minor = opcode;
        iovec parts[3] {};
        parts[2] = { &request, sizeof(request) };
        const xcb_protocol_request_t protocol = { 1, &shapeExtension(), opcode, 1 };
        xcb_send_request(m_c, 0, parts + 2, &protocol);
    }

    void manage(xcb_window_t window)
    {
        xcb_window_t frame = frameOf(window);
        if (frame == XCB_WINDOW_NONE) {
            std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> geometry(
                xcb_get_geometry_reply(m_c, xcb_get_geometry(m_c, window), nullptr), &std::free);
            if (!geometry)
                return;
            frame = xcb_generate_id(m_c);
            const uint32_t values[]
                = { XCB_BACK_PIXMAP_NONE, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY };
            xcb_create_window(m_c, XCB_COPY_FROM_PARENT, frame, m_root, geometry->x, geometry->y, geometry->width,
                geometry->height, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
                XCB_CW_BACK_PIXMAP | XCB_CW_EVENT_MASK, values);
            xcb_change_save_set(m_c, XCB_SET_MODE_INSERT, window);
            xcb_reparent_window(m_c, window, frame, 0, 0);
            if (m_shapeEvent != 0) {
                SelectInputRequest select {};
                select.length = sizeof(select) / 4;
                select.window = window;
                select.enable = 1;
                sendShape(shapeSelectInput, select);
            }
            m_frames[window] = frame;
            m_places[window] = { geometry->x, geometry->y };
        }
        xcb_map_window(m_c, window);
        xcb_map_window(m_c, frame);
        raise(frame);
        tellPlace(window);
    }

    void raise(xcb_window_t frame)
    {
        const uint32_t values[] = { m_ceiling, XCB_STACK_MODE_BELOW };
        xcb_configure_window(m_c, frame, XCB_CONFIG_WINDOW_SIBLING | XCB_CONFIG_WINDOW_STACK_MODE, values);
    }

    // A hidden window goes back to the root, so that its empty frame takes no clicks.
    void unmanage(xcb_window_t window, bool destroyed)
    {
        const xcb_window_t frame = frameOf(window);
        if (frame == XCB_WINDOW_NONE)
            return;
        if (!destroyed) {
            const auto [x, y] = m_places[window];
            xcb_reparent_window(m_c, window, m_root, x, y);
            xcb_change_save_set(m_c, XCB_SET_MODE_DELETE, window);
        }
        xcb_destroy_window(m_c, frame);
        m_frames.erase(window);
        m_places.erase(window);
    }

    void configure(const xcb_configure_request_event_t& request)
    {
        const xcb_window_t frame = frameOf(request.window);
        if (frame == XCB_WINDOW_NONE) {
            // Not managed yet: as asked.
            pass(request, request.window, request.value_mask);
            return;
        }
        auto& [x, y] = m_places[request.window];
        if (request.value_mask & XCB_CONFIG_WINDOW_X)
            x = request.x;
        if (request.value_mask & XCB_CONFIG_WINDOW_Y)
            y = request.y;
        pass(request, frame,
            request.value_mask
                & (XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT));
        pass(request, request.window, request.value_mask & (XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT));
        if (request.value_mask & XCB_CONFIG_WINDOW_STACK_MODE)
            raise(frame);
        tellPlace(request.window);
    }

    void pass(const xcb_configure_request_event_t& request, xcb_window_t target, uint16_t mask)
    {
        uint32_t values[7];
        int count = 0;
        uint16_t sent = 0;
        const auto add = [&](uint16_t bit, uint32_t value) {
            if (mask & bit) {
                values[count++] = value;
                sent |= bit;
            }
        };
        add(XCB_CONFIG_WINDOW_X, uint32_t(request.x));
        add(XCB_CONFIG_WINDOW_Y, uint32_t(request.y));
        add(XCB_CONFIG_WINDOW_WIDTH, request.width);
        add(XCB_CONFIG_WINDOW_HEIGHT, request.height);
        if (sent)
            xcb_configure_window(m_c, target, sent, values);
    }

    // A framed window's own place is its frame's corner; the window learns it from the
    // window manager, as the window-manager conventions ask.
    void tellPlace(xcb_window_t window)
    {
        std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> geometry(
            xcb_get_geometry_reply(m_c, xcb_get_geometry(m_c, window), nullptr), &std::free);
        if (!geometry)
            return;
        const auto [x, y] = m_places[window];
        xcb_configure_notify_event_t notify {};
        notify.response_type = XCB_CONFIGURE_NOTIFY;
        notify.event = window;
        notify.window = window;
        notify.above_sibling = XCB_WINDOW_NONE;
        notify.x = x;
        notify.y = y;
        notify.width = geometry->width;
        notify.height = geometry->height;
        xcb_send_event(m_c, 0, window, XCB_EVENT_MASK_STRUCTURE_NOTIFY, reinterpret_cast<const char*>(&notify));
    }

    void shapeChanged(const ShapeNotify& notify)
    {
        const xcb_window_t frame = frameOf(notify.window);
        if (notify.kind != shapeInput || frame == XCB_WINDOW_NONE)
            return;
        CombineRequest combine {};
        combine.length = sizeof(combine) / 4;
        combine.destinationKind = shapeInput;
        combine.sourceKind = shapeInput;
        combine.destination = frame;
        combine.source = notify.window;
        sendShape(shapeCombine, combine);
    }

    xcb_connection_t* m_c;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    xcb_window_t m_ceiling = XCB_WINDOW_NONE;
    uint8_t m_shapeEvent = 0;
    std::map<xcb_window_t, xcb_window_t> m_frames;
    std::map<xcb_window_t, std::pair<int16_t, int16_t>> m_places;
};
