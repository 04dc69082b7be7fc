#include "platform/Screens.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

ScreenGeometry laptop()
{
    // 1440 × 900 with a 25 px top panel and a 50 px dock at the bottom.
    return { QRect(0, 0, 1440, 900), QRect(0, 25, 1440, 825) };
}

} // namespace

TEST(Screens, MainScreenFramesInTheBottomLeftModel)
{
    Screens screens({ laptop() });
    ASSERT_TRUE(screens.hasMainScreen());
    EXPECT_EQ(screens.mainHeight(), 900.0);
    EXPECT_EQ(screens.mainFrame(), QRectF(0, 0, 1440, 900));
    // The dock lifts the visible bottom, the panel lowers the visible top.
    EXPECT_EQ(screens.mainVisibleFrame(), QRectF(0, 50, 1440, 825));
    EXPECT_EQ(screens.visibleFrames(), QList<QRectF> { QRectF(0, 50, 1440, 825) });
}

TEST(Screens, WithoutAScreenTheHeightFallsBackTo1080)
{
    Screens screens(QList<ScreenGeometry> {});
    EXPECT_FALSE(screens.hasMainScreen());
    EXPECT_EQ(screens.mainHeight(), 1080.0);
    EXPECT_FALSE(screens.mainFrame().has_value());
    EXPECT_FALSE(screens.mainVisibleFrame().has_value());
    EXPECT_TRUE(screens.frames().isEmpty());
    EXPECT_EQ(screens.petOriginFromStored(QPointF(0, 0)), QPointF(0, 952));
    // Conversions stay defined: the model's y = 0 is 1080 px down.
    EXPECT_EQ(screens.toQtPoint(QPointF(10, 0)), QPoint(10, 1080));
}

TEST(Screens, StoredPetPositionRoundTripsThroughTheWindowOrigin)
{
    Screens screens({ { QRect(0, 0, 1600, 900), QRect(0, 0, 1600, 900) } });
    const QPointF origin = screens.petOriginFromStored(QPointF(100, 50));
    EXPECT_EQ(origin, QPointF(100, 722));
    EXPECT_EQ(screens.storedFromPetOrigin(origin), QPointF(100, 50));
    // The stored convention is Qt's own top-left placement on the main screen.
    EXPECT_EQ(screens.toQtRect(QRectF(origin, QSizeF(128, 128))), QRect(100, 50, 128, 128));
}

TEST(Screens, SecondaryScreensAndAPrimaryAwayFromTheVirtualOrigin)
{
    // Primary on the right at (1920, 200); a taller secondary on the left starting at the top.
    Screens screens({ { QRect(1920, 200, 1440, 900), QRect(1920, 200, 1440, 900) },
        { QRect(0, 0, 1920, 1200), QRect(0, 0, 1920, 1160) } });
    EXPECT_EQ(screens.mainFrame(), QRectF(0, 0, 1440, 900));
    const QList<QRectF> frames = screens.frames();
    ASSERT_EQ(frames.size(), 2);
    // Secondary: left of the main screen; its bottom 100 px below the main screen's bottom.
    EXPECT_EQ(frames.at(1), QRectF(-1920, -100, 1920, 1200));
    EXPECT_EQ(screens.visibleFrames().at(1), QRectF(-1920, -60, 1920, 1160));

    const QRect qt(2000, 300, 128, 64);
    EXPECT_EQ(screens.toQtRect(screens.fromQtRect(qt)), qt);
    EXPECT_EQ(screens.fromQtPoint(QPointF(1920, 1100)), QPointF(0, 0));
    EXPECT_EQ(screens.toQtPoint(QPointF(0, 900)), QPoint(1920, 200));
}

TEST(Screens, FractionalAndInvalidModelValuesBecomeSanePixels)
{
    Screens screens({ laptop() });
    EXPECT_EQ(screens.toQtRect(QRectF(10.4, 20.6, 128, 128)), QRect(10, 751, 128, 128));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const QPoint p = screens.toQtPoint(QPointF(nan, std::numeric_limits<double>::infinity()));
    EXPECT_EQ(p.x(), 0);
    EXPECT_LT(std::abs(p.y()), 2'000'000);
}

TEST(Screens, ReplacingGeometriesAnnouncesTheChange)
{
    Screens screens({ laptop() });
    QSignalSpy spy(&screens, &Screens::screensChanged);
    screens.setGeometries({ { QRect(0, 0, 2560, 1440), QRect(0, 0, 2560, 1440) } });
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(screens.mainHeight(), 1440.0);
    EXPECT_EQ(screens.petOriginFromStored(QPointF(0, 0)), QPointF(0, 1312));
}

TEST(Screens, LiveInstanceFollowsThePrimaryScreen)
{
    QScreen* primary = QGuiApplication::primaryScreen();
    ASSERT_NE(primary, nullptr);
    Screens screens;
    EXPECT_EQ(screens.mainHeight(), primary->geometry().height());
    EXPECT_EQ(screens.mainFrame(), QRectF(QPointF(0, 0), QSizeF(primary->geometry().size())));
    EXPECT_EQ(screens.geometries().size(), QGuiApplication::screens().size());
}
