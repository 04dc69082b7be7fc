#include "driftbottle/WrappedLabel.h"

#include "driftbottle/TextWrapper.h"
#include "platform/EmojiStyle.h"

#include <QEvent>
#include <QPainter>

WrappedLabel::WrappedLabel(int lineWidth, int maxLines, QWidget* parent)
    : QLabel(parent)
    , m_lineWidth(lineWidth)
    , m_maxLines(std::max(1, maxLines))
{
    setTextFormat(Qt::PlainText);
}

void WrappedLabel::setText(const QString& text)
{
    QLabel::setText(text);
    layOut();
}

void WrappedLabel::layOut()
{
    TextWrapper wrapper(font());
    QStringList lines = wrapper.wrap(text(), m_lineWidth).lines;
    if (lines.size() > m_maxLines) {
        const QFontMetrics metrics(font());
        const QString ellipsis(QChar(0x2026));
        lines.resize(m_maxLines);
        QString& last = lines.last();
        last = metrics.elidedText(last, Qt::ElideRight, m_lineWidth - metrics.horizontalAdvance(ellipsis));
        if (!last.endsWith(ellipsis))
            last += ellipsis;
    }
    m_lines = lines;
    // As tall as the fonts its Chinese or emoji may come from need.
    m_lineHeight = std::max(wrapper.lineHeight(), fontMetrics().lineSpacing());
    updateGeometry();
    update();
}

QSize WrappedLabel::sizeHint() const
{
    const QFontMetrics metrics(font());
    int width = 0;
    for (const QString& line : m_lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    const QMargins margins = contentsMargins();
    return { std::min(width, m_lineWidth) + margins.left() + margins.right(),
        static_cast<int>(m_lines.size()) * m_lineHeight + margins.top() + margins.bottom() };
}

QSize WrappedLabel::minimumSizeHint() const
{
    return sizeHint();
}

void WrappedLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        layOut();
}

void WrappedLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    const QRect room = contentsRect();
    const int lineHeight = m_lineHeight;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const QRect line(room.left(), room.top() + static_cast<int>(i) * lineHeight, room.width(), lineHeight);
        EmojiStyle::drawText(
            painter, line, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip, m_lines.at(i));
    }
}
