#pragma once

#include <QImage>
#include <QRect>

class QWidget;

/// With TAMSEL_SHOT_DIR set, saves the picture there as `<name>.png` to look at later.
void saveShot(const QImage& picture, const QString& name);

/// Lets the window settle, reads its frame (title bar included) back from the screen and
/// saves it with saveShot(). Only pixels read from the screen show what the compositor and
/// the fonts really drew, such as colour emoji.
QImage grabFromScreen(QWidget* window, const QString& name, int settleMs = 300);

/// Where `area`, in `window`'s own coordinates, lies in a picture of the window's frame.
QRect inFrame(const QWidget* window, const QRect& area);

/// Pixels of strong colour inside `box` (picture coordinates): an emoji drawn in the colour
/// font has many, a monochrome fallback glyph none.
int colourfulPixels(const QImage& image, const QRect& box);
