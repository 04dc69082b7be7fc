#include "pet/unwired/AnimationManager.h"

AnimationManager::AnimationManager(QObject* parent)
    : QObject(parent)
{
    m_idleAnimationTimer.setInterval(pulseIntervalMs);
    m_idleAnimationTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_idleAnimationTimer, &QTimer::timeout, this, &AnimationManager::performIdleAnimation);

    m_scaleAnimation.setDuration(halfPulseMs);
    m_scaleAnimation.setEasingCurve(QEasingCurve::InOutQuad);
    connect(&m_scaleAnimation, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_currentScale = value.toDouble();
        Q_EMIT currentScaleChanged(m_currentScale);
    });
}

void AnimationManager::startIdleAnimation()
{
    // QTimer::start restarts a running timer, so there is only ever the one.
    m_idleAnimationTimer.start();
}

void AnimationManager::performIdleAnimation()
{
    if (m_isAnimating)
        return;
    m_isAnimating = true;
    animateScale(peakScale);
    // The timers belong to this object, so they die with it and never touch a dead manager.
    QTimer::singleShot(halfPulseMs, Qt::PreciseTimer, this, [this] {
        animateScale(restScale);
        QTimer::singleShot(halfPulseMs, Qt::PreciseTimer, this, [this] { m_isAnimating = false; });
    });
}

void AnimationManager::animateScale(double to)
{
    m_scaleAnimation.stop();
    m_scaleAnimation.setStartValue(m_currentScale);
    m_scaleAnimation.setEndValue(to);
    m_scaleAnimation.start();
}
