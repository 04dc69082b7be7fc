#pragma once

#include <QColor>

class QWidget;

/// Coloured text (an error's red, a confirmation's green) that stays readable on the
/// background it is drawn on, in a light palette and a dark one alike.
namespace ReadableColour {

/// `wanted` where it reaches `ratio` against `background`; otherwise the same hue made
/// lighter on a dark background or darker on a light one until it does. The ratio aimed at
/// by default is a little above the 4.5:1 text must keep, so that the smoothed edges of
/// small strokes still reach it on screen.
[[nodiscard]] QColor on(const QColor& wanted, const QColor& background, double ratio = 4.6);

/// Draws `widget`'s text in `wanted` made readable on what it stands on, now and whenever
/// the palette changes: a label's text on its container's background, with `backdrop` (when
/// valid) laid over that first (a box's faint grey); a push button's title on its face, in
/// every shade the style gives the face.
void tint(QWidget* widget, const QColor& wanted, const QColor& backdrop = {});

} // namespace ReadableColour
