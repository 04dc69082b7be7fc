#pragma once

#include <QFont>
#include <QHash>
#include <QString>
#include <QStringList>

/// Breaks plain text into lines of a given width, from widths of its characters that it
/// remembers. A chat history repeats the same few hundred characters thousands of times;
/// laying each message out afresh would measure every glyph again (a colour emoji is
/// decoded each time its metrics are asked for).
///
/// Lines break at the places the Unicode line-breaking rules allow, and anywhere between
/// characters in a run too long for one line. Nothing of the text is dropped: the lines of
/// a paragraph joined give the paragraph back.
class TextWrapper
{
public:
    struct Wrapped
    {
        QStringList lines;
        int width = 0; ///< of the widest line
        int height = 0;
    };

    explicit TextWrapper(const QFont& font = {});

    [[nodiscard]] const QFont& font() const { return m_font; }
    /// As tall as the tallest of the fonts that text in this font may fall back to.
    [[nodiscard]] int lineHeight() const { return m_lineHeight; }
    [[nodiscard]] int ascent() const { return m_ascent; }

    [[nodiscard]] Wrapped wrap(const QString& text, int width);
    /// The width of `text` on one line, summed from its characters.
    [[nodiscard]] qreal width(QStringView text);

private:
    void wrapParagraph(QStringView paragraph, qreal width, Wrapped& out);
    qreal clusterWidth(QStringView cluster);

    QFont m_font;
    QHash<QString, qreal> m_widths;
    int m_lineHeight = 0;
    int m_ascent = 0;
};
