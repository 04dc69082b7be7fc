#pragma once

#include "platform/SecondaryColour.h"

#include <QColor>
#include <QPalette>

class QWidget;

/// Captions, hints, placeholders and other quieter text. The secondary colour is the text
/// colour taken half-way towards the background it is drawn on, but never so far that it
/// reads at less than 4.5:1 against that background, in a light palette or a dark one.
///
/// Qt draws a label with WindowText, or with Text once a container paints a Base
/// background, and a push button with ButtonText; apply() dims every one of them, so the
/// text is secondary wherever the widget ends up, and dims it again when the palette changes.
namespace SecondaryText {

/// The least contrast secondary text keeps against its background.
inline constexpr double minimumContrast = SecondaryColour::minimumContrast;

/// Which of a widget's texts is secondary.
enum class Part {
    text, ///< what it shows (a label's text, a button's title)
    placeholder, ///< the placeholder of an empty line edit or text editor
};

/// The contrast ratio of two colours as the eye sees them, from 1 (the same) to 21
/// (black on white); both are taken as opaque.
[[nodiscard]] double contrast(const QColor& a, const QColor& b);

/// The secondary form of `text` drawn over `background`, with `tint` (when valid) laid over
/// the background first; text with an alpha is laid over the result. Opaque.
[[nodiscard]] QColor colour(const QColor& text, const QColor& background, const QColor& tint = {});

/// The opaque colour that shows where `widget` paints nothing of its own: the background of
/// the nearest widget, itself or an ancestor, that fills one, with the translucent fills of
/// those between laid over it. For a scroll area (a list, an editor) it is what shows behind
/// its viewport, where the items and the text are drawn. A style sheet's background is not
/// seen: widgets whose text must be dimmed draw theirs otherwise.
[[nodiscard]] QColor backdrop(const QWidget* widget, QPalette::ColorGroup group = QPalette::Active);

/// Draws `part` of `widget` in the secondary colour from now on. `tint`, when valid, is a
/// translucent colour the widget's container lays over its background (a banner's faint
/// orange, the grey box around a see-through editor); the contrast is kept against the
/// result. A placeholder is dimmed towards what really shows behind it: the field's base,
/// or for an editor that fills nothing, its backdrop().
void apply(QWidget* widget, Part part = Part::text, const QColor& tint = {});

/// Switches the text of `widget` between secondary and primary. Primary hands the widget
/// its container's whole palette again (any colour set on the widget itself goes too).
void setSecondary(QWidget* widget, bool secondary);

} // namespace SecondaryText
