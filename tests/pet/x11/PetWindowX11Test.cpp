// The pet window on a real X server: placed where the stored position says, on every
// desktop, taking the pointer only over the drawn cat and lifted to full opacity there.
#include "StackingWindowManager.h"

#include "pet/AutoBehaviorManager.h"
#include "pet/DoNotDisturbManager.h"
#include "pet/DragEventHandler.h"
#include "pet/InteractionHandler.h"
#include "pet/LottieAnimationManager.h"
#include "pet/LottiePetView.h"
#include "pet/OpacityManager.h"
#include "pet/PetAppearanceManager.h"
#include "pet/PetState.h"
#include "pet/PetWindowAssembler.h"
#include "pet/WindowManager.h"
#include "platform/Defaults.h"
#include "platform/FloatingWindow.h"
#include "platform/Resources.h"
#include "platform/Screens.h"
#include "support/Wait.h"

#include <QCursor>
#include <QGuiApplication>
#include <QJsonArray>
#include <QScreen>
#include <QTemporaryDir>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>

namespace {

uint32_t desktopOf(WId window)
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11->connection();
    const char* name = "_NET_WM_DESKTOP";
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, uint16_t(std::strlen(name)), name), nullptr), &std::free);
    if (!atom)
        return 0;
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(
            c, xcb_get_property(c, 0, xcb_window_t(window), atom->atom, XCB_ATOM_CARDINAL, 0, 1), nullptr),
        &std::free);
    if (!reply || xcb_get_property_value_length(reply.get()) < 4)
        return 0;
    return *static_cast<uint32_t*>(xcb_get_property_value(reply.get()));
}

} // namespace

namespace {

xcb_window_t windowUnderPointer()
{
    xcb_connection_t* c = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    std::unique_ptr<xcb_query_pointer_reply_t, decltype(&std::free)> reply(
        xcb_query_pointer_reply(c, xcb_query_pointer(c, root), nullptr), &std::free);
    return reply ? reply->child : xcb_window_t(XCB_WINDOW_NONE);
}

} // namespace

TEST(PetWindowX11, StandsAtTheStoredPlaceOnEveryDesktopAndTakesThePointerOnlyOverTheCat)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    StackingWindowManager windowManager;
    ASSERT_TRUE(windowManager.start()) << "another window manager runs on this display";
    const auto waitFor = [&](const std::function<bool()>& condition) {
        return waitUntil([&] {
            windowManager.pump();
            return condition();
        });
    };
    QTemporaryDir dir;
    Defaults defaults(dir.filePath(QStringLiteral("defaults.json")));
    Screens screens;
    Resources resources(Resources::locateRoot());
    defaults.setValue(PetState::positionKey, QJsonArray { 200, 150 });
    PetState petState(defaults, screens);
    PetAppearanceManager appearance(defaults);
    LottieAnimationManager animations(appearance, resources);
    InteractionHandler clicks(petState, screens);
    WindowManager manager(petState, screens, animations, clicks);
    // The parts the program joins to each pet window; the pet stays where it was put.
    AutoBehaviorManager scheduler(petState, manager, screens);
    scheduler.stopBehaviorSystem();
    DoNotDisturbManager doNotDisturb(defaults, screens, manager, petState, scheduler);
    DragEventHandler dragging(screens, petState, doNotDisturb);
    OpacityManager opacity(defaults, manager);
    opacity.setDefaultOpacity(0.5);
    PetWindowAssembler assembler(manager, opacity, dragging, doNotDisturb, clicks);

    // What lies below the pet gets the clicks on its empty pixels.
    QWidget below;
    below.setGeometry(150, 100, 300, 300);
    below.show();
    manager.createPetWindow();
    FloatingWindow* window = manager.petWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(waitFor([&] { return window->windowHandle() && window->windowHandle()->isExposed(); }));
    EXPECT_EQ(window->frameGeometry().topLeft(), QPoint(200, 150));
    EXPECT_EQ(desktopOf(window->winId()), 0xFFFFFFFFu);
    EXPECT_TRUE(waitFor([&] { return qAbs(window->windowOpacity() - 0.5) < 0.01; }));

    const QImage drawn = manager.petView()->grab().toImage();
    const QPoint corner(2, 2);
    const QPoint middle = window->rect().center();
    ASSERT_EQ(qAlpha(drawn.pixel(corner)), 0) << "the cat is expected to leave the window's corner empty";
    ASSERT_GT(qAlpha(drawn.pixel(middle)), 0) << "the cat is expected to fill the window's middle";

    const auto pointAt = [&](QPoint p) { QCursor::setPos(window->mapToGlobal(p)); };
    pointAt(corner);
    EXPECT_TRUE(waitFor([&] { return windowUnderPointer() == xcb_window_t(below.winId()); }))
        << "a click on the empty corner must reach the window below";
    pointAt(middle);
    EXPECT_TRUE(waitFor([&] { return windowUnderPointer() == xcb_window_t(window->winId()); }));
    ASSERT_TRUE(waitFor([&] { return opacity.isMouseInside(); }));
    EXPECT_TRUE(waitFor([&] { return window->windowOpacity() > 0.99; }));
    pointAt(corner);
    ASSERT_TRUE(waitFor([&] { return !opacity.isMouseInside(); })) << "the hover ends where the cat does";
    EXPECT_TRUE(waitFor([&] { return qAbs(window->windowOpacity() - 0.5) < 0.01; }));
}
