#pragma once

#include "widgets/Symbols.h"

#include <QIcon>
#include <QSize>

class QAbstractButton;

/// A push button's symbol (or a spinner's place) with a stated gap before its title. Styles
/// leave a fixed few pixels between a button's icon and its words; a wider icon, the symbol
/// at its left and the rest clear, makes up the difference.
namespace IconTitleGap {

/// What the style counts between a push button's icon and its words when it centres the two.
inline constexpr int layoutGap = 4;
/// The gap the style leaves between them: the words' box starts half the counted gap after
/// the icon.
inline constexpr int styleGap = layoutGap / 2;

/// The size of the icon that holds a `side` symbol and a `spacing` gap after it.
[[nodiscard]] QSize widenedSize(QSize side, int spacing);

/// `icon` drawn `side` at the left of an icon of widenedSize(), clear elsewhere.
[[nodiscard]] QIcon widened(const QIcon& icon, QSize side, int spacing);

/// Gives `button` the icon of `symbol`, `side` pixels square, in `tint` on the surface the
/// button stands on, with `spacing` pixels between it and the title, now and whenever the
/// palette changes.
void setButtonSymbol(QAbstractButton* button, Symbols::Symbol symbol, Symbols::Tint tint, int side, int spacing);

/// Takes back what setButtonSymbol() gave: the button's icon is its owner's again.
void clearButtonSymbol(QAbstractButton* button);

} // namespace IconTitleGap
