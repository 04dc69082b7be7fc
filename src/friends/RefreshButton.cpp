#include "friends/FriendPageSymbols.h"

#include "widgets/ReadableColour.h"

#include <QFontInfo>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QVariantAnimation>

#include <cmath>

namespace {

/// The least contrast a symbol keeps against the page.
constexpr double symbolContrast = 3.0;
/// A symbol set among text stands a little taller than the text's em.
constexpr qreal symbolScale = 1.25;

/// A clockwise arrow filling the square `box`: an open ring whose end, at the top, carries
/// the head pointing right, so the arrow runs clockwise into the gap.
void paintClockwiseArrow(QPainter& painter, const QRectF& box, const QColor& colour)
{
    const qreal side = box.width();
    const QPointF centre = box.center();
    const qreal radius = 0.32 * side;
    const QRectF ring(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    QPainterPath arc;
    arc.arcMoveTo(ring, 90);
    arc.arcTo(ring, 90, 300);
    QPainterPath head;
    const QPointF top(centre.x(), centre.y() - radius);
    head.moveTo(top + QPointF(0.2 * side, 0));
    head.lineTo(top + QPointF(-0.08 * side, -0.19 * side));
    head.lineTo(top + QPointF(-0.08 * side, 0.19 * side));
    head.closeSubpath();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, std::max(1.5, 0.11 * side), Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(arc);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(head);
    painter.restore();
}

QPainterPath stroked(const QPainterPath& path, qreal width)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::FlatCap);
    return stroker.createStroke(path);
}

/// A person as a head over shoulders: the top of an ellipse cut off at `bottom`. In units of
/// `unit` pixels; the shapes are scaled before they are combined, so curves stay smooth.
QPainterPath person(qreal unit, QPointF head, qreal headRadius, const QRectF& shoulders, qreal bottom)
{
    QPainterPath body;
    body.addEllipse(QRectF(shoulders.topLeft() * unit, shoulders.size() * unit));
    QPainterPath below;
    below.addRect(
        shoulders.left() * unit, shoulders.top() * unit, shoulders.width() * unit, (bottom - shoulders.top()) * unit);
    QPainterPath face;
    face.addEllipse(head * unit, headRadius * unit, headRadius * unit);
    return body.intersected(below).united(face);
}

/// Two people, the one behind set off from the one in front by a gap, struck through by a
/// slash with a gap of its own, filling `size` (its height is the unit of the shapes).
QPainterPath peopleStruckThrough(const QSizeF& size)
{
    const qreal unit = size.height();
    const QPainterPath front = person(unit, { 0.37, 0.3 }, 0.2, QRectF(0.0, 0.62, 0.76, 0.76), 1.0);
    QPainterPath back = person(unit, { 0.95, 0.24 }, 0.17, QRectF(0.64, 0.54, 0.64, 0.6), 0.84);
    back = back.subtracted(front.united(stroked(front, 0.1 * unit)));
    QPainterPath line;
    line.moveTo(QPointF(0.3, -0.1) * unit);
    line.lineTo(QPointF(1.3, 1.1) * unit);
    const qreal slash = 0.075 * unit;
    QPainterPath shape = front.united(back).subtracted(stroked(line, 3 * slash)).united(stroked(line, slash));
    QPainterPath box;
    box.addRect(QRectF(QPointF(0, 0), size));
    return shape.intersected(box);
}

/// The symbol's width for its height.
constexpr qreal peopleAspect = 1.3;

} // namespace

RefreshButton::RefreshButton(QWidget* parent)
    : QPushButton(parent)
    , m_spin(new QVariantAnimation(this))
{
    setFlat(true);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(m_spin, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        // A whole turn looks the same as none; the arrow comes to rest at 0.
        m_angle = std::fmod(value.toReal(), 360.0);
        update();
    });
}

void RefreshButton::setSpinning(bool spinning)
{
    if (spinning == m_spinning)
        return;
    m_spinning = spinning;
    m_spin->stop();
    if (spinning) {
        m_spin->setStartValue(0.0);
        m_spin->setEndValue(360.0);
        m_spin->setDuration(turnMs);
        m_spin->setEasingCurve(QEasingCurve::Linear);
        m_spin->setLoopCount(-1);
    } else {
        if (m_angle == 0)
            return;
        // Finish the turn under way rather than snap back, slowing to a stop upright.
        m_spin->setStartValue(m_angle);
        m_spin->setEndValue(360.0);
        m_spin->setDuration(settleMs);
        m_spin->setEasingCurve(QEasingCurve::OutCubic);
        m_spin->setLoopCount(1);
    }
    m_spin->start();
}

int RefreshButton::symbolSide() const
{
    return int(std::lround(QFontInfo(font()).pixelSize() * symbolScale));
}

QSize RefreshButton::sizeHint() const
{
    const int side = std::max(28, symbolSide() + 12);
    return { side, side };
}

QSize RefreshButton::minimumSizeHint() const
{
    return sizeHint();
}

void RefreshButton::paintEvent(QPaintEvent* event)
{
    QPushButton::paintEvent(event);
    QPainter painter(this);
    const QPointF centre = QRectF(rect()).center();
    painter.translate(centre);
    painter.rotate(m_angle);
    const qreal side = symbolSide();
    // Disabled text may be too faint to show the arrow spinning, which is all the feedback a
    // refresh gives: it keeps the contrast a symbol needs.
    const QColor colour
        = ReadableColour::on(palette().color(QPalette::ButtonText), palette().color(QPalette::Window), symbolContrast);
    paintClockwiseArrow(painter, QRectF(-side / 2, -side / 2, side, side), colour);
}

NoFriendsSymbol::NoFriendsSymbol(int side, QWidget* parent)
    : QWidget(parent)
{
    setFixedSize(int(std::lround(side * peopleAspect)), side);
}

QColor NoFriendsSymbol::colourOn(const QColor& background)
{
    // The platform's grey, darkened or lightened only as far as a symbol must to read.
    return ReadableColour::on(QColor(0x8e, 0x8e, 0x93), background, symbolContrast);
}

void NoFriendsSymbol::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(peopleStruckThrough(size()), colourOn(palette().color(QPalette::Window)));
}
