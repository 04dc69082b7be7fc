#include "platform/BubblePlacement.h"

#include <algorithm>

namespace BubblePlacement {

std::optional<QRectF> areaAround(const QRectF& pet, const QList<QRectF>& visibleFrames)
{
    if (visibleFrames.isEmpty())
        return std::nullopt;
    const QPointF centre = pet.center();
    for (const QRectF& area : visibleFrames) {
        if (area.contains(centre))
            return area;
    }
    const QRectF* best = &visibleFrames.first();
    double bestOverlap = 0;
    for (const QRectF& area : visibleFrames) {
        const QRectF overlap = area.intersected(pet);
        const double size = overlap.width() * overlap.height();
        if (size > bestOverlap) {
            bestOverlap = size;
            best = &area;
        }
    }
    return *best;
}

double besideX(const QRectF& pet, double width, double gap, const std::optional<QRectF>& area)
{
    const double right = pet.right() + gap;
    if (!area)
        return right;
    if (width > area->width())
        return area->left(); // its start, where the title and the field begin, stays in view
    const double x = right + width <= area->right() ? right : pet.left() - gap - width;
    return std::clamp(x, area->left(), area->right() - width);
}

double insideY(double y, double height, const std::optional<QRectF>& area)
{
    if (!area)
        return y;
    // The model's y grows upward: the area's top edge is its bottom() in QRectF terms.
    return std::min(std::max(y, area->top()), area->bottom() - height);
}

QPointF besidePet(const QRectF& pet, QSizeF size, double gap, double y, const std::optional<QRectF>& area)
{
    return { besideX(pet, size.width(), gap, area), insideY(y, size.height(), area) };
}

} // namespace BubblePlacement
