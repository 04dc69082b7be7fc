#pragma once

#include "pet/AutoBehavior.h"
#include "pet/EmotionSystem.h"

#include <QColor>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSizeF>
#include <QString>
#include <QTimer>
#include <QVariant>

#include <array>
#include <optional>

class Clock;

/// A richer model of what the pet is doing than the Lottie animations show.
enum class AdvancedAnimationState {
    walking,
    running,
    sleeping,
    playing,
    eating,
    stretching,
    dancing,
    thinking,
    jumping,
    spinning
};

inline constexpr std::array<AdvancedAnimationState, 10> allAdvancedAnimationStates { AdvancedAnimationState::walking,
    AdvancedAnimationState::running, AdvancedAnimationState::sleeping, AdvancedAnimationState::playing,
    AdvancedAnimationState::eating, AdvancedAnimationState::stretching, AdvancedAnimationState::dancing,
    AdvancedAnimationState::thinking, AdvancedAnimationState::jumping, AdvancedAnimationState::spinning };

[[nodiscard]] QString rawValue(AdvancedAnimationState state);
[[nodiscard]] QString displayName(AdvancedAnimationState state);
/// The state's share of time within a sequence, in seconds.
[[nodiscard]] double duration(AdvancedAnimationState state);
[[nodiscard]] std::optional<AdvancedAnimationState> advancedAnimationStateFromRaw(const QString& raw);

enum class AnimationEasing { linear, easeIn, easeOut, easeInOut, bounce, elastic };

struct AnimationTransition
{
    AdvancedAnimationState from;
    AdvancedAnimationState to;
    double duration;
    AnimationEasing easing;
};

/// States played in order over `totalDuration` seconds (greater than 0).
struct AnimationSequence
{
    QList<AdvancedAnimationState> states;
    /// Carried with the sequence; the playback does not consult them.
    QList<AnimationTransition> transitions;
    double totalDuration = 1.0;
    bool isLooping = false;
};

/// What a view may apply to show a state.
struct AnimationEffects
{
    double scale = 1.0;
    double rotation = 0.0;
    double opacity = 1.0;
    QSizeF offset { 0, 0 };
    std::optional<QColor> color;
};

/// Plays named sequences of animation states with a published progress, maps the
/// scheduler's behaviours to states and describes each state's visual effects.
/// Nothing in the program uses it today.
class AdvancedAnimationManager final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AdvancedAnimationManager)

public:
    static constexpr int updateIntervalMs = 100;

    explicit AdvancedAnimationManager(EmotionSystem& emotions, Clock* clock = nullptr, QObject* parent = nullptr);

    [[nodiscard]] AdvancedAnimationState currentAnimation() const { return m_currentAnimation; }
    [[nodiscard]] double animationProgress() const { return m_animationProgress; }
    [[nodiscard]] bool isAnimating() const { return m_isAnimating; }
    [[nodiscard]] const QTimer& animationTimer() const { return m_animationTimer; }
    [[nodiscard]] QStringList sequenceNames() const;

    void startAnimationUpdates();
    /// The 0.1 s tick: advances the playing sequence.
    void updateAnimation();
    void triggerAnimationFor(EmotionType emotion, AutoBehavior behavior);
    /// Plays a predefined sequence; an unknown name changes nothing.
    void playAnimationSequence(const QString& name);
    /// Stops any sequence and shows the state.
    void forceAnimation(AdvancedAnimationState state);
    [[nodiscard]] AnimationEffects getCurrentAnimationEffects() const;
    /// A "BehaviorDidChange" object: an AutoBehavior shows its state, anything else is ignored.
    void handleBehaviorChange(const QVariant& object);
    void handleEmotionChange();
    [[nodiscard]] QString getCurrentAnimationStatus() const;

    [[nodiscard]] static AdvancedAnimationState stateFor(AutoBehavior behavior);

Q_SIGNALS:
    void currentAnimationChanged(AdvancedAnimationState state);
    void animationProgressChanged(double progress);
    void isAnimatingChanged(bool animating);

private:
    void updateCurrentStateInSequence(double progress);
    void finishCurrentSequence();
    void setCurrentAnimation(AdvancedAnimationState state);
    void setAnimating(bool animating);

    Clock& m_clock;
    EmotionSystem& m_emotionSystem;
    AdvancedAnimationState m_currentAnimation = AdvancedAnimationState::thinking;
    double m_animationProgress = 0.0;
    bool m_isAnimating = false;
    QTimer m_animationTimer;
    std::optional<AnimationSequence> m_currentSequence;
    std::optional<QDateTime> m_sequenceStartTime;
    qsizetype m_currentStateIndex = 0;
    QHash<QString, AnimationSequence> m_predefinedSequences;
};
