#pragma once

#include <QColor>
#include <QImage>
#include <QPalette>
#include <QRect>

class QWidget;

/// The palettes a look is checked in: the style's own light one, and the usual dark Fusion
/// palette, which sets the main roles and leaves the placeholder colour as it was (dark).
[[nodiscard]] QPalette lightPalette();
[[nodiscard]] QPalette darkFusionPalette();

/// The contrast ratio of two colours as the eye sees them (1 to 21), worked out here on
/// its own so a fault in the program's own sum cannot hide behind it.
[[nodiscard]] double contrastRatio(const QColor& a, const QColor& b);

/// `widget` as it draws itself, children included.
[[nodiscard]] QImage drawnImage(QWidget* widget);

/// The text drawn inside `area` of `image` against the pixel at `background`: the colour of
/// its strongest pixel (the stem of a glyph, not its smoothed edge), invalid when nothing
/// stands out from the background there.
[[nodiscard]] QColor strongestInk(const QImage& image, const QRect& area, QPoint background);

/// The colour most pixels inside `area` have: the background text stands on.
[[nodiscard]] QColor dominantColour(const QImage& image, const QRect& area);

/// The contrast of the text drawn inside `area` against the area's own background (its
/// commonest colour): that of the text's strongest pixel, 1 when nothing is drawn there.
[[nodiscard]] double drawnContrast(const QImage& image, const QRect& area);

/// Where `child` lies inside `ancestor`, in `ancestor`'s coordinates.
[[nodiscard]] QRect areaIn(const QWidget* child, const QWidget* ancestor);
