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

/// Draws `label`'s text in `wanted` made readable on the label's background, now and
/// whenever the palette changes.
void tint(QWidget* label, const QColor& wanted);

} // namespace ReadableColour
