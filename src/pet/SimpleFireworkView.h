#pragma once

#include <QColor>
#include <QList>
#include <QUuid>
#include <QVariantAnimation>
#include <QWidget>

class RandomSource;

/// A one-second burst of 36 coloured dots flying out from the centre of a 128 × 128 square
/// and fading away. It starts by itself the first time it is shown and then stays invisible.
class SimpleFireworkView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SimpleFireworkView)

public:
    struct Particle
    {
        QUuid id;
        /// Direction in radians; y grows downwards, so 0 points right and π/2 down.
        double angle = 0.0;
        double distance = 0.0;
        double size = 0.0;
        QColor color;
    };

    static constexpr int particleCount = 36;
    static constexpr int viewSize = 128;
    static constexpr int burstMs = 1000;

    explicit SimpleFireworkView(QWidget* parent = nullptr, RandomSource* random = nullptr);

    [[nodiscard]] const QList<Particle>& particles() const { return m_particles; }
    /// 0: every dot at the centre and opaque; 1: every dot at its distance and invisible.
    [[nodiscard]] double phase() const { return m_phase; }
    /// Where a dot's centre is, relative to the view's centre, at the given phase.
    [[nodiscard]] static QPointF offset(const Particle& particle, double phase);
    /// The seven colours the dots take in turn.
    [[nodiscard]] static QList<QColor> palette();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QList<Particle> m_particles;
    QVariantAnimation m_burst;
    double m_phase = 0.0;
    bool m_started = false;
};
