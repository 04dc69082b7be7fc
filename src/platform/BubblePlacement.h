#pragma once

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <optional>

/// Where the windows that open beside the pet go (speech and message bubbles), in the
/// bottom-left screen model of `Screens`. A bubble sits on the pet's right; where that
/// would take it past the right edge of the visible area, it sits on the pet's left
/// instead, and either way it is kept inside that area so its text and buttons can be
/// reached.
namespace BubblePlacement {

/// The visible area of the screen the pet stands on: the one holding the pet's centre,
/// else the one the pet overlaps most, else the first (the main screen). None without a
/// screen.
[[nodiscard]] std::optional<QRectF> areaAround(const QRectF& pet, const QList<QRectF>& visibleFrames);

/// The left edge of a bubble `width` wide: `gap` right of the pet when it ends inside
/// `area`, else `gap` left of the pet; then moved inside the area. A bubble wider than the
/// area starts at its left edge.
[[nodiscard]] double besideX(const QRectF& pet, double width, double gap, const std::optional<QRectF>& area);

/// `y` moved so that a window `height` high stays between the area's bottom and top edges;
/// a window higher than the area keeps its top edge at the area's top.
[[nodiscard]] double insideY(double y, double height, const std::optional<QRectF>& area);

/// The origin of a `size` bubble beside the pet with its bottom edge at `y`: `besideX`
/// across, `insideY` up and down.
[[nodiscard]] QPointF besidePet(
    const QRectF& pet, QSizeF size, double gap, double y, const std::optional<QRectF>& area);

} // namespace BubblePlacement
