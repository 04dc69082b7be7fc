#include "platform/CloseSymbol.h"

#include "platform/SecondaryColour.h"

#include <QFontInfo>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionFocusRect>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

/// The cross spans this share of the disc's diameter, with strokes this thick, so that it
/// stays legible down to a caption-sized symbol.
constexpr qreal crossSpan = 0.5;
constexpr qreal strokeShare = 0.11;
constexpr qreal minimumStroke = 1.25;
/// How much a pressed symbol fades, as a plain button's label does.
constexpr qreal pressedOpacity = 0.6;

} // namespace

void CloseSymbol::paint(QPainter& painter, const QRectF& box, const QColor& disc, const QColor& cross)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(disc);
    painter.drawEllipse(box);
    const QPointF centre = box.center();
    const qreal half = box.width() * crossSpan / 2;
    painter.setPen(QPen(cross, std::max(minimumStroke, box.width() * strokeShare), Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre + QPointF(-half, -half), centre + QPointF(half, half));
    painter.drawLine(centre + QPointF(half, -half), centre + QPointF(-half, half));
    painter.restore();
}

int CloseSymbol::sideFor(const QFont& font, qreal scale)
{
    return std::max(1, int(std::lround(QFontInfo(font).pixelSize() * scale)));
}

CloseSymbolButton::CloseSymbolButton(int side, QPalette::ColorRole surface, QWidget* parent)
    : QToolButton(parent)
    , m_side(side)
    , m_surface(surface)
{
    setAutoRaise(true);
    setAccessibleName(u"关闭"_s);
    setFixedSize(side, side);
}

QColor CloseSymbolButton::discColour(const QPalette& palette, QPalette::ColorRole surface)
{
    const QPalette::ColorRole text = surface == QPalette::Base ? QPalette::Text : QPalette::WindowText;
    return SecondaryColour::dimmed(palette.color(text), { palette.color(surface) });
}

QSize CloseSymbolButton::sizeHint() const
{
    return { m_side, m_side };
}

QSize CloseSymbolButton::minimumSizeHint() const
{
    return sizeHint();
}

void CloseSymbolButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (isDown())
        painter.setOpacity(pressedOpacity);
    const QColor surface = palette().color(m_surface);
    CloseSymbol::paint(painter, QRectF(rect()), discColour(palette(), m_surface), surface);
    if (hasFocus()) {
        painter.setOpacity(1.0);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.backgroundColor = surface;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}
