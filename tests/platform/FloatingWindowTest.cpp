#include "platform/FloatingWindow.h"
#include "platform/Screens.h"

#include "support/Wait.h"

#include <QPropertyAnimation>
#include <QWindow>

#include <gtest/gtest.h>

#include <limits>

namespace {

Screens& laptopScreens()
{
    static Screens* screens = new Screens({ { QRect(0, 0, 1440, 900), QRect(0, 25, 1440, 825) } });
    return *screens;
}

} // namespace

TEST(FloatingWindow, FloatsWithoutFocusUnlessAsked)
{
    FloatingWindow pet(FloatingWindow::Focus::Refuse, laptopScreens());
    const Qt::WindowFlags flags = pet.windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
    for (Qt::WindowType hint :
        { Qt::FramelessWindowHint, Qt::WindowStaysOnTopHint, Qt::NoDropShadowWindowHint, Qt::WindowDoesNotAcceptFocus })
        EXPECT_TRUE(flags.testFlag(hint)) << hint;
    EXPECT_TRUE(pet.testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_TRUE(pet.testAttribute(Qt::WA_ShowWithoutActivating));

    FloatingWindow bubble(FloatingWindow::Focus::Accept, laptopScreens());
    EXPECT_FALSE(bubble.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(bubble.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST(FloatingWindow, ClickThroughTogglesOnAShownWindowWithoutHidingIt)
{
    FloatingWindow clone(FloatingWindow::Focus::Refuse, laptopScreens());
    clone.resize(128, 128);
    clone.show();
    ASSERT_NE(clone.windowHandle(), nullptr);

    clone.setClickThrough(true);
    EXPECT_TRUE(clone.isVisible());
    EXPECT_TRUE(clone.windowHandle()->flags().testFlag(Qt::WindowTransparentForInput));
    EXPECT_TRUE(clone.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus)) << "other flags must survive";

    clone.setClickThrough(false);
    EXPECT_TRUE(clone.isVisible());
    EXPECT_FALSE(clone.windowHandle()->flags().testFlag(Qt::WindowTransparentForInput));
    EXPECT_FALSE(clone.isClickThrough());

    // Set before the native window exists, it must still reach it.
    FloatingWindow card(FloatingWindow::Focus::Refuse, laptopScreens());
    card.setClickThrough(true);
    card.show();
    EXPECT_TRUE(card.windowHandle()->flags().testFlag(Qt::WindowTransparentForInput));
}

// A window that ignores the mouse for good is one no window manager frames: a frame would
// take the clicks the window lets through.
TEST(FloatingWindow, AWindowIgnoringInputBypassesTheWindowManager)
{
    FloatingWindow firework(FloatingWindow::Focus::Ignore, laptopScreens());
    firework.show();
    EXPECT_TRUE(firework.isClickThrough());
    const Qt::WindowFlags flags = firework.windowHandle()->flags();
    for (Qt::WindowType hint : { Qt::X11BypassWindowManagerHint, Qt::WindowTransparentForInput,
             Qt::WindowDoesNotAcceptFocus, Qt::WindowStaysOnTopHint, Qt::FramelessWindowHint })
        EXPECT_TRUE(flags.testFlag(hint)) << hint;
}

TEST(FloatingWindow, FadeReachesItsTargetAndThenRunsItsCompletionOnce)
{
    FloatingWindow window(FloatingWindow::Focus::Refuse, laptopScreens());
    window.setWindowOpacity(0.0);
    int done = 0;
    window.fadeTo(1.0, 40, [&] { ++done; });
    EXPECT_TRUE(window.isFading());
    EXPECT_EQ(done, 0) << "an animated fade must not complete synchronously";
    ASSERT_TRUE(waitUntil([&] { return done > 0; }));
    EXPECT_NEAR(window.windowOpacity(), 1.0, 0.01);
    EXPECT_FALSE(window.isFading());
    waitUntil([] { return false; }, 60);
    EXPECT_EQ(done, 1);
}

// A new fade stops the running one, whose completion still runs, and so is a fade that
// completion starts.
TEST(FloatingWindow, NewFadeSupersedesTheRunningOneAndAnyItsCompletionStarts)
{
    FloatingWindow window(FloatingWindow::Focus::Refuse, laptopScreens());
    window.setWindowOpacity(1.0);
    QStringList order;
    window.fadeTo(0.0, 10'000, [&] {
        order << QStringLiteral("out");
        window.fadeTo(0.2, 10'000, [&] { order << QStringLiteral("chained"); });
    });
    window.fadeTo(0.6, 30, [&] { order << QStringLiteral("in"); });
    EXPECT_EQ(order, (QStringList { QStringLiteral("out"), QStringLiteral("chained") }));
    ASSERT_TRUE(waitUntil([&] { return order.size() == 3; }));
    EXPECT_EQ(order.last(), QStringLiteral("in"));
    for (const QPropertyAnimation* animation : window.findChildren<QPropertyAnimation*>())
        EXPECT_NE(animation->state(), QAbstractAnimation::Running) << "no fade may go on driving the opacity";
    EXPECT_NEAR(window.windowOpacity(), 0.6, 0.01);
}

TEST(FloatingWindow, ImmediateAndInvalidFadesAreSafe)
{
    FloatingWindow window(FloatingWindow::Focus::Refuse, laptopScreens());
    window.setWindowOpacity(0.4);
    int done = 0;
    window.fadeTo(std::numeric_limits<double>::quiet_NaN(), 0, [&] { ++done; });
    EXPECT_NEAR(window.windowOpacity(), 0.4, 0.01) << "NaN keeps the opacity";
    window.fadeTo(7.0, -5, [&] { ++done; });
    EXPECT_NEAR(window.windowOpacity(), 1.0, 0.01);
    window.fadeTo(-1.0, 0);
    EXPECT_NEAR(window.windowOpacity(), 0.0, 0.01);
    EXPECT_EQ(done, 2);
    EXPECT_FALSE(window.isFading());
}

TEST(FloatingWindow, CompletionMayDeleteTheWindowWhenSuperseded)
{
    auto* window = new FloatingWindow(FloatingWindow::Focus::Refuse, laptopScreens());
    bool secondRan = false;
    window->fadeTo(0.0, 10'000, [window] { delete window; });
    window->fadeTo(1.0, 0, [&] { secondRan = true; });
    EXPECT_FALSE(secondRan) << "a window deleted by the old completion starts no new fade";
}

TEST(FloatingWindow, FrameIsPlacedInTheBottomLeftModel)
{
    FloatingWindow window(FloatingWindow::Focus::Refuse, laptopScreens());
    window.setModelFrame(QRectF(10, 10, 128, 128));
    EXPECT_EQ(window.geometry(), QRect(10, 762, 128, 128));
    EXPECT_EQ(window.modelFrame(), QRectF(10, 10, 128, 128));
    window.setModelOrigin(QPointF(100, 722));
    EXPECT_EQ(window.geometry().topLeft(), QPoint(100, 50));
}
