#pragma once

#include <QColor>

class QPainter;
class QPalette;
class QRectF;
class QStyleOptionViewItem;
class QWidget;

/// The mark of the row the keyboard is at, in every painted list: a ring in the accent
/// colour, made dark or light enough to stand out from what it is drawn on.
namespace FocusRing {

/// How far the ring stands out from its background: what a graphic must reach, with room
/// for the smoothing of its rounded corners.
inline constexpr double contrast = 3.2;
/// The ring's width in pixels.
inline constexpr int width = 2;

/// Whether the row `option` paints is the list's current row while the list has the focus
/// and the keyboard is in use (KeyboardFocus).
[[nodiscard]] bool shows(const QStyleOptionViewItem& option);
/// The ring's colour on `background`: the palette's accent, shifted only as far as it must.
[[nodiscard]] QColor colour(const QPalette& palette, const QColor& background);
/// Draws the ring just inside `rect`, its corners rounded by `radius`.
void paint(QPainter& painter, const QRectF& rect, double radius, const QPalette& palette, const QColor& background);

/// Rings `control` from outside, a pixel clear of it on its parent's background, while the
/// keyboard is in use and it holds the focus (KeyboardFocus); the ring's corners follow a pill's. The control's
/// own drawing and size stay as they are.
void ringAround(QWidget* control);

} // namespace FocusRing
