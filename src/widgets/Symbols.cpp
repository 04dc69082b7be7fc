#include "widgets/Symbols.h"

#include "platform/SecondaryColour.h"
#include "platform/SystemColours.h"
#include "widgets/ButtonFollower.h"
#include "widgets/ButtonStyle.h"
#include "widgets/ReadableColour.h"
#include "widgets/SecondaryText.h"

#include <QAbstractButton>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPixmap>
#include <QPushButton>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace Symbols {

namespace {

/// Every glyph is drawn on a 16-unit square; strokes are this thick, so the set has one
/// line weight.
constexpr qreal unitSide = 16.0;
constexpr qreal strokeWidth = 1.5;

class Pen
{
public:
    Pen(QPainter& painter, const QColor& colour)
        : m_painter(painter)
        , m_colour(colour)
    {
    }

    /// Draws what follows in the symbol's colour, as a line of `width`.
    QPainter& stroke(qreal width = strokeWidth)
    {
        m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        m_painter.setPen(QPen(m_colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        m_painter.setBrush(Qt::NoBrush);
        return m_painter;
    }
    /// Fills what follows in the symbol's colour.
    QPainter& fill()
    {
        m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        m_painter.setPen(Qt::NoPen);
        m_painter.setBrush(m_colour);
        return m_painter;
    }
    /// Cuts what follows out of the glyph as a line of `width`: the background shows through.
    QPainter& cutStroke(qreal width = strokeWidth)
    {
        m_painter.setCompositionMode(QPainter::CompositionMode_Clear);
        m_painter.setPen(QPen(Qt::black, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        m_painter.setBrush(Qt::NoBrush);
        return m_painter;
    }
    /// Cuts the area that follows out of the glyph.
    QPainter& cutFill()
    {
        m_painter.setCompositionMode(QPainter::CompositionMode_Clear);
        m_painter.setPen(Qt::NoPen);
        m_painter.setBrush(Qt::black);
        return m_painter;
    }

private:
    QPainter& m_painter;
    QColor m_colour;
};

void polyline(QPainter& painter, std::initializer_list<QPointF> points)
{
    painter.drawPolyline(points.begin(), int(points.size()));
}

/// Path operations turn curves into lines of about one unit: done this many times larger,
/// a glyph's small curves stay round.
constexpr qreal fineScale = 8.0;

QPainterPath person(QPointF head, qreal headRadius, const QRectF& shoulders, qreal bottom)
{
    const QTransform up = QTransform::fromScale(fineScale, fineScale);
    QPainterPath body;
    body.addEllipse(up.mapRect(shoulders));
    QPainterPath below;
    below.addRect(up.mapRect(QRectF(shoulders.left(), shoulders.top(), shoulders.width(), bottom - shoulders.top())));
    QPainterPath face;
    face.addEllipse(up.map(head), headRadius * fineScale, headRadius * fineScale);
    return up.inverted().map(body.intersected(below).united(face));
}

QPainterPath stroked(const QPainterPath& path, qreal width)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::FlatCap);
    return stroker.createStroke(path);
}

/// Two people, the one behind set off from the one in front by a gap.
QPainterPath twoPeople()
{
    const QPainterPath front = person({ 5.5, 6.2 }, 2.6, QRectF(0.5, 10.0, 10.0, 10.0), 14.5);
    QPainterPath back = person({ 11.5, 5.0 }, 2.2, QRectF(7.5, 8.8, 8.0, 8.0), 12.5);
    const QTransform up = QTransform::fromScale(fineScale, fineScale);
    const QPainterPath fineFront = up.map(front);
    back = up.map(back).subtracted(fineFront.united(stroked(fineFront, 1.5 * fineScale)));
    return up.inverted().map(fineFront.united(back));
}

/// Two people struck through.
void drawPeopleStruckThrough(Pen& pen)
{
    QPainterPath line;
    line.moveTo(2.0, 1.0);
    line.lineTo(15.0, 15.0);
    const QPainterPath shape = twoPeople().subtracted(stroked(line, 3.6)).united(stroked(line, 1.2));
    pen.fill().drawPath(shape);
}

void drawDocument(Pen& pen, const QRectF& sheet, bool filled)
{
    if (filled)
        pen.fill().drawRoundedRect(sheet, 1.8, 1.8);
    else
        pen.stroke().drawRoundedRect(sheet, 1.8, 1.8);
}

/// A speech bubble's outline: a rounded box with a tail at its lower left or right corner.
QPainterPath speechBubble(const QRectF& box, bool tailLeft)
{
    QPainterPath bubble;
    bubble.addRoundedRect(box, 2.6, 2.6);
    QPainterPath tail;
    const qreal x = tailLeft ? box.left() + 2.4 : box.right() - 2.4;
    const qreal out = tailLeft ? -1.6 : 1.6;
    tail.moveTo(x - out, box.bottom() - 1.0);
    tail.lineTo(x + out, box.bottom() + 2.4);
    tail.lineTo(x + 2.0 * (tailLeft ? 1 : -1), box.bottom() - 1.0);
    tail.closeSubpath();
    return bubble.united(tail).simplified();
}

/// A padlock's body and shackle; the keyhole is cut when the body is filled.
void drawLock(Pen& pen, bool filled)
{
    const QRectF body(2.75, 7.25, 10.5, 7.5);
    QPainterPath shackle;
    shackle.moveTo(5.0, 7.25);
    shackle.lineTo(5.0, 5.0);
    shackle.arcTo(QRectF(5.0, 2.0, 6.0, 6.0), 180, -180);
    shackle.lineTo(11.0, 7.25);
    pen.stroke().drawPath(shackle);
    if (filled) {
        pen.fill().drawRoundedRect(body.adjusted(-0.75, -0.75, 0.75, 0.75), 1.8, 1.8);
        pen.cutFill().drawEllipse(QPointF(8, 10.4), 1.2, 1.2);
        pen.cutStroke(1.2).drawLine(QPointF(8, 10.6), QPointF(8, 12.6));
    } else {
        pen.stroke().drawRoundedRect(body, 1.6, 1.6);
        pen.fill().drawEllipse(QPointF(8, 11.0), 1.0, 1.0);
    }
}

/// A person in outline: a head and the curve of the shoulders.
void drawPersonOutline(Pen& pen, qreal centre)
{
    pen.stroke().drawEllipse(QPointF(centre, 5.0), 2.9, 2.9);
    QPainterPath shoulders;
    shoulders.moveTo(centre - 5.6, 14.6);
    shoulders.cubicTo(centre - 5.6, 10.2, centre + 5.6, 10.2, centre + 5.6, 14.6);
    shoulders.closeSubpath();
    pen.stroke().drawPath(shoulders);
}

/// A rounded square with an arrow pointing up and forward in its middle, drawn on the pixel
/// grid of whatever size it is drawn at. It is mostly shown at caption size, about 10 px:
/// there the set's strokes on its 16-unit grid fall between pixels, and the smoothed arrow
/// runs into the square as one grey blob. Whole-pixel strokes centred on pixels, a shaft
/// stepped in whole pixels and a clear pixel between arrow and square keep the two apart.
void drawArrowOutOfSquare(QPainter& painter, Pen& pen)
{
    const qreal side = unitSide * painter.transform().m11();
    painter.save();
    painter.resetTransform();
    const int weight = std::max(1, int(std::lround(strokeWidth * side / unitSide)));
    // Centres of odd-width strokes lie in the middle of a pixel, of even ones on its edge.
    const auto onGrid = [weight](qreal at) { return weight % 2 ? std::floor(at) + 0.5 : std::round(at); };
    const qreal edge = weight / 2.0;
    const qreal radius = std::max(1.0, 3.0 * side / unitSide);
    pen.stroke(weight).drawRoundedRect(QRectF(edge, edge, side - weight, side - weight), radius, radius);
    // The arrow spans three tenths of the side each way, centred, and leaves at least one
    // clear pixel to the square on every side; its head's arms are two thirds of its span.
    const qreal inside = side - 2 * weight;
    const qreal reach = std::max(2.0, std::min(std::round(0.3 * side), inside - weight - 2));
    const qreal low = onGrid(side / 2 - reach / 2);
    const qreal high = low + reach;
    const qreal arm = std::max(1.0, std::round(reach * 2 / 3));
    // The shaft as a stair of whole pixels: a smoothed slanted line of one pixel shows as two
    // half-grey ones.
    const QPainter::RenderHints hints = painter.renderHints();
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (qreal step = 0; step <= reach; ++step)
        pen.fill().drawRect(QRectF(low + step - edge, high - step - edge, weight, weight));
    painter.setRenderHints(hints);
    polyline(pen.stroke(weight), { { high - arm, low }, { high, low }, { high, low + arm } });
    painter.restore();
}

void drawGlyph(QPainter& painter, Symbol symbol, const QColor& colour)
{
    Pen pen(painter, colour);
    switch (symbol) {
    case Symbol::alarm:
        pen.stroke().drawEllipse(QPointF(8, 9), 5.2, 5.2);
        polyline(pen.stroke(1.4), { { 8, 6.2 }, { 8, 9 }, { 10, 10.4 } });
        pen.stroke(1.8).drawLine(QPointF(1.8, 4.0), QPointF(4.0, 1.8));
        pen.stroke(1.8).drawLine(QPointF(12.0, 1.8), QPointF(14.2, 4.0));
        pen.stroke().drawLine(QPointF(4.6, 13.2), QPointF(3.4, 14.8));
        pen.stroke().drawLine(QPointF(11.4, 13.2), QPointF(12.6, 14.8));
        break;
    case Symbol::alarmFill:
        pen.fill().drawEllipse(QPointF(8, 9), 6.0, 6.0);
        polyline(pen.cutStroke(1.4), { { 8, 6.0 }, { 8, 9 }, { 10.2, 10.4 } });
        pen.stroke(2.2).drawLine(QPointF(1.8, 4.0), QPointF(4.0, 1.8));
        pen.stroke(2.2).drawLine(QPointF(12.0, 1.8), QPointF(14.2, 4.0));
        pen.stroke().drawLine(QPointF(4.4, 13.6), QPointF(3.2, 15.0));
        pen.stroke().drawLine(QPointF(11.6, 13.6), QPointF(12.8, 15.0));
        break;
    case Symbol::arrowClockwise: {
        const QRectF ring(2.6, 2.6, 10.8, 10.8);
        QPainterPath arc;
        arc.arcMoveTo(ring, 90);
        arc.arcTo(ring, 90, 300);
        pen.stroke(1.7).drawPath(arc);
        QPainterPath head;
        head.moveTo(11.4, 2.6);
        head.lineTo(6.9, -0.4);
        head.lineTo(6.9, 5.6);
        head.closeSubpath();
        pen.fill().drawPath(head);
        break;
    }
    case Symbol::arrowshapeTurnUpLeftFill: {
        QPainterPath arrow;
        arrow.moveTo(0.8, 6.4);
        arrow.lineTo(6.8, 1.2);
        arrow.lineTo(6.8, 4.2);
        arrow.lineTo(9.2, 4.2);
        arrow.cubicTo(13.2, 4.2, 15.2, 7.2, 15.2, 14.8);
        arrow.cubicTo(13.8, 11.2, 12.0, 8.6, 9.2, 8.6);
        arrow.lineTo(6.8, 8.6);
        arrow.lineTo(6.8, 11.6);
        arrow.closeSubpath();
        pen.fill().drawPath(arrow);
        break;
    }
    case Symbol::arrowUpForwardSquare:
        drawArrowOutOfSquare(painter, pen);
        break;
    case Symbol::bubbleLeftAndBubbleRight: {
        // The bubble behind, on the right, shows only where the one in front leaves it room.
        const QPainterPath front = speechBubble(QRectF(0.9, 1.4, 9.6, 7.6), true);
        const QPainterPath back = speechBubble(QRectF(5.5, 5.4, 9.6, 7.6), false);
        pen.stroke().drawPath(back.subtracted(front.united(stroked(front, 3.0))));
        pen.stroke().drawPath(front);
        break;
    }
    case Symbol::checkmarkCircleFill:
        pen.fill().drawEllipse(QPointF(8, 8), 7.5, 7.5);
        polyline(pen.cutStroke(1.8), { { 4.6, 8.3 }, { 7.0, 10.7 }, { 11.4, 5.6 } });
        break;
    case Symbol::chevronRight:
        polyline(pen.stroke(2.0), { { 5.8, 2.6 }, { 11.2, 8 }, { 5.8, 13.4 } });
        break;
    case Symbol::clock:
        pen.stroke().drawEllipse(QPointF(8, 8), 6.6, 6.6);
        polyline(pen.stroke(1.4), { { 8, 4.2 }, { 8, 8 }, { 10.8, 9.6 } });
        break;
    case Symbol::cpu:
        pen.stroke().drawRoundedRect(QRectF(3.5, 3.5, 9, 9), 1.6, 1.6);
        pen.fill().drawRoundedRect(QRectF(6, 6, 4, 4), 0.6, 0.6);
        for (const qreal at : { 5.6, 8.0, 10.4 }) {
            pen.stroke(1.1).drawLine(QPointF(at, 0.9), QPointF(at, 2.8));
            pen.stroke(1.1).drawLine(QPointF(at, 13.2), QPointF(at, 15.1));
            pen.stroke(1.1).drawLine(QPointF(0.9, at), QPointF(2.8, at));
            pen.stroke(1.1).drawLine(QPointF(13.2, at), QPointF(15.1, at));
        }
        break;
    case Symbol::desktopComputer:
        pen.stroke().drawRoundedRect(QRectF(1.25, 1.75, 13.5, 9.5), 1.6, 1.6);
        pen.fill().drawRect(QRectF(7, 11, 2, 2.6));
        pen.stroke().drawLine(QPointF(4.4, 14.2), QPointF(11.6, 14.2));
        break;
    case Symbol::docOnDoc:
    case Symbol::docOnDocFill: {
        const bool filled = symbol == Symbol::docOnDocFill;
        const QRectF front(1.75, 4.25, 8.5, 10.5);
        drawDocument(pen, QRectF(5.75, 1.25, 8.5, 10.5), filled);
        // The sheet in front hides the one behind it, with a gap around its edge.
        pen.cutFill().drawRoundedRect(front.adjusted(-1.6, -1.6, 1.6, 1.6), 2.6, 2.6);
        drawDocument(pen, front, filled);
        break;
    }
    case Symbol::envelope:
        pen.stroke().drawRoundedRect(QRectF(1.25, 3.25, 13.5, 9.5), 1.6, 1.6);
        polyline(pen.stroke(1.3), { { 1.8, 4.2 }, { 8, 9.0 }, { 14.2, 4.2 } });
        break;
    case Symbol::envelopeCircleFill:
        pen.fill().drawEllipse(QPointF(8, 8), 7.5, 7.5);
        pen.cutStroke(1.1).drawRoundedRect(QRectF(4.0, 5.2, 8.0, 5.6), 0.9, 0.9);
        polyline(pen.cutStroke(1.0), { { 4.4, 5.8 }, { 8, 8.6 }, { 11.6, 5.8 } });
        break;
    case Symbol::envelopeFill:
        pen.fill().drawRoundedRect(QRectF(0.75, 2.75, 14.5, 10.5), 1.8, 1.8);
        polyline(pen.cutStroke(1.3), { { 1.4, 3.8 }, { 8, 9.0 }, { 14.6, 3.8 } });
        break;
    case Symbol::exclamationmarkTriangleFill: {
        QPainterPath triangle;
        triangle.moveTo(8, 1.6);
        triangle.lineTo(15.2, 14.2);
        triangle.lineTo(0.8, 14.2);
        triangle.closeSubpath();
        QPen rounded(colour, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        pen.fill();
        painter.setPen(rounded);
        painter.drawPath(triangle);
        pen.cutStroke(1.7).drawLine(QPointF(8, 5.8), QPointF(8, 9.6));
        pen.cutFill().drawEllipse(QPointF(8, 12.0), 1.0, 1.0);
        break;
    }
    case Symbol::gamecontrollerFill:
        // A wide body whose two grips hang down at its ends.
        pen.fill().drawRoundedRect(QRectF(0.6, 3.6, 14.8, 6.8), 3.4, 3.4);
        pen.fill().drawEllipse(QRectF(0.6, 5.0, 5.6, 9.4));
        pen.fill().drawEllipse(QRectF(9.8, 5.0, 5.6, 9.4));
        // A cross on the left, two buttons on the right.
        pen.cutStroke(1.1).drawLine(QPointF(2.6, 7.4), QPointF(5.4, 7.4));
        pen.cutStroke(1.1).drawLine(QPointF(4.0, 6.0), QPointF(4.0, 8.8));
        pen.cutFill().drawEllipse(QPointF(11.0, 8.2), 0.8, 0.8);
        pen.cutFill().drawEllipse(QPointF(12.6, 6.6), 0.8, 0.8);
        break;
    case Symbol::handPointUpBrailleFill:
        pen.fill().drawRoundedRect(QRectF(6.2, 1.0, 3.2, 9.0), 1.6, 1.6);
        pen.fill().drawRoundedRect(QRectF(4.0, 7.0, 9.6, 8.4), 2.8, 2.8);
        pen.fill().drawRoundedRect(QRectF(2.0, 8.4, 3.4, 4.6), 1.7, 1.7);
        pen.cutStroke(0.9).drawLine(QPointF(9.6, 7.4), QPointF(9.6, 10.2));
        pen.cutStroke(0.9).drawLine(QPointF(11.8, 7.8), QPointF(11.8, 10.2));
        for (const QPointF dot : { QPointF(2.6, 2.0), QPointF(2.6, 4.6), QPointF(4.4, 2.0) })
            pen.fill().drawEllipse(dot, 0.95, 0.95);
        break;
    case Symbol::houseFill: {
        QPainterPath house;
        house.moveTo(8, 1.4);
        house.lineTo(15.0, 7.8);
        house.lineTo(13.2, 7.8);
        house.lineTo(13.2, 14.6);
        house.lineTo(9.8, 14.6);
        house.lineTo(9.8, 10.4);
        house.lineTo(6.2, 10.4);
        house.lineTo(6.2, 14.6);
        house.lineTo(2.8, 14.6);
        house.lineTo(2.8, 7.8);
        house.lineTo(1.0, 7.8);
        house.closeSubpath();
        QPen rounded(colour, 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        pen.fill();
        painter.setPen(rounded);
        painter.drawPath(house);
        break;
    }
    case Symbol::infoCircle:
        pen.stroke().drawEllipse(QPointF(8, 8), 6.6, 6.6);
        pen.fill().drawEllipse(QPointF(8, 4.9), 1.0, 1.0);
        pen.stroke(1.7).drawLine(QPointF(8, 7.3), QPointF(8, 11.4));
        break;
    case Symbol::keyFill:
        pen.fill().drawEllipse(QPointF(8, 4.9), 4.2, 4.2);
        pen.cutFill().drawEllipse(QPointF(8, 3.5), 1.25, 1.25);
        pen.fill().drawRoundedRect(QRectF(6.8, 7.5, 2.4, 8.0), 0.6, 0.6);
        pen.fill().drawRect(QRectF(9.0, 11.2, 2.2, 1.5));
        pen.fill().drawRect(QRectF(9.0, 13.5, 1.6, 1.5));
        break;
    case Symbol::lock:
    case Symbol::lockFill:
        drawLock(pen, symbol == Symbol::lockFill);
        break;
    case Symbol::memoryChip:
        pen.stroke().drawRoundedRect(QRectF(1.25, 3.75, 13.5, 7.5), 1.2, 1.2);
        for (const qreal left : { 3.2, 6.75, 10.3 })
            pen.fill().drawRect(QRectF(left, 5.8, 2.5, 3.4));
        for (const qreal at : { 3.0, 5.0, 7.0, 9.0, 11.0, 13.0 })
            pen.stroke(1.0).drawLine(QPointF(at, 11.6), QPointF(at, 14.0));
        break;
    case Symbol::paintbrushFill: {
        // The handle up to the right, the bristles' tip down to the left.
        pen.stroke(2.6).drawLine(QPointF(9.0, 7.0), QPointF(14.2, 1.8));
        QPainterPath bristles;
        bristles.moveTo(8.6, 8.9);
        bristles.cubicTo(8.8, 12.4, 6.0, 15.0, 1.0, 15.0);
        bristles.cubicTo(2.2, 13.6, 2.0, 11.2, 3.6, 9.6);
        bristles.cubicTo(4.8, 8.4, 7.2, 7.6, 8.6, 8.9);
        bristles.closeSubpath();
        pen.cutStroke(1.0).drawLine(QPointF(8.0, 8.0), QPointF(9.4, 6.6));
        pen.fill().drawPath(bristles);
        break;
    }
    case Symbol::paperplane: {
        QPainterPath plane;
        plane.moveTo(14.8, 1.2);
        plane.lineTo(1.4, 6.9);
        plane.lineTo(6.6, 9.4);
        plane.lineTo(9.1, 14.6);
        plane.closeSubpath();
        pen.stroke(1.3).drawPath(plane);
        pen.stroke(1.1).drawLine(QPointF(6.6, 9.4), QPointF(14.8, 1.2));
        break;
    }
    case Symbol::paperplaneFill: {
        QPainterPath plane;
        plane.moveTo(15.2, 0.8);
        plane.lineTo(0.8, 6.8);
        plane.lineTo(6.4, 9.6);
        plane.lineTo(9.2, 15.2);
        plane.closeSubpath();
        pen.fill().drawPath(plane);
        pen.cutStroke(1.1).drawLine(QPointF(6.6, 9.4), QPointF(13.2, 2.8));
        break;
    }
    case Symbol::pencilCircle: {
        pen.stroke().drawEllipse(QPointF(8, 8), 6.6, 6.6);
        // A pencil across the middle, its point down to the left: a short bar would read as a
        // no-entry sign, so the body is broad, the point stands apart from it and a band
        // marks the end where the eraser sits.
        painter.save();
        painter.translate(8, 8);
        painter.rotate(-45);
        pen.fill().drawRoundedRect(QRectF(-1.3, -1.9, 5.7, 3.8), 0.8, 0.8);
        pen.cutStroke(0.9).drawLine(QPointF(2.9, -2.4), QPointF(2.9, 2.4));
        pen.fill().drawPolygon(QPolygonF({ QPointF(-2.3, -1.9), QPointF(-2.3, 1.9), QPointF(-5.0, 0) }));
        painter.restore();
        break;
    }
    case Symbol::person:
        drawPersonOutline(pen, 8.0);
        break;
    case Symbol::person2Fill:
        pen.fill().drawPath(twoPeople());
        break;
    case Symbol::personCircleFill: {
        pen.fill().drawEllipse(QPointF(8, 8), 7.5, 7.5);
        // The person cut out of the disc, its shoulders cut off by the rim.
        QPainterPath inside;
        inside.addEllipse(QPointF(8, 8), 6.3, 6.3);
        painter.save();
        painter.setClipPath(inside);
        pen.cutFill().drawEllipse(QPointF(8, 6.0), 2.7, 2.7);
        pen.cutFill().drawChord(QRectF(2.6, 10.0, 10.8, 9.0), 0, 180 * 16);
        painter.restore();
        break;
    }
    case Symbol::person2Slash:
        drawPeopleStruckThrough(pen);
        break;
    case Symbol::personBadgePlus:
        drawPersonOutline(pen, 6.4);
        pen.stroke(1.6).drawLine(QPointF(12.9, 2.4), QPointF(12.9, 7.6));
        pen.stroke(1.6).drawLine(QPointF(10.3, 5.0), QPointF(15.5, 5.0));
        break;
    case Symbol::personCropCircleBadgeQuestionmark: {
        QPainterPath disc;
        disc.addEllipse(QPointF(7.5, 7.5), 6.7, 6.7);
        pen.stroke().drawPath(disc);
        painter.save();
        painter.setClipPath(disc);
        pen.fill().drawPath(person({ 7.5, 5.6 }, 2.5, QRectF(2.5, 9.6, 10.0, 8.0), 16.0));
        painter.restore();
        // The badge: a question mark in the glyph's own ink, set off from the circle by a gap.
        // Cut out of a small disc instead, its strokes would close up into a blob.
        QPainterPath hook;
        hook.moveTo(10.9, 10.1);
        hook.cubicTo(10.9, 7.9, 15.1, 7.9, 15.1, 10.1);
        hook.cubicTo(15.1, 11.4, 13.0, 11.2, 13.0, 12.4);
        const QPointF dot(13.0, 15.1);
        pen.cutStroke(4.4).drawPath(hook);
        pen.cutFill().drawEllipse(dot, 2.1, 2.1);
        pen.stroke(1.7).drawPath(hook);
        pen.fill().drawEllipse(dot, 0.9, 0.9);
        break;
    }
    case Symbol::plusCircleFill:
        pen.fill().drawEllipse(QPointF(8, 8), 7.5, 7.5);
        pen.cutStroke(1.8).drawLine(QPointF(8, 4.4), QPointF(8, 11.6));
        pen.cutStroke(1.8).drawLine(QPointF(4.4, 8), QPointF(11.6, 8));
        break;
    case Symbol::rectanglePortraitAndArrowRight:
        pen.stroke().drawRoundedRect(QRectF(1.25, 1.25, 8.5, 13.5), 1.8, 1.8);
        pen.cutFill().drawRect(QRectF(8.5, 5.2, 3.0, 5.6));
        pen.stroke().drawLine(QPointF(5.6, 8), QPointF(14.6, 8));
        polyline(pen.stroke(), { { 12.0, 5.4 }, { 14.6, 8 }, { 12.0, 10.6 } });
        break;
    case Symbol::trash:
        pen.stroke(1.3).drawLine(QPointF(1.8, 3.6), QPointF(14.2, 3.6));
        pen.stroke(1.2).drawRoundedRect(QRectF(5.8, 0.9, 4.4, 2.7), 0.8, 0.8);
        pen.stroke().drawPolyline(
            QPolygonF({ QPointF(3.4, 4.2), QPointF(4.3, 14.75), QPointF(11.7, 14.75), QPointF(12.6, 4.2) }));
        pen.stroke(1.0).drawLine(QPointF(6.5, 6.8), QPointF(6.7, 12.4));
        pen.stroke(1.0).drawLine(QPointF(9.5, 6.8), QPointF(9.3, 12.4));
        break;
    case Symbol::trashCircle:
        // A bin, not a cup: a lid wider than the bin with a handle on it, and the bin ribbed.
        pen.stroke().drawEllipse(QPointF(8, 8), 6.6, 6.6);
        pen.stroke(1.1).drawRoundedRect(QRectF(6.7, 3.5, 2.6, 1.6), 0.5, 0.5);
        pen.stroke(1.3).drawLine(QPointF(4.5, 5.3), QPointF(11.5, 5.3));
        pen.fill().drawPolygon(
            QPolygonF({ QPointF(5.2, 6.4), QPointF(10.8, 6.4), QPointF(10.2, 12.0), QPointF(5.8, 12.0) }));
        pen.cutStroke(0.8).drawLine(QPointF(7.1, 7.6), QPointF(7.2, 10.8));
        pen.cutStroke(0.8).drawLine(QPointF(8.9, 7.6), QPointF(8.8, 10.8));
        break;
    case Symbol::trashFill:
        pen.fill().drawRoundedRect(QRectF(1.6, 2.8, 12.8, 1.9), 0.9, 0.9);
        pen.stroke(1.2).drawRoundedRect(QRectF(5.8, 0.9, 4.4, 2.4), 0.8, 0.8);
        pen.fill().drawPolygon(
            QPolygonF({ QPointF(3.0, 5.4), QPointF(13.0, 5.4), QPointF(12.1, 15.2), QPointF(3.9, 15.2) }));
        pen.cutStroke(1.0).drawLine(QPointF(6.4, 7.6), QPointF(6.6, 13.0));
        pen.cutStroke(1.0).drawLine(QPointF(9.6, 7.6), QPointF(9.4, 13.0));
        break;
    case Symbol::tray:
        polyline(pen.stroke(),
            { { 1.25, 9.0 }, { 3.8, 2.5 }, { 12.2, 2.5 }, { 14.75, 9.0 }, { 14.75, 13.75 }, { 1.25, 13.75 },
                { 1.25, 9.0 } });
        polyline(pen.stroke(),
            { { 1.25, 9.0 }, { 5.0, 9.0 }, { 6.0, 11.0 }, { 10.0, 11.0 }, { 11.0, 9.0 }, { 14.75, 9.0 } });
        break;
    case Symbol::trayAndArrowDown:
        polyline(pen.stroke(),
            { { 3.4, 6.6 }, { 1.25, 10.4 }, { 1.25, 14.75 }, { 14.75, 14.75 }, { 14.75, 10.4 }, { 12.6, 6.6 } });
        polyline(pen.stroke(),
            { { 1.25, 10.4 }, { 5.0, 10.4 }, { 6.0, 12.3 }, { 10.0, 12.3 }, { 11.0, 10.4 }, { 14.75, 10.4 } });
        pen.stroke().drawLine(QPointF(8, 1.0), QPointF(8, 8.6));
        polyline(pen.stroke(), { { 5.3, 6.0 }, { 8, 8.7 }, { 10.7, 6.0 } });
        break;
    case Symbol::wrenchAndScrewdriverFill: {
        // A wrench from the lower left to its open head at the upper right, crossed by a
        // screwdriver from the upper left, set off from the wrench by a gap.
        pen.stroke(2.2).drawLine(QPointF(2.4, 13.6), QPointF(10.0, 6.0));
        pen.fill().drawEllipse(QPointF(11.6, 4.4), 3.4, 3.4);
        pen.cutFill().drawEllipse(QPointF(13.4, 2.6), 1.7, 1.7);
        pen.cutStroke(3.4).drawLine(QPointF(6.2, 6.2), QPointF(13.6, 13.6));
        pen.stroke(1.3).drawLine(QPointF(6.2, 6.2), QPointF(13.8, 13.8));
        pen.stroke(3.2).drawLine(QPointF(2.4, 2.4), QPointF(5.4, 5.4));
        break;
    }
    case Symbol::xmarkCircleFill:
        pen.fill().drawEllipse(QPointF(8, 8), 7.5, 7.5);
        pen.cutStroke(1.8).drawLine(QPointF(5.0, 5.0), QPointF(11.0, 11.0));
        pen.cutStroke(1.8).drawLine(QPointF(11.0, 5.0), QPointF(5.0, 11.0));
        break;
    }
}

/// The glyph in `colour` on a transparent square of `pixels`.
QImage render(Symbol symbol, int pixels, const QColor& colour)
{
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(pixels / unitSide, pixels / unitSide);
    drawGlyph(painter, symbol, colour);
    return image;
}

QColor systemColour(Tint tint)
{
    switch (tint) {
    case Tint::blue:
        return SystemColours::blue();
    case Tint::green:
        return SystemColours::green();
    case Tint::gray:
        return SystemColours::gray();
    case Tint::red:
        return SystemColours::red();
    case Tint::orange:
        return SystemColours::orange();
    default:
        return SystemColours::yellow();
    }
}

QPalette::ColorRole textRoleOn(QPalette::ColorRole surface)
{
    switch (surface) {
    case QPalette::Base:
    case QPalette::AlternateBase:
        return QPalette::Text;
    case QPalette::Button:
        return QPalette::ButtonText;
    case QPalette::Highlight:
        return QPalette::HighlightedText;
    default:
        return QPalette::WindowText;
    }
}

/// `colour`, filled by `widget`, as it shows: laid over what shows behind the widget when
/// it lets that through (a button made see-through by its style sheet).
QColor opaqueBehind(const QWidget* widget, const QColor& colour)
{
    if (colour.alpha() == 255)
        return colour;
    const QWidget* behind = widget->parentWidget() ? widget->parentWidget() : widget;
    return SecondaryColour::opaqueOver(colour, SecondaryText::backdrop(behind));
}

/// Keeps a button's symbol icon in step with the palette. The symbol's surface is the
/// container's, and a new sheet of the button (a new title colour) counts as a change too.
class IconKeeper final : public ButtonFollower
{
public:
    IconKeeper(QAbstractButton* button, Symbol symbol, Tint tint, int side)
        : ButtonFollower(button, true)
        , m_symbol(symbol)
        , m_tint(tint)
        , m_side(side)
    {
        setObjectName(QStringLiteral("symbolIconKeeper"));
        refresh();
    }

    void set(Symbol symbol, Tint tint, int side)
    {
        m_symbol = symbol;
        m_tint = tint;
        m_side = side;
        m_drawn = QColor(); // the icon is set again, also where the button's owner had cleared it
        refresh();
    }

protected:
    void refresh() override
    {
        QAbstractButton* shown = button();
        // The symbol stands on the button's face where it draws one (a bordered button's grey),
        // and on its container where it draws none (a plain or borderless button, whose sheet
        // makes its face see-through, or a flat one).
        const auto* push = qobject_cast<const QPushButton*>(shown);
        const QWidget* under = shown->parentWidget() ? shown->parentWidget() : shown;
        const QColor face = shown->palette().color(shown->backgroundRole());
        const QColor background = !(push && push->isFlat()) && face.alpha() > 0
            ? opaqueBehind(shown, face)
            : opaqueBehind(under, under->palette().color(under->backgroundRole()));
        const QColor text = shown->palette().color(QPalette::ButtonText);
        const QColor drawn
            = drawnColourOn(m_symbol, m_side, m_tint, background, text, shown->palette().color(QPalette::Highlight));
        if (drawn == m_drawn && shown->iconSize() == QSize(m_side, m_side))
            return;
        m_drawn = drawn;
        shown->setIconSize(QSize(m_side, m_side));
        shown->setIcon(icon(m_symbol, m_side, drawn));
    }

private:
    Symbol m_symbol;
    Tint m_tint;
    int m_side;
    QColor m_drawn;
};

} // namespace

void paint(QPainter& painter, const QRectF& box, Symbol symbol, const QColor& colour)
{
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const int pixels = std::max(1, int(std::lround(box.width() * ratio)));
    QImage image = render(symbol, pixels, colour);
    image.setDevicePixelRatio(ratio);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(box, image);
    painter.restore();
}

QColor colourOn(Tint tint, const QColor& background, const QColor& text, const QColor& accent)
{
    switch (tint) {
    case Tint::primary:
        return text;
    case Tint::secondary:
        return SecondaryColour::dimmed(text, { background });
    case Tint::accent:
        return ReadableColour::on(accent, background, minimumContrast);
    default:
        return ReadableColour::on(systemColour(tint), background, minimumContrast);
    }
}

double drawnContrast(Symbol symbol, int pixels, const QColor& colour, const QColor& background)
{
    const QImage glyph = render(symbol, pixels, colour);
    const QColor under = background.toRgb();
    double best = 1.0;
    for (int y = 0; y < glyph.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(glyph.constScanLine(y));
        for (int x = 0; x < glyph.width(); ++x) {
            const QRgb pixel = line[x];
            const int alpha = qAlpha(pixel);
            if (alpha == 0)
                continue;
            // Premultiplied: the glyph's share is in the channels already.
            const auto shown = [&](int glyphChannel, int backgroundChannel) {
                return std::clamp(glyphChannel + backgroundChannel * (255 - alpha) / 255, 0, 255);
            };
            const QColor drawn(shown(qRed(pixel), under.red()), shown(qGreen(pixel), under.green()),
                shown(qBlue(pixel), under.blue()));
            best = std::max(best, SecondaryColour::contrast(drawn, under));
        }
    }
    return best;
}

QColor drawnColour(Symbol symbol, int pixels, const QColor& colour, const QColor& background)
{
    using Key = std::tuple<int, int, QRgb, QRgb>;
    static std::map<Key, QColor> known;
    const Key key { int(symbol), pixels, colour.rgba(), background.rgba() };
    if (const auto found = known.find(key); found != known.end())
        return found->second;
    QColor drawn = colour;
    // Aim a step higher each time, from where the colour itself stands, until the palest
    // strokes as drawn reach the least contrast or the colour can go no further from the
    // background. Nearby aims may give the same colour: only a new one is measured.
    for (double aim = std::max(minimumContrast, SecondaryColour::contrast(colour, background));
         aim < 21.0 && drawnContrast(symbol, pixels, drawn, background) < minimumContrast;) {
        QColor further = drawn;
        while (further == drawn && aim < 21.0) {
            aim += 0.25;
            further = ReadableColour::on(colour, background, aim);
        }
        drawn = further;
    }
    if (known.size() > 4096)
        known.clear();
    known.emplace(key, drawn);
    return drawn;
}

QColor drawnColourOn(
    Symbol symbol, int pixels, Tint tint, const QColor& background, const QColor& text, const QColor& accent)
{
    return drawnColour(symbol, pixels, colourOn(tint, background, text, accent), background);
}

QColor colour(Tint tint, const QPalette& palette, QPalette::ColorRole surface)
{
    return colourOn(
        tint, palette.color(surface), palette.color(textRoleOn(surface)), palette.color(QPalette::Highlight));
}

QIcon icon(Symbol symbol, int side, const QColor& colour)
{
    QIcon result;
    for (const int ratio : { 1, 2 }) {
        QPixmap pixmap = QPixmap::fromImage(render(symbol, side * ratio, colour));
        pixmap.setDevicePixelRatio(ratio);
        result.addPixmap(pixmap);
        result.addPixmap(pixmap, QIcon::Disabled);
    }
    return result;
}

void setButtonSymbol(QAbstractButton* button, Symbol symbol, Tint tint, int side)
{
    if (auto* keeper = button->findChild<IconKeeper*>(QStringLiteral("symbolIconKeeper"), Qt::FindDirectChildrenOnly))
        keeper->set(symbol, tint, side);
    else
        new IconKeeper(button, symbol, tint, side);
}

QPushButton* symbolButton(Symbol symbol, Tint tint, int side, QWidget* parent)
{
    auto* button = new QPushButton(parent);
    // The symbol first: on a change of palette its keeper then hears of it after the style
    // has given the button its new title colour.
    setButtonSymbol(button, symbol, tint, side);
    ButtonStyle::apply(button, ButtonStyle::Style::plain);
    // The plain style's sheet draws a one-pixel line round a button that has the focus.
    button->setFixedSize(side + 2, side + 2);
    return button;
}

QPushButton* closeButton(int side, QWidget* parent)
{
    QPushButton* button = symbolButton(Symbol::xmarkCircleFill, Tint::secondary, side, parent);
    button->setToolTip(QStringLiteral("关闭"));
    button->setAccessibleName(QStringLiteral("关闭"));
    return button;
}

} // namespace Symbols

SymbolView::SymbolView(
    Symbols::Symbol symbol, int side, Symbols::Tint tint, QWidget* parent, QPalette::ColorRole surface)
    : QWidget(parent)
    , m_symbol(symbol)
    , m_tint(tint)
    , m_side(side)
    , m_surface(surface)
{
    setFixedSize(side, side);
}

void SymbolView::setSymbol(Symbols::Symbol symbol)
{
    m_symbol = symbol;
    update();
}

void SymbolView::setTint(Symbols::Tint tint)
{
    m_tint = tint;
    update();
}

void SymbolView::setSide(int side)
{
    m_side = side;
    setFixedSize(side, side);
    update();
}

QColor SymbolView::background() const
{
    return Symbols::opaqueBehind(this, palette().color(m_surface));
}

QColor SymbolView::drawnColour() const
{
    const QPalette& shown = palette();
    const int pixels = std::max(1, int(std::lround(m_side * devicePixelRatioF())));
    return Symbols::drawnColourOn(m_symbol, pixels, m_tint, background(), shown.color(Symbols::textRoleOn(m_surface)),
        shown.color(QPalette::Highlight));
}

QSize SymbolView::sizeHint() const
{
    return { m_side, m_side };
}

QSize SymbolView::minimumSizeHint() const
{
    return sizeHint();
}

void SymbolView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QColor drawn = drawnColour();
    if (!isEnabled())
        drawn.setAlphaF(drawn.alphaF() * 0.4);
    Symbols::paint(painter, QRectF(rect()), m_symbol, drawn);
}
