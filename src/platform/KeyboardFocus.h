#pragma once

#include <QObject>

#include <functional>

class QWidget;

/// Whether the keyboard is what the user moves about a window with, so that the control
/// holding the focus should say so with a ring. One rule for every control that draws one:
/// Tab, Backtab, a shortcut that moves the focus, or any key pressed in the window turns it
/// on; a mouse press in the window turns it off, as does showing the window afresh. A click
/// gives a control the focus too, but the pointer is where the user looks: no mark needed.
namespace KeyboardFocus {

/// Whether `control` holds the focus and the keyboard is in use in its window.
[[nodiscard]] bool shows(const QWidget* control);

/// Calls `changed` (while `context` lives) whenever what `shows` answers for the focused
/// control may have changed without a focus event: a key or a click in its window.
/// The focused control itself (and a list's rows) is repainted without asking.
void whenChanged(const QObject* context, std::function<void()> changed);

} // namespace KeyboardFocus
