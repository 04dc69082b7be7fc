#pragma once

#include <QIcon>
#include <QSize>

class QPushButton;
class QWidget;

/// A spinner standing before a busy button's words: the button shows a blank icon that
/// keeps the spinner's place, so the words and the spinner are centred together.
namespace ButtonSpinner {

/// A blank icon that keeps the place of a spinner of `size` and `spacing` pixels after it.
[[nodiscard]] QIcon placeholder(QSize size, int spacing);

/// Moves `spinner`, a child of `button`, over the place where the button draws its icon.
void placeOnIcon(QWidget* spinner, const QPushButton* button);

} // namespace ButtonSpinner
