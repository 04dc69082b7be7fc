#include "driftbottle/TextWrapper.h"

#include <QFontMetricsF>
#include <QTextBoundaryFinder>
#include <QTextLayout>

#include <cmath>

using namespace Qt::StringLiterals;

TextWrapper::TextWrapper(const QFont& font)
    : m_font(font)
{
    // Chinese, Latin with descenders and an emoji on one line: the height every line gets.
    QTextLayout probe(u"汉Ag🌊"_s, font);
    probe.beginLayout();
    const QTextLine line = probe.createLine();
    probe.endLayout();
    const QFontMetricsF metrics(font);
    m_lineHeight = static_cast<int>(std::ceil(std::max(line.height(), metrics.height())));
    m_ascent = static_cast<int>(std::ceil(std::max(line.ascent(), metrics.ascent())));
}

qreal TextWrapper::clusterWidth(QStringView cluster)
{
    const QString key = cluster.toString();
    auto known = m_widths.constFind(key);
    if (known == m_widths.cend())
        known = m_widths.insert(key, QFontMetricsF(m_font).horizontalAdvance(key));
    return *known;
}

qreal TextWrapper::width(QStringView text)
{
    QTextBoundaryFinder clusters(QTextBoundaryFinder::Grapheme, text.data(), static_cast<int>(text.size()));
    qreal total = 0;
    qsizetype start = 0;
    for (qsizetype end = clusters.toNextBoundary(); end > 0; end = clusters.toNextBoundary()) {
        total += clusterWidth(text.mid(start, end - start));
        start = end;
    }
    return total;
}

TextWrapper::Wrapped TextWrapper::wrap(const QString& text, int width)
{
    Wrapped out;
    const qreal available = std::max(1, width);
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool end = i == text.size();
        const QChar c = end ? QChar() : text.at(i);
        if (!end && c != u'\n' && c != u'\r' && c != QChar::LineSeparator && c != QChar::ParagraphSeparator)
            continue;
        wrapParagraph(QStringView(text).mid(start, i - start), available, out);
        if (!end && c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    out.height = static_cast<int>(out.lines.size()) * m_lineHeight;
    return out;
}

void TextWrapper::wrapParagraph(QStringView paragraph, qreal available, Wrapped& out)
{
    QString line;
    qreal lineWidth = 0;
    auto finish = [&] {
        out.width = std::max(out.width, static_cast<int>(std::ceil(std::min(lineWidth, available))));
        out.lines.append(line);
        line.clear();
        lineWidth = 0;
    };

    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, paragraph.data(), static_cast<int>(paragraph.size()));
    qsizetype start = 0;
    for (qsizetype end = breaks.toNextBoundary(); end > 0; end = breaks.toNextBoundary()) {
        const QStringView segment = paragraph.mid(start, end - start);
        start = end;
        // Blanks at the end of a line hang past its edge, as in any text layout.
        qsizetype visible = segment.size();
        while (visible > 0 && segment.at(visible - 1).isSpace())
            --visible;
        const qreal segmentWidth = width(segment);
        const qreal visibleWidth = visible == segment.size() ? segmentWidth : width(segment.first(visible));
        if (lineWidth + visibleWidth <= available) {
            line += segment;
            lineWidth += segmentWidth;
            continue;
        }
        if (!line.isEmpty())
            finish();
        if (visibleWidth <= available) {
            line = segment.toString();
            lineWidth = segmentWidth;
            continue;
        }
        // A run longer than a line: break it between characters.
        QTextBoundaryFinder clusters(QTextBoundaryFinder::Grapheme, segment.data(), static_cast<int>(segment.size()));
        qsizetype from = 0;
        for (qsizetype to = clusters.toNextBoundary(); to > 0; to = clusters.toNextBoundary()) {
            const QStringView cluster = segment.mid(from, to - from);
            from = to;
            const qreal w = clusterWidth(cluster);
            if (lineWidth + w > available && !line.isEmpty() && !cluster.front().isSpace())
                finish();
            line += cluster;
            lineWidth += w;
        }
    }
    finish();
}
