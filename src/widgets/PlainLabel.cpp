#include "widgets/PlainLabel.h"

#include <QResizeEvent>

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

QSize PlainLabel::minimumSizeHint() const
{
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
    const QString shown = fontMetrics().elidedText(m_fullText, m_elideMode, contentsRect().width());
    QLabel::setText(shown);
    setToolTip(shown == m_fullText ? QString() : m_fullText);
}
