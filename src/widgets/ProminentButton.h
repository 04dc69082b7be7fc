#pragma once

#include <QString>

class QPushButton;
class QWidget;

/// The main action of a page or form: the bordered prominent button style at the regular size.
namespace ProminentButton {

/// Gives `button` the prominent look.
void style(QPushButton* button);
/// A new button with the prominent look that never takes Return as a dialog's default.
[[nodiscard]] QPushButton* create(const QString& text, QWidget* parent);

} // namespace ProminentButton
