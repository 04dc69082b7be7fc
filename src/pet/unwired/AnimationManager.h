#pragma once

#include <QObject>
#include <QSizeF>
#include <QTimer>
#include <QVariantAnimation>

/// A gentle idle motion for a view: once started, the published scale swells to 1.05 and
/// back every 3 s with eased animations. Rotation and offset stay as they are.
/// Nothing in the program uses it today.
class AnimationManager final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AnimationManager)

public:
    static constexpr int pulseIntervalMs = 3000;
    static constexpr int halfPulseMs = 1500;
    static constexpr double peakScale = 1.05;
    static constexpr double restScale = 1.0;

    explicit AnimationManager(QObject* parent = nullptr);

    [[nodiscard]] double currentScale() const { return m_currentScale; }
    [[nodiscard]] double currentRotation() const { return m_currentRotation; }
    [[nodiscard]] QSizeF currentOffset() const { return m_currentOffset; }
    [[nodiscard]] bool isAnimating() const { return m_isAnimating; }
    [[nodiscard]] const QTimer& idleAnimationTimer() const { return m_idleAnimationTimer; }

    /// Starts or restarts the pulses; the first comes one interval after the start.
    void startIdleAnimation();
    /// One pulse, as the timer runs it; dropped while the previous pulse is still under way.
    void performIdleAnimation();

Q_SIGNALS:
    void currentScaleChanged(double scale);
    /// Published for a view that would apply them; no operation changes either value.
    void currentRotationChanged(double rotation);
    void currentOffsetChanged(QSizeF offset);

private:
    void animateScale(double to);

    double m_currentScale = restScale;
    double m_currentRotation = 0.0;
    QSizeF m_currentOffset { 0.0, 0.0 };
    QTimer m_idleAnimationTimer;
    QVariantAnimation m_scaleAnimation;
    bool m_isAnimating = false;
};
