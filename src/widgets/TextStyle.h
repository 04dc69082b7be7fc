#pragma once

#include <QFont>

class QWidget;

/// The program's one type scale. Every screen takes its fonts from here, so a "title 2" or a
/// "caption" is the same size and weight wherever it appears, and grows with the application
/// font when the user chooses a larger one.
///
/// Sizes are set in pixels (never points rounded to whole points): a style is a fixed share
/// of the application font's pixel size, where body is the application font itself.
namespace TextStyle {

enum class Style {
    largeTitle,
    title,
    title2,
    title3,
    headline, ///< body size, semibold
    subheadline,
    body,
    callout,
    footnote,
    caption,
    caption2,
};

/// The pixel size of `font`, also when it was given in points.
[[nodiscard]] qreal pixelSizeOf(const QFont& font);

/// How many pixels the application font has for each pixel of the platform's default font:
/// 1 unless the user picked a larger or smaller application font.
[[nodiscard]] qreal scale();

/// `style` made from the application font (family and all), at its size and weight.
[[nodiscard]] QFont font(Style style);

/// "The system font at size N": `size` pixels at the default font, in proportion at any
/// other application font, with `weight`. No style and no size is drawn below 9 pixels at
/// the default font (caption 2 at a small default font, a stated size 8).
[[nodiscard]] QFont systemFont(qreal size, QFont::Weight weight = QFont::Normal);

/// The monospaced counterpart of systemFont().
[[nodiscard]] QFont monospacedFont(qreal size, QFont::Weight weight = QFont::Normal);

/// `pixels` (a size stated at the default font) at the application font.
[[nodiscard]] int scaled(qreal pixels);

/// Sets `widget`'s font to `style`; `weight`, when given, replaces the style's own weight
/// (a "bold subheadline").
void apply(QWidget* widget, Style style);
void apply(QWidget* widget, Style style, QFont::Weight weight);

/// `style` with `weight` instead of its own.
[[nodiscard]] QFont font(Style style, QFont::Weight weight);

} // namespace TextStyle
