#include "pet/MovementAlgorithms.h"

#include "RecordingRandom.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

const QDateTime now(QDate(2026, 1, 5), QTime(9, 0));

} // namespace

TEST(ScreenBounds, SafeAreaInsetsHalfAWindowOnEverySide)
{
    const ScreenBounds bounds(QRectF(0, 0, 1920, 1080), QSizeF(128, 128));
    EXPECT_EQ(bounds.safeArea, QRectF(64, 64, 1792, 952));
    EXPECT_EQ(bounds.corners[0], QPointF(64, 64));
    EXPECT_EQ(bounds.corners[3], QPointF(1856, 1016));
    EXPECT_EQ(bounds.edges[1], QPointF(1856, 540));
    EXPECT_EQ(bounds.edges[3], QPointF(64, 540));
}

TEST(RandomWalk, OneBlinkStepLiesWithinItsDistanceRange)
{
    const ScreenBounds bounds(QRectF(0, 0, 1920, 1080), QSizeF(128, 128));
    RecordingRandom random;
    random.reals = { std::numbers::pi / 2.0, 42.0, 1.2 };
    const QList<PathPoint> path
        = MovementAlgorithms::generateRandomWalkPath(QPointF(500, 500), bounds, 1, 50, random, now);
    ASSERT_EQ(path.size(), 1);
    EXPECT_NEAR(path[0].position.x(), 500.0, 1e-9);
    EXPECT_NEAR(path[0].position.y(), 542.0, 1e-9);
    EXPECT_EQ(path[0].speed, 1.2);
    EXPECT_EQ(path[0].timestamp, now);
    // Angle, distance (30 % of 50 is below the 30 pt floor) and speed ranges, in that order.
    ASSERT_EQ(random.realRanges.size(), 3);
    EXPECT_EQ(random.realRanges[0], qMakePair(0.0, 2.0 * std::numbers::pi));
    EXPECT_EQ(random.realRanges[1], qMakePair(30.0, 50.0));
    EXPECT_EQ(random.realRanges[2], qMakePair(0.5, 1.5));
}

TEST(RandomWalk, LegsChainAndAreClampedIntoTheSafeArea)
{
    const ScreenBounds bounds(QRectF(0, 0, 1920, 1080), QSizeF(128, 128));
    RecordingRandom random;
    // First leg to the right past the edge, second straight down (y grows) from there.
    random.reals = { 0.0, 150.0, 0.5, std::numbers::pi / 2.0, 100.0, 1.5 };
    const QList<PathPoint> path
        = MovementAlgorithms::generateRandomWalkPath(QPointF(1800, 100), bounds, 2, 150, random, now);
    ASSERT_EQ(path.size(), 2);
    EXPECT_EQ(path[0].position, QPointF(1856, 100));
    EXPECT_NEAR(path[1].position.x(), 1856.0, 1e-9);
    EXPECT_NEAR(path[1].position.y(), 200.0, 1e-9);
    EXPECT_EQ(random.realRanges[1], qMakePair(45.0, 150.0));

    EXPECT_TRUE(MovementAlgorithms::generateRandomWalkPath(QPointF(1, 1), bounds, 0, 150, random, now).isEmpty());
}

TEST(RandomWalk, AScreenSmallerThanTheWindowPinsToTheLowerBound)
{
    // 100 × 90: the safe area has negative size; no range to draw from is left.
    const ScreenBounds bounds(QRectF(0, 0, 100, 90), QSizeF(128, 128));
    RecordingRandom random;
    random.reals = { 1.0, 40.0, 1.0 };
    const QList<PathPoint> path
        = MovementAlgorithms::generateRandomWalkPath(QPointF(10, 10), bounds, 1, 40, random, now);
    ASSERT_EQ(path.size(), 1);
    EXPECT_EQ(path[0].position, QPointF(64, 64));
}

TEST(ClampToRange, EmptyRangeGivesTheLowerBound)
{
    EXPECT_EQ(clampToRange(5, 0, 10), 5);
    EXPECT_EQ(clampToRange(-5, 0, 10), 0);
    EXPECT_EQ(clampToRange(15, 0, 10), 10);
    EXPECT_EQ(clampToRange(15, 0, -28), 0);
    EXPECT_EQ(clampToRange(-50, 0, -28), 0);
}
