#include "friends/RefreshButton.h"

#include "widgets/ButtonStyle.h"
#include "widgets/Symbols.h"
#include "widgets/TextStyle.h"

#include <QFontInfo>
#include <QPainter>
#include <QVariantAnimation>

#include <cmath>

RefreshButton::RefreshButton(QWidget* parent)
    : QPushButton(parent)
    , m_spin(new QVariantAnimation(this))
{
    ButtonStyle::apply(this, ButtonStyle::Style::plain);
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

int RefreshButton::symbolSide()
{
    return QFontInfo(TextStyle::font(TextStyle::Style::body)).pixelSize();
}

QSize RefreshButton::sizeHint() const
{
    // Room for the arrow turned half-way, with a margin to click.
    const int side = symbolSide() + TextStyle::scaled(12);
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
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const int side = symbolSide();
    // Upright on whole pixels, turned about its own centre.
    const QRectF box((width() - side) / 2, (height() - side) / 2, side, side);
    painter.translate(box.center());
    painter.rotate(m_angle);
    // The arrow keeps the text colour also while the button is disabled: spinning is all the
    // feedback a refresh gives, and a faded arrow could not be made out turning.
    QPalette enabled = palette();
    enabled.setCurrentColorGroup(QPalette::Active);
    const QColor colour = Symbols::colour(Symbols::Tint::primary, enabled, QPalette::Window);
    Symbols::paint(painter, box.translated(-box.center()), Symbols::Symbol::arrowClockwise, colour);
}
