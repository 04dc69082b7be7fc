// Runs on the real X server with a stand-in window manager that keeps windows clear of a
// panel along the top of the screen, as desktop window managers do.
#include "pet/SpeechBubbleWindowManager.h"

#include "platform/FloatingWindow.h"
#include "support/LogLines.h"
#include "support/PetRig.h"
#include "support/Wait.h"

#include <QWindow>

#include <xcb/xcb.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

/// Takes the window-management role on the display: maps what asks to be mapped and moves
/// every window whose top would lie under the panel down below it.
class PanelKeepingWindowManager
{
public:
    static constexpr int panelHeight = 40;

    PanelKeepingWindowManager()
        : m_connection(xcb_connect(nullptr, nullptr))
    {
    }
    ~PanelKeepingWindowManager() { xcb_disconnect(m_connection); }
    PanelKeepingWindowManager(const PanelKeepingWindowManager&) = delete;
    PanelKeepingWindowManager& operator=(const PanelKeepingWindowManager&) = delete;

    bool start()
    {
        if (xcb_connection_has_error(m_connection))
            return false;
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT;
        xcb_generic_error_t* error = xcb_request_check(
            m_connection, xcb_change_window_attributes_checked(m_connection, root, XCB_CW_EVENT_MASK, &mask));
        std::free(error);
        return error == nullptr;
    }

    /// Handles what has arrived; call it while waiting.
    void pump()
    {
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
            switch (event->response_type & 0x7F) {
            case XCB_MAP_REQUEST:
                place(reinterpret_cast<xcb_map_request_event_t*>(event)->window);
                break;
            case XCB_CONFIGURE_REQUEST:
                configure(*reinterpret_cast<xcb_configure_request_event_t*>(event));
                break;
            default:
                break;
            }
            std::free(event);
        }
        xcb_flush(m_connection);
    }

private:
    // A window manager decides where a window goes before it maps it.
    void place(xcb_window_t window)
    {
        xcb_get_geometry_reply_t* geometry
            = xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window), nullptr);
        if (geometry && geometry->y < panelHeight) {
            const uint32_t y = panelHeight;
            xcb_configure_window(m_connection, window, XCB_CONFIG_WINDOW_Y, &y);
        }
        std::free(geometry);
        xcb_map_window(m_connection, window);
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
        add(XCB_CONFIG_WINDOW_Y, uint32_t(std::max<int>(request.y, panelHeight)));
        add(XCB_CONFIG_WINDOW_WIDTH, request.width);
        add(XCB_CONFIG_WINDOW_HEIGHT, request.height);
        xcb_configure_window(m_connection, request.window, mask, values.data());
    }

    xcb_connection_t* m_connection;
};

struct BubblePlacement : ::testing::Test, PetRig
{
    // The Xvfb screen of the test run.
    BubblePlacement()
        : PetRig({ QRect(0, 0, 1440, 900), QRect(0, 0, 1440, 900) })
    {
    }

    SpeechBubbleWindowManager manager { windowManager };
};

} // namespace

TEST_F(BubblePlacement, TheLogSaysWhereTheWindowManagerPutTheBubble)
{
    // The pet at the very top: the bubble is asked for 4 pixels below the screen's top edge.
    petState.setPosition(QPointF(100, 0));
    windowManager.createPetWindow();
    ASSERT_TRUE(waitUntil([&] { return windowManager.petWindow()->windowHandle()->isExposed(); }));

    PanelKeepingWindowManager panelKeeper;
    ASSERT_TRUE(panelKeeper.start()) << "another window manager runs on this display";
    manager.showBubble(u"t"_s, u"m"_s, u"💧"_s);
    const QString placed = u"已添加宠物窗口位置观察者"_s;
    ASSERT_TRUE(waitUntil([&] {
        panelKeeper.pump();
        return loggedLines(u"SpeechBubble"_s).contains(placed);
    }));

    // Asked: top edge 4 px down, so y = 900 - 4 - 120; put: top edge at the panel's bottom.
    EXPECT_TRUE(loggedLines(u"SpeechBubble"_s)
                    .contains(u"✅ 气泡窗口已创建: 期望位置=(238.0, 776.0), 实际位置=(238.0, 740.0)"_s))
        << loggedLines(u"SpeechBubble"_s).join(u'\n').toStdString();
}
