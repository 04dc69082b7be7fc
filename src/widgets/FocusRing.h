#pragma once

#include <QColor>

class QEvent;
#include <Qt>

class QPainter;
class QPalette;
class QRectF;
class QStyleOptionViewItem;
class QWidget;

/// The mark of the row the keyboard is at, in every painted list: a ring in the accent
/// colour, made dark or light enough to stand out from what it is drawn on.
namespace FocusRing {

/// How far the ring stands out from its background: what a graphic must reach, with room
/// for the smoothing of its rounded corners.
inline constexpr double contrast = 3.2;
/// The ring's width in pixels.
inline constexpr int width = 2;

/// The property by which a list says whether the keyboard brought it to its current row; a
/// list that says nothing rings that row whenever it has the focus.
inline constexpr char keyboardAtRow[] = "keyboardAtRow";

/// Whether the row `option` paints is the list's current row while the list has the focus,
/// reached by the keyboard.
[[nodiscard]] bool shows(const QStyleOptionViewItem& option);
/// The ring's colour on `background`: the palette's accent, shifted only as far as it must.
[[nodiscard]] QColor colour(const QPalette& palette, const QColor& background);
/// Draws the ring just inside `rect`, its corners rounded by `radius`.
void paint(QPainter& painter, const QRectF& rect, double radius, const QPalette& palette, const QColor& background);

/// Whether `widget`, given the focus for `reason`, was reached by the keyboard: Tab and
/// shortcuts are, a click is not, and a menu or window handing the focus back leaves it as
/// it `was`.
[[nodiscard]] bool byKeyboard(const QWidget* widget, Qt::FocusReason reason, bool was);

/// Follows `widget`'s focus events: whether the focus it holds came by the keyboard. A menu or
/// another window taking the focus for a while leaves that as it `was`; other events too.
[[nodiscard]] bool followFocus(const QWidget* widget, const QEvent* event, bool was);

/// Rings `control` from outside, a pixel clear of it on its parent's background, while the
/// keyboard has brought the focus to it; the ring's corners follow a pill's. The control's
/// own drawing and size stay as they are.
void ringAround(QWidget* control);

} // namespace FocusRing
