#pragma once

#include <Qt>

class QFrame;
class QWidget;

/// The faint line between a header and what follows it (or between a sidebar and its
/// page): a plain 1 px line in the text colour at 15 % opacity, so it stays quiet in a light
/// and a dark palette alike, and follows the palette when it changes.
namespace Divider {

/// A new divider, 1 px across: the line fills it, so it stands exactly where the layout puts it.
[[nodiscard]] QFrame* create(QWidget* parent, Qt::Orientation orientation = Qt::Horizontal);

} // namespace Divider
