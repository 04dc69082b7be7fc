#include "widgets/Divider.h"

#include <QFrame>
#include <QPainter>

namespace Divider {

namespace {

// Drawn by hand from the palette in force, so a switch between light and dark repaints it
// in the new text colour rather than keeping the one it was made with.
class Line final : public QFrame
{
public:
    Line(Qt::Orientation orientation, QWidget* parent)
        : QFrame(parent)
    {
        setFrameShape(orientation == Qt::Horizontal ? QFrame::HLine : QFrame::VLine);
        setFrameShadow(QFrame::Plain);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QColor colour = palette().color(QPalette::WindowText);
        colour.setAlphaF(0.15);
        const QRect area = rect();
        QPainter painter(this);
        if (frameShape() == QFrame::HLine)
            painter.fillRect(QRect(area.left(), area.center().y(), area.width(), 1), colour);
        else
            painter.fillRect(QRect(area.center().x(), area.top(), 1, area.height()), colour);
    }
};

} // namespace

QFrame* create(QWidget* parent, Qt::Orientation orientation)
{
    return new Line(orientation, parent);
}

} // namespace Divider
