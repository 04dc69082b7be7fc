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
        // One pixel across, all of it the line: a frame line's usual three would put the
        // drawn line a pixel past the padding the layout gives above or beside it.
        if (orientation == Qt::Horizontal)
            setFixedHeight(1);
        else
            setFixedWidth(1);
    }

    [[nodiscard]] QSize sizeHint() const override { return across(QFrame::sizeHint()); }
    [[nodiscard]] QSize minimumSizeHint() const override { return across(QFrame::minimumSizeHint()); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QColor colour = palette().color(QPalette::WindowText);
        colour.setAlphaF(0.15);
        QPainter painter(this);
        painter.fillRect(rect(), colour);
    }

private:
    [[nodiscard]] QSize across(QSize size) const
    {
        if (frameShape() == QFrame::HLine)
            size.setHeight(1);
        else
            size.setWidth(1);
        return size;
    }
};

} // namespace

QFrame* create(QWidget* parent, Qt::Orientation orientation)
{
    return new Line(orientation, parent);
}

} // namespace Divider
