#include "widgets/PlainLabel.h"

#include <QResizeEvent>
#include <QTextLayout>

#include <algorithm>

PlainLabel::PlainLabel(const QString& text, QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setText(text);
}

void PlainLabel::setElideMode(Qt::TextElideMode mode)
{
    m_elideMode = mode;
    if (mode != Qt::ElideNone)
        setSizePolicy(QSizePolicy::Ignored, sizePolicy().verticalPolicy());
    updateShownText();
}

void PlainLabel::setText(const QString& text)
{
    m_fullText = text;
    updateShownText();
}

void PlainLabel::setLineLimit(int lines)
{
    m_lineLimit = std::max(1, lines);
    setElideMode(Qt::ElideRight);
}

QString PlainLabel::fitted(const QString& text, const QFont& font, int width, int lines)
{
    const QFontMetrics metrics(font);
    const QStringList paragraphs = text.split(u'\n');
    QStringList shown;
    for (qsizetype p = 0; p < paragraphs.size(); ++p) {
        QTextLayout layout(paragraphs.at(p), font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            if (shown.size() + 1 == lines) {
                // The last line takes the rest, the following paragraphs too, and ends in "…".
                QStringList rest { paragraphs.at(p).mid(line.textStart()) };
                rest += paragraphs.mid(p + 1);
                shown << metrics.elidedText(rest.join(u' '), Qt::ElideRight, width);
                layout.endLayout();
                return shown.join(u'\n');
            }
            shown << paragraphs.at(p).mid(line.textStart(), line.textLength()).trimmed();
        }
        layout.endLayout();
    }
    return shown.join(u'\n');
}

QSize PlainLabel::sizeHint() const
{
    if (m_lineLimit == 0)
        return QLabel::sizeHint();
    return { minimumSizeHint().width(), QLabel::sizeHint().height() };
}

QSize PlainLabel::minimumSizeHint() const
{
    if (m_lineLimit > 0)
        return { fontMetrics().horizontalAdvance(QChar(0x2026)), fontMetrics().height() };
    if (m_elideMode == Qt::ElideNone)
        return QLabel::minimumSizeHint();
    return { fontMetrics().horizontalAdvance(QChar(0x2026)), QLabel::minimumSizeHint().height() };
}

void PlainLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    updateShownText();
}

void PlainLabel::updateShownText()
{
    if (m_elideMode == Qt::ElideNone) {
        QLabel::setText(m_fullText);
        return;
    }
    const QRect room = contentsRect();
    const QString shown = m_lineLimit > 0
        ? fitted(m_fullText, font(), room.width(),
            std::clamp(
                (room.height() + fontMetrics().leading()) / std::max(1, fontMetrics().lineSpacing()), 1, m_lineLimit))
        : fontMetrics().elidedText(m_fullText, m_elideMode, room.width());
    QLabel::setText(shown);
    setToolTip(shown == m_fullText ? QString() : m_fullText);
}
