#pragma once

#include "widgets/TextStyle.h"

#include <QString>
#include <QStringList>

class PlainLabel;
class QColor;
class QSlider;
class QVBoxLayout;
class QWidget;

/// The building blocks the settings pages share, so that every page looks alike: a titled
/// section, a grey caption under a control, and a bold value beside a slider.
namespace FormParts {

/// Appends a section to `page`: a header in the headline style (none for an empty title)
/// over a framed panel. Returns the panel's layout, which stacks items 12 pixels apart.
[[nodiscard]] QVBoxLayout* section(const QString& title, QVBoxLayout* page);
/// A one-line text in `style` (and `weight`, when given, instead of the style's own).
[[nodiscard]] PlainLabel* text(const QString& text, TextStyle::Style style, QWidget* parent = nullptr);
[[nodiscard]] PlainLabel* text(
    const QString& text, TextStyle::Style style, QFont::Weight weight, QWidget* parent = nullptr);
/// A one-line text in `style` in the secondary colour: quieter, not smaller.
[[nodiscard]] PlainLabel* secondary(const QString& text, TextStyle::Style style, QWidget* parent = nullptr);
/// A wrapped note at the caption size in the secondary colour.
[[nodiscard]] PlainLabel* caption(const QString& text, QWidget* parent = nullptr);
/// A wrapped note at the caption size in `colour`, made as much darker or lighter as it
/// must be to read on the page (an error's red, a confirmation's green).
[[nodiscard]] PlainLabel* tintedCaption(const QString& text, const QColor& colour, QWidget* parent = nullptr);
/// A bold value of fixed width, centred. The width is `width`, or what the widest of
/// `samples` needs where that is more (a larger font): a value is never cut, and the width
/// does not change with the value, so the slider beside it keeps its place.
[[nodiscard]] PlainLabel* valueLabel(int width, const QStringList& samples = {}, QWidget* parent = nullptr);
/// A horizontal slider over whole steps from `minimum` to `maximum`.
[[nodiscard]] QSlider* slider(int minimum, int maximum, QWidget* parent = nullptr);

} // namespace FormParts
