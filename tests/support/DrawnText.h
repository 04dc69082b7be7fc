#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QPalette>
#include <QRect>

#include <initializer_list>
#include <map>
#include <string>

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

/// What is drawn inside `area` of `image`: the pixels that stand out from the area's
/// commonest colour by more than `threshold` (a contrast ratio), their box and their number.
struct Ink
{
    QRect box;
    int pixels = 0;
};
[[nodiscard]] Ink inkIn(const QImage& image, const QRect& area, double threshold = 1.8);

/// The colour most pixels inside `area` have: the background text stands on.
[[nodiscard]] QColor dominantColour(const QImage& image, const QRect& area);

/// The contrast of the text drawn inside `area` against the area's own background (its
/// commonest colour): that of the text's strongest pixel, 1 when nothing is drawn there.
[[nodiscard]] double drawnContrast(const QImage& image, const QRect& area);

/// For every kind of ink drawn in `area` ("grey", or its hue: "red", "orange", "green",
/// "blue", "other"), the contrast of its strongest pixel against the area's commonest colour
/// (what the text stands on).
[[nodiscard]] std::map<std::string, double> inkContrasts(const QImage& image, const QRect& area);

/// The lines of text inside `area`, top to bottom: bands of pixel rows holding a pixel that
/// stands out (1.3:1) from the area's commonest colour.
[[nodiscard]] QList<QRect> inkLines(const QImage& image, const QRect& area);

/// The strongest pixel of one kind of ink (as inkContrasts() names them) drawn in `area`,
/// against the area's commonest colour: a coloured text's own colour, not its smoothed
/// edges'. Invalid when none of that kind is drawn there.
[[nodiscard]] QColor strongestInkOfKind(const QImage& image, const QRect& area, const std::string& kind);

/// Each kind of ink `expected` is drawn in `area` and reads there at 4.5:1 (a test
/// failure otherwise, naming `what`). The smoothed edges of coloured strokes look grey or
/// of a neighbouring hue; they are not judged.
void expectReadable(
    const QImage& image, const QRect& area, const std::string& what, std::initializer_list<std::string> expected);

/// The grey text in `area` is secondary: it reads at 4.5:1, yet fainter than the primary
/// text in `primary` (each against its own area's background; a test failure otherwise).
void expectSecondary(const QImage& image, const QRect& area, const QRect& primary, const std::string& what);

/// The placeholder of `field` (a line edit or a text editor) as `window` draws it, the field
/// emptied and without focus: its grey text reads at 4.5:1 on what it stands on, yet fainter
/// than text typed into the field (a test failure otherwise). The field's text is put back.
void expectSecondaryPlaceholder(QWidget* window, QWidget* field, const std::string& what);

/// Where `child` lies inside `ancestor`, in `ancestor`'s coordinates.
[[nodiscard]] QRect areaIn(const QWidget* child, const QWidget* ancestor);
