#include "pet/MovementAlgorithms.h"

#include "platform/RandomSource.h"

#include <algorithm>
#include <cmath>
#include <numbers>

ScreenBounds::ScreenBounds(const QRectF& screenFrame, const QSizeF& windowSize)
    : frame(screenFrame)
    , safeArea(screenFrame.x() + windowSize.width() * 0.5, screenFrame.y() + windowSize.height() * 0.5,
          screenFrame.width() - windowSize.width(), screenFrame.height() - windowSize.height())
{
    const double minX = safeArea.x();
    const double minY = safeArea.y();
    const double maxX = minX + safeArea.width();
    const double maxY = minY + safeArea.height();
    const double midX = (minX + maxX) / 2.0;
    const double midY = (minY + maxY) / 2.0;
    corners = { QPointF(minX, minY), QPointF(maxX, minY), QPointF(minX, maxY), QPointF(maxX, maxY) };
    edges = { QPointF(midX, minY), QPointF(maxX, midY), QPointF(midX, maxY), QPointF(minX, midY) };
}

namespace MovementAlgorithms {

QList<PathPoint> generateRandomWalkPath(const QPointF& start, const ScreenBounds& bounds, int steps, double maxDistance,
    RandomSource& random, const QDateTime& now)
{
    QList<PathPoint> points;
    if (steps <= 0)
        return points;
    points.reserve(steps);
    const double minDistance = std::max(maxDistance * 0.3, 30.0);
    // Computed from the origin and size rather than QRectF's right()/bottom(), which would
    // swap the edges of a negative (screen smaller than the window) area.
    const double minX = bounds.safeArea.x();
    const double minY = bounds.safeArea.y();
    const double maxX = minX + bounds.safeArea.width();
    const double maxY = minY + bounds.safeArea.height();
    QPointF current = start;
    for (int i = 0; i < steps; ++i) {
        const double angle = random.uniformReal(0.0, 2.0 * std::numbers::pi);
        const double distance = random.uniformReal(minDistance, maxDistance);
        const double x = clampToRange(current.x() + std::cos(angle) * distance, minX, maxX);
        const double y = clampToRange(current.y() + std::sin(angle) * distance, minY, maxY);
        const double speed = random.uniformReal(0.5, 1.5);
        current = QPointF(x, y);
        points.append(PathPoint { current, now, speed });
    }
    return points;
}

} // namespace MovementAlgorithms
