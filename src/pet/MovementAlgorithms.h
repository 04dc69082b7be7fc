#pragma once

#include <QDateTime>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <array>

class RandomSource;

/// One target of a planned walk, for the pet window's top-left corner in the stored
/// convention, with the speed factor of the approach to it.
struct PathPoint
{
    QPointF position;
    QDateTime timestamp;
    double speed = 1.0;
};

/// The area of a screen in which a window of the given size may be centred, with its
/// corners and edge mid-points.
struct ScreenBounds
{
    ScreenBounds(const QRectF& screenFrame, const QSizeF& windowSize);

    QRectF frame;
    /// Inset by half the window on every side. On a screen smaller than the window its
    /// width or height is negative: clamping into it then lands on its left or top edge.
    QRectF safeArea;
    std::array<QPointF, 4> corners;
    std::array<QPointF, 4> edges;
};

/// Keeps `value` within [lo, hi]; an empty range (hi < lo) yields its lower bound.
[[nodiscard]] inline double clampToRange(double value, double lo, double hi)
{
    return value > hi ? (hi < lo ? lo : hi) : (value < lo ? lo : value);
}

namespace MovementAlgorithms {

/// A random walk of `steps` legs from `start`, each 30 % of `maxDistance` (at least 30 pt)
/// up to `maxDistance` long in a random direction, kept inside the bounds' safe area.
[[nodiscard]] QList<PathPoint> generateRandomWalkPath(const QPointF& start, const ScreenBounds& bounds, int steps,
    double maxDistance, RandomSource& random, const QDateTime& now);

} // namespace MovementAlgorithms
