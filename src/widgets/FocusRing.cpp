#include "widgets/FocusRing.h"

#include "widgets/ReadableColour.h"

#include <QPainter>
#include <QPalette>
#include <QStyleOptionViewItem>
#include <QWidget>

#include <algorithm>

namespace FocusRing {

bool shows(const QStyleOptionViewItem& option)
{
    // The view marks its current row with this flag only while it has the focus; a view
    // that was asked to paint for a picture, with no focus, shows none.
    return (option.state & QStyle::State_HasFocus) && option.widget && option.widget->hasFocus();
}

QColor colour(const QPalette& palette, const QColor& background)
{
    return ReadableColour::on(palette.color(QPalette::Active, QPalette::Highlight), background, contrast);
}

void paint(QPainter& painter, const QRectF& rect, double radius, const QPalette& palette, const QColor& background)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // Centred a half width in, so the straight edges fill whole pixels.
    const double inset = width / 2.0;
    painter.setPen(QPen(colour(palette, background), width));
    painter.setBrush(Qt::NoBrush);
    const double corner = std::max(0.0, radius - inset);
    painter.drawRoundedRect(rect.adjusted(inset, inset, -inset, -inset), corner, corner);
    painter.restore();
}

} // namespace FocusRing
