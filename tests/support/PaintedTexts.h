#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QRect>
#include <QString>

class QWidget;

/// One run of text as a widget tree paints it: the string, its font, where its line lies
/// and where its ink lies on the drawn picture, and what the painter let through there.
struct PaintedText
{
    /// The characters, or glyphRun when the run came as glyphs alone.
    QString text;
    QFont font;
    /// The font's size in pixels as drawn.
    double pixelSize = 0;
    /// The run's line: from its start to its advance, from its ascent to its descent.
    QRect line;
    /// The box its glyphs cover when nothing cuts them.
    QRect ink;
    /// What the painter let through when the run was drawn; the whole picture when nothing.
    QRect clip;
};

/// A picture drawn from a pixmap or an image (icons, glyphs, colour emoji).
struct PaintedPicture
{
    QRect box;
    QRect clip;
};

struct Painted
{
    QList<PaintedText> texts;
    QList<PaintedPicture> pictures;
};

/// Every text run and picture `root` and its children paint, in `root`'s coordinates, found
/// by painting the tree into a device that records instead of drawing.
[[nodiscard]] Painted paintedBy(QWidget* root);

/// The text of a run drawn from glyphs alone, as a text document draws them: its
/// characters are not known, only where it lies.
extern const QChar glyphRun;

/// Whether `text` is made of emoji alone (with their joiners and variation selectors).
[[nodiscard]] bool isEmojiOnly(const QString& text);
