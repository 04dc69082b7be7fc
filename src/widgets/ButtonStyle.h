#pragma once

#include <QColor>
#include <QPalette>
#include <QString>

class QAbstractButton;
class QPushButton;
class QWidget;

/// The program's button looks, one each, drawn from the palette and redrawn when it changes.
namespace ButtonStyle {

enum class Style {
    plain, ///< the title alone, in the text colour, no face
    bordered, ///< a quiet grey face under the title in the text colour
    borderedProminent, ///< a face in the accent colour under a white title: the main action
    borderless, ///< the title alone, in the accent colour, no face
};

enum class ControlSize {
    small, ///< subheadline title, tight padding
    regular,
    large, ///< taller, wider padding
};

/// Gives `button` `style` at `size`, now and whenever the palette changes. The button's font
/// becomes the size's own. A valid `foreground` replaces the style's title colour (a
/// destructive action's red), made as much darker or lighter as it must be to read on the face.
void apply(
    QAbstractButton* button, Style style, ControlSize size = ControlSize::regular, const QColor& foreground = {});

/// A push button with `text` in `style` at `size`; it never becomes a dialog's default by
/// having the focus.
[[nodiscard]] QPushButton* create(
    const QString& text, Style style, ControlSize size = ControlSize::regular, QWidget* parent = nullptr);

/// The face of a bordered prominent button in `palette`: its accent, deepened (hue kept)
/// just enough for the white title to read on it.
[[nodiscard]] QColor prominentFace(const QPalette& palette);

/// The style sheet `apply` gives a button in its current palette (for the tests' own sums).
[[nodiscard]] QString sheetFor(
    const QAbstractButton* button, Style style, ControlSize size, const QColor& foreground = {});

} // namespace ButtonStyle
