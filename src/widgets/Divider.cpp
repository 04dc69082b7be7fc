#include "widgets/Divider.h"

#include <QFrame>

namespace Divider {

QFrame* create(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    QPalette palette = line->palette();
    QColor colour = palette.color(QPalette::WindowText);
    colour.setAlphaF(0.15);
    palette.setColor(QPalette::WindowText, colour);
    line->setPalette(palette);
    return line;
}

} // namespace Divider
