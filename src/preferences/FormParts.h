#pragma once

#include <QString>

class PlainLabel;
class QSlider;
class QVBoxLayout;
class QWidget;

/// The building blocks the settings pages share, so that every page looks alike: a titled
/// section, a grey caption under a control, and a bold value beside a slider.
namespace FormParts {

/// Appends a section to `page`: a bold header (none for an empty title) over a framed
/// panel. Returns the panel's layout, which stacks items 12 pixels apart.
[[nodiscard]] QVBoxLayout* section(const QString& title, QVBoxLayout* page);
/// A wrapped note in the secondary colour.
[[nodiscard]] PlainLabel* caption(const QString& text, QWidget* parent = nullptr);
/// A bold value of fixed width, centred.
[[nodiscard]] PlainLabel* valueLabel(int width, QWidget* parent = nullptr);
/// A horizontal slider over whole steps from `minimum` to `maximum`.
[[nodiscard]] QSlider* slider(int minimum, int maximum, QWidget* parent = nullptr);

} // namespace FormParts
