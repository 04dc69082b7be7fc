#pragma once

#include "support/PaintedTexts.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

#include <utility>

class QWidget;

/// What a screen looks like in one setting: its picture over a light and a dark desktop
/// (the same unless the screen lets the desktop through) and what it painted.
struct Look
{
    QImage overLight;
    QImage overDark;
    Painted painted;
    QList<std::pair<QRect, QString>> glyphs;
    /// Typed text: where an editor or a field holds it, and where its caret stands.
    struct Field
    {
        QRect text;
        QRect caret;
        QString name;
    };
    QList<Field> fields;
    /// A meter of bars that tell a figure: where it stands and how many of its bars are lit.
    struct Meter
    {
        QRect box;
        int lit = 0;
        QString name;
    };
    QList<Meter> meters;
    /// An emoji in text that is typed or read (an editor, a field, a line of a card or a
    /// label): where it is drawn, and the text it stands in.
    struct Emoji
    {
        QRect box;
        QString name;
        /// The emoji sequences alone, without the words around them.
        QString sequences;
        /// Whether the box holds one sequence alone, not a line or a field around it.
        bool alone = false;
    };
    QList<Emoji> emoji;
};

/// `root` as drawn now, once pending events have run.
[[nodiscard]] Look lookOf(QWidget* root);

/// Runs what is pending: posted events, a palette's or a layout's changes.
void settle();

/// A widget as a failure names it: its class and object name.
[[nodiscard]] QString nameOf(const QWidget* widget);

/// `text` as a failure names it: an editor's runs by the editor's text.
[[nodiscard]] QString wordsOf(const PaintedText& text, const QWidget* at);

/// The strongest ink inside `area` against the commonest colour around it.
[[nodiscard]] double contrastIn(const QImage& image, const QRect& area);

/// Whether what is drawn in `area` has many colours, as a colour emoji has, rather than one
/// ink smoothed into its background: two hues or more, each on several strong pixels.
[[nodiscard]] bool manyColoured(const QImage& image, const QRect& area);

/// Whether `text` holds a letter, a digit or a CJK character: a run of punctuation or of
/// spaces alone is part of a line, not a text to be read on its own.
[[nodiscard]] bool readable(const QString& text);

/// The runs of one line laid end to end (a line changes font where its script does), as
/// one text: its ink, the clip it was drawn in and its words.
[[nodiscard]] QList<PaintedText> linesOf(const QList<PaintedText>& runs);
