#include "widgets/PlainLabel.h"

#include "platform/TextFitting.h"

#include <QResizeEvent>

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
    bool cut = false;
    const QString shown = m_lineLimit > 0
        ? TextFitting::fitted(m_fullText, font(), room.width(),
            std::clamp(
                (room.height() + fontMetrics().leading()) / std::max(1, fontMetrics().lineSpacing()), 1, m_lineLimit),
            &cut)
        : fontMetrics().elidedText(m_fullText, m_elideMode, room.width());
    QLabel::setText(shown);
    setToolTip(shown == m_fullText || (m_lineLimit > 0 && !cut) ? QString() : m_fullText);
}
