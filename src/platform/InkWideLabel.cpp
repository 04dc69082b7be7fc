#include "platform/InkWideLabel.h"

#include "platform/EmojiStyle.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QtMath>

InkWideLabel::InkWideLabel(const QString& text, const QFont& font, QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setText(text);
    setFont(font);
    measure();
}

void InkWideLabel::setEmoji(const QString& text)
{
    if (text == this->text())
        return;
    setText(text);
    measure();
}

QSize InkWideLabel::sizeHint() const
{
    return { m_ink.isEmpty() ? 0 : m_ink.width(), QLabel::sizeHint().height() };
}

QSize InkWideLabel::minimumSizeHint() const
{
    return sizeHint();
}

void InkWideLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        measure();
}

void InkWideLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    style()->drawItemText(&painter, QRect(-m_ink.left(), 0, m_advance, height()),
        Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, palette(), isEnabled(), text(), foregroundRole());
}

void InkWideLabel::measure()
{
    m_ink = EmojiStyle::inkBounds(text(), font());
    m_advance = qCeil(EmojiStyle::horizontalAdvance(text(), font()));
    updateGeometry();
    update();
}
