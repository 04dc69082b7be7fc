#pragma once

class QMenu;

/// Keeps a menu built from the user's or the server's data usable however long or many the
/// entries are: a text wider than a sane width is cut short with an ellipsis and shown whole
/// as the item's tool tip, and a menu taller than the screen scrolls instead of spreading
/// into columns across it, so that every item stays reachable.
namespace MenuFitting {

/// Fits `menu` and every submenu in it. Run once the menu is filled.
void fit(QMenu* menu);

/// The widest an item's text is drawn in `menu`: some twenty characters of its font.
[[nodiscard]] int maximumTextWidth(const QMenu* menu);

} // namespace MenuFitting
