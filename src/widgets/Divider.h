#pragma once

class QFrame;
class QWidget;

/// The faint line between a header and what follows it: a plain 1 px line in the text
/// colour at 15 % opacity, so it stays quiet in a light and a dark palette alike.
namespace Divider {

/// A new horizontal divider, as tall as a frame line asks (the line itself is 1 px).
[[nodiscard]] QFrame* create(QWidget* parent);

} // namespace Divider
