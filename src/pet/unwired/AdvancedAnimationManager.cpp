#include "pet/unwired/AdvancedAnimationManager.h"

#include "core/EnumFromRaw.h"
#include "platform/Clock.h"
#include "platform/SystemColours.h"

using namespace Qt::StringLiterals;

using State = AdvancedAnimationState;

QString rawValue(AdvancedAnimationState state)
{
    switch (state) {
    case State::walking:
        return u"walking"_s;
    case State::running:
        return u"running"_s;
    case State::sleeping:
        return u"sleeping"_s;
    case State::playing:
        return u"playing"_s;
    case State::eating:
        return u"eating"_s;
    case State::stretching:
        return u"stretching"_s;
    case State::dancing:
        return u"dancing"_s;
    case State::thinking:
        return u"thinking"_s;
    case State::jumping:
        return u"jumping"_s;
    case State::spinning:
        return u"spinning"_s;
    }
    return {};
}

QString displayName(AdvancedAnimationState state)
{
    switch (state) {
    case State::walking:
        return u"行走"_s;
    case State::running:
        return u"奔跑"_s;
    case State::sleeping:
        return u"睡觉"_s;
    case State::playing:
        return u"玩耍"_s;
    case State::eating:
        return u"吃东西"_s;
    case State::stretching:
        return u"伸懒腰"_s;
    case State::dancing:
        return u"跳舞"_s;
    case State::thinking:
        return u"思考"_s;
    case State::jumping:
        return u"跳跃"_s;
    case State::spinning:
        return u"旋转"_s;
    }
    return {};
}

double duration(AdvancedAnimationState state)
{
    switch (state) {
    case State::walking:
        return 1.0;
    case State::running:
        return 0.8;
    case State::sleeping:
        return 3.0;
    case State::playing:
        return 2.0;
    case State::eating:
        return 1.5;
    case State::stretching:
        return 2.5;
    case State::dancing:
        return 3.0;
    case State::thinking:
        return 2.0;
    case State::jumping:
        return 1.2;
    case State::spinning:
        return 1.5;
    }
    return 1.0;
}

std::optional<AdvancedAnimationState> advancedAnimationStateFromRaw(const QString& raw)
{
    return enumFromRaw(allAdvancedAnimationStates, raw);
}

AdvancedAnimationManager::AdvancedAnimationManager(EmotionSystem& emotions, Clock* clock, QObject* parent)
    : QObject(parent)
    , m_clock(clock ? *clock : Clock::system())
    , m_emotionSystem(emotions)
{
    m_animationTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_animationTimer, &QTimer::timeout, this, &AdvancedAnimationManager::updateAnimation);
    m_predefinedSequences = {
        { u"wakeUp"_s,
            { { State::sleeping, State::stretching, State::walking },
                { { State::sleeping, State::stretching, 0.5, AnimationEasing::easeInOut },
                    { State::stretching, State::walking, 0.3, AnimationEasing::easeOut } },
                6.5, false } },
        { u"snack"_s, { { State::walking, State::eating, State::thinking }, {}, 4.5, false } },
        { u"party"_s,
            { { State::dancing, State::spinning, State::jumping },
                { { State::spinning, State::jumping, 0.2, AnimationEasing::bounce } }, 5.7, true } },
    };
}

QStringList AdvancedAnimationManager::sequenceNames() const
{
    QStringList names = m_predefinedSequences.keys();
    names.sort();
    return names;
}

void AdvancedAnimationManager::startAnimationUpdates()
{
    m_animationTimer.start(updateIntervalMs);
}

void AdvancedAnimationManager::setCurrentAnimation(AdvancedAnimationState state)
{
    m_currentAnimation = state;
    Q_EMIT currentAnimationChanged(state);
}

void AdvancedAnimationManager::setAnimating(bool animating)
{
    m_isAnimating = animating;
    Q_EMIT isAnimatingChanged(animating);
}

void AdvancedAnimationManager::updateAnimation()
{
    if (!m_currentSequence || !m_sequenceStartTime)
        return;
    const double elapsed = static_cast<double>(m_sequenceStartTime->msecsTo(m_clock.now())) / 1000.0;
    const double progress = elapsed / m_currentSequence->totalDuration;
    if (progress >= 1.0) {
        if (!m_currentSequence->isLooping) {
            finishCurrentSequence();
            return;
        }
        // Each run of a looping sequence starts over from its first state.
        m_sequenceStartTime = m_clock.now();
        m_currentStateIndex = 0;
        if (!m_currentSequence->states.isEmpty())
            setCurrentAnimation(m_currentSequence->states.first());
        m_animationProgress = 0.0;
        Q_EMIT animationProgressChanged(m_animationProgress);
        return;
    }
    updateCurrentStateInSequence(progress);
    m_animationProgress = progress;
    Q_EMIT animationProgressChanged(progress);
}

void AdvancedAnimationManager::updateCurrentStateInSequence(double progress)
{
    if (!m_currentSequence || m_currentSequence->states.isEmpty())
        return;
    const double target = progress * m_currentSequence->totalDuration;
    double sum = 0.0;
    for (qsizetype i = 0; i < m_currentSequence->states.size(); ++i) {
        sum += duration(m_currentSequence->states.at(i));
        if (target <= sum) {
            if (i == m_currentStateIndex)
                return;
            m_currentStateIndex = i;
            setCurrentAnimation(m_currentSequence->states.at(i));
            return;
        }
    }
}

void AdvancedAnimationManager::finishCurrentSequence()
{
    m_currentSequence.reset();
    m_sequenceStartTime.reset();
    m_currentStateIndex = 0;
    setAnimating(false);
    setCurrentAnimation(State::thinking);
}

void AdvancedAnimationManager::playAnimationSequence(const QString& name)
{
    const auto found = m_predefinedSequences.constFind(name);
    if (found == m_predefinedSequences.constEnd())
        return;
    m_currentSequence = *found;
    m_sequenceStartTime = m_clock.now();
    m_currentStateIndex = 0;
    setAnimating(true);
    if (!found->states.isEmpty())
        setCurrentAnimation(found->states.first());
}

void AdvancedAnimationManager::forceAnimation(AdvancedAnimationState state)
{
    m_currentSequence.reset();
    m_sequenceStartTime.reset();
    setAnimating(false);
    setCurrentAnimation(state);
}

AdvancedAnimationState AdvancedAnimationManager::stateFor(AutoBehavior behavior)
{
    switch (behavior) {
    case AutoBehavior::walk:
        return State::walking;
    case AutoBehavior::enter:
        return State::running;
    case AutoBehavior::blink:
        return State::thinking;
    case AutoBehavior::thinking:
        return State::thinking;
    case AutoBehavior::gaming:
        return State::playing;
    case AutoBehavior::greeting:
        return State::dancing;
    case AutoBehavior::explore:
        return State::walking;
    case AutoBehavior::scratching:
        return State::playing;
    }
    return State::playing;
}

void AdvancedAnimationManager::triggerAnimationFor(EmotionType, AutoBehavior behavior)
{
    // The one mood there is does not change the choice.
    setCurrentAnimation(stateFor(behavior));
}

AnimationEffects AdvancedAnimationManager::getCurrentAnimationEffects() const
{
    switch (m_currentAnimation) {
    case State::walking:
        return { 1.0, 0, 1.0, QSizeF(0, 0), std::nullopt };
    case State::running:
        return { 1.1, 0, 1.0, QSizeF(0, 0), SystemColours::red() };
    case State::sleeping:
        return { 0.9, 0, 0.8, QSizeF(0, 0), SystemColours::blue() };
    case State::playing:
        return { 1.2, 0, 1.0, QSizeF(0, 0), SystemColours::green() };
    case State::eating:
        return { 1.0, 0, 1.0, QSizeF(0, 0), SystemColours::orange() };
    case State::stretching:
        return { 1.3, 0, 1.0, QSizeF(0, 0), std::nullopt };
    case State::dancing:
        return { 1.1, 15, 1.0, QSizeF(0, 0), SystemColours::purple() };
    case State::thinking:
        return { 1.0, 0, 1.0, QSizeF(0, 0), std::nullopt };
    case State::jumping:
        return { 1.2, 0, 1.0, QSizeF(0, -10), SystemColours::yellow() };
    case State::spinning:
        return { 1.0, 360, 1.0, QSizeF(0, 0), SystemColours::cyan() };
    }
    return {};
}

void AdvancedAnimationManager::handleBehaviorChange(const QVariant& object)
{
    if (!object.canConvert<AutoBehavior>() || object.metaType() != QMetaType::fromType<AutoBehavior>())
        return;
    triggerAnimationFor(m_emotionSystem.emotionData().primaryEmotion, object.value<AutoBehavior>());
}

void AdvancedAnimationManager::handleEmotionChange()
{
    if (!m_currentSequence)
        setCurrentAnimation(State::thinking);
}

QString AdvancedAnimationManager::getCurrentAnimationStatus() const
{
    if (m_currentSequence) {
        const auto percent = static_cast<qint64>(m_animationProgress * 100.0);
        return u"播放序列: "_s + displayName(m_currentAnimation) + u" ("_s + QString::number(percent) + u"%)"_s;
    }
    return u"当前动画: "_s + displayName(m_currentAnimation);
}
