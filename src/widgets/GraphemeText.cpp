#include "widgets/GraphemeText.h"

#include <QTextBoundaryFinder>

namespace GraphemeText {

qsizetype count(const QString& text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype n = 0;
    while (finder.toNextBoundary() > 0)
        ++n;
    return n;
}

QString truncated(const QString& text, qsizetype limit)
{
    if (limit <= 0)
        return {};
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype n = 0;
    qsizetype end = 0;
    while (n < limit) {
        const qsizetype next = finder.toNextBoundary();
        if (next < 0)
            return text;
        end = next;
        ++n;
    }
    return text.left(end);
}

QString quoted(QString text, qsizetype limit)
{
    for (QChar& c : text) {
        if (c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u' ';
    }
    return count(text) > limit ? truncated(text, limit) + QChar(0x2026) : text;
}

} // namespace GraphemeText
