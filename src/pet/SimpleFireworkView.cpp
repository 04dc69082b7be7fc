#include "pet/SimpleFireworkView.h"

#include "platform/RandomSource.h"
#include "platform/SystemColours.h"

#include <QPainter>
#include <QShowEvent>

#include <cmath>
#include <numbers>

SimpleFireworkView::SimpleFireworkView(QWidget* parent, RandomSource* random)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFixedSize(viewSize, viewSize);

    RandomSource& source = random ? *random : RandomSource::system();
    const QList<QColor> colors = palette();
    m_particles.reserve(particleCount);
    for (int i = 0; i < particleCount; ++i) {
        Particle particle;
        particle.distance = source.uniformReal(20.0, 40.0);
        particle.size = source.uniformReal(3.0, 6.0);
        particle.color = colors.at(i % colors.size());
        particle.angle = double(i) / particleCount * 2.0 * std::numbers::pi;
        particle.id = QUuid::createUuid();
        m_particles.append(particle);
    }

    m_burst.setStartValue(0.0);
    m_burst.setEndValue(1.0);
    m_burst.setDuration(burstMs);
    m_burst.setEasingCurve(QEasingCurve::Linear);
    connect(&m_burst, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_phase = value.toDouble();
        update();
    });
}

QList<QColor> SimpleFireworkView::palette()
{
    using namespace SystemColours;
    return { red(), orange(), yellow(), pink(), purple(), blue(), cyan() };
}

QPointF SimpleFireworkView::offset(const Particle& particle, double phase)
{
    return { std::cos(particle.angle) * particle.distance * phase,
        std::sin(particle.angle) * particle.distance * phase };
}

void SimpleFireworkView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The burst runs once; showing the view again leaves it in its final, invisible state.
    if (m_started)
        return;
    m_started = true;
    m_burst.start();
}

void SimpleFireworkView::paintEvent(QPaintEvent*)
{
    if (m_phase >= 1.0)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setOpacity(1.0 - m_phase);
    const QPointF centre(width() / 2.0, height() / 2.0);
    for (const Particle& particle : m_particles) {
        const QPointF at = centre + offset(particle, m_phase);
        const double radius = particle.size / 2.0;
        painter.setBrush(particle.color);
        painter.drawEllipse(at, radius, radius);
    }
}
