// Real pointer clicks on the pet's clones under a window manager that frames windows: the
// clones are shown only, so clicks on a clone's cat and on its empty corner both reach the
// window below.
#include "pet/MultiPetManager.h"
#include "platform/FloatingWindow.h"
#include "support/FakeRandom.h"
#include "support/FramingWindowManager.h"
#include "support/PetRig.h"
#include "support/RealClicks.h"
#include "support/Wait.h"

#include <QWindow>

#include <gtest/gtest.h>

#include <algorithm>

TEST(CloneClicksX11, ClicksOnClonesReachTheWindowBelow)
{
    if (!canClick())
        GTEST_SKIP() << "xdotool is not installed";
    // Under the stand-in, unless a real window manager runs on the display.
    FramingWindowManager windowManager;
    windowManager.start();

    PetRig rig({ QRect(0, 0, 1440, 900), QRect(0, 25, 1440, 875) });
    rig.petState.updatePosition(QPointF(1250, 700));
    rig.windowManager.createPetWindow();
    FloatingWindow* pet = rig.windowManager.petWindow();
    ASSERT_TRUE(windowManager.waitUntil([&] { return pet->windowHandle()->isExposed(); }));
    PressCounter below;
    below.setGeometry(100, 100, 1200, 600);
    below.show();
    ASSERT_TRUE(windowManager.waitUntil([&] { return below.windowHandle() && below.windowHandle()->isExposed(); }));

    // Ten clones side by side in two rows over the window below: behaviour, x and y each.
    FakeRandom random;
    for (int i = 0; i < MultiPetManager::cloneCount; ++i) {
        random.ints.append(i % 8);
        random.reals.append(150.0 + (i % 5) * 200);
        random.reals.append(i < 5 ? 500.0 : 250.0);
    }
    MultiPetManager clones(rig.defaults, rig.screens, rig.windowManager, rig.animations, &random);
    clones.setCloneDismissTime(60.0); // they stay while clicks that fail wait for their time-out
    clones.performTransformation();
    const QList<FloatingWindow*> windows = clones.clonedWindows();
    ASSERT_EQ(windows.size(), MultiPetManager::cloneCount);
    ASSERT_TRUE(windowManager.waitUntil([&] {
        return std::all_of(windows.begin(), windows.end(),
            [](FloatingWindow* w) { return w->windowHandle()->isExposed() && !w->isFading(); });
    }));

    // The pet stays in front of its clones.
    if (const xcb_window_t petFrame = windowManager.frameOf(xcb_window_t(pet->winId()))) {
        const auto placeOf = [&](xcb_window_t w) {
            const std::vector<xcb_window_t> stack = windowManager.stack();
            return std::find(stack.begin(), stack.end(), w) - stack.begin();
        };
        for (FloatingWindow* clone : windows)
            EXPECT_LT(placeOf(xcb_window_t(clone->winId())), placeOf(petFrame));
    }

    int clicks = 0;
    for (const QRect& onScreen : { windows.at(0)->geometry(), windows.at(7)->geometry() }) {
        for (const QPoint at : { onScreen.center(), onScreen.topLeft() + QPoint(3, 3) }) {
            ASSERT_TRUE(clickAt(at));
            ++clicks;
            EXPECT_TRUE(windowManager.waitUntil([&] { return below.presses == clicks; }))
                << "a click at " << at.x() << ", " << at.y() << " was caught";
            below.presses = clicks;
        }
    }
}
