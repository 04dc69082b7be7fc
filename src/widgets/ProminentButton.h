#pragma once

#include <QString>

class QPushButton;
class QWidget;

/// The filled accent look of the main action of a page or form: white text on blue, a
/// paler blue while the button is disabled. The same in a light and a dark palette.
namespace ProminentButton {

/// Gives `button` the prominent look.
void style(QPushButton* button);
/// A new button with the prominent look that never takes Return as a dialog's default.
[[nodiscard]] QPushButton* create(const QString& text, QWidget* parent);

} // namespace ProminentButton
