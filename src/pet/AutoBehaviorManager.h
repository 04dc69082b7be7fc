#pragma once

#include "pet/AutoBehavior.h"
#include "pet/MovementAlgorithms.h"
#include "pet/PetBehaviorControl.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QTimer>

#include <optional>

class Clock;
class EmotionSystem;
class PetState;
class PetWindowHost;
class RandomSource;
class Screens;

/// The behaviour that runs now and the walk planned for it.
struct BehaviorExecutionState
{
    AutoBehavior currentBehavior = AutoBehavior::scratching;
    QDateTime startTime;
    std::optional<QPointF> targetPosition;
    /// The first point is the current target.
    QList<PathPoint> pathPoints;
    bool isExecuting = false;
    double progress = 0.0;

    /// Seconds left of the behaviour's duration at `now`, never below 0.
    [[nodiscard]] double remainingTime(const QDateTime& now) const;
};

/// The pet's autopilot: every 30 s it may pick an automatic behaviour by weighted chance,
/// plans a short random walk for it and moves the pet along it in 0.1 s steps. A finished
/// walk starts the next behaviour at once; a pet that wandered off screen is called back to
/// the centre; the start of a drag stops what runs.
///
/// It only announces which behaviour runs (`currentBehaviorChanged`); the pet view plays
/// the matching animation. Positions are in the stored top-left convention of PetState.
class AutoBehaviorManager final : public QObject, public PetBehaviorControl
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AutoBehaviorManager)

public:
    /// Seconds between two scheduling rounds.
    static constexpr double behaviorInterval = 30.0;
    /// Seconds between two steps of a movement.
    static constexpr double movementUpdateInterval = 0.1;
    static constexpr int exploreReturnDelayMs = 1500;
    /// A target closer than this counts as reached.
    static constexpr double arrivalRadius = 10.0;

    /// A behaviour with more than this many seconds to go is weighed again when the mood changes.
    static constexpr double emotionReviewThreshold = 10.0;

    /// Starts the behaviour system at once. The pet's mood is held for the behaviours to come;
    /// none may be given.
    AutoBehaviorManager(PetState& petState, PetWindowHost& windowManager, Screens& screens, Clock* clock = nullptr,
        RandomSource* random = nullptr, EmotionSystem* emotionSystem = nullptr, QObject* parent = nullptr);

    [[nodiscard]] AutoBehavior currentBehavior() const { return m_currentBehavior; }
    [[nodiscard]] EmotionSystem* emotionSystem() const { return m_emotionSystem; }
    /// The user's switch for the whole system; pausing leaves it as it is.
    [[nodiscard]] bool isActive() const override { return m_isActive; }
    [[nodiscard]] const BehaviorExecutionState& executionState() const { return m_executionState; }
    /// True while the 30 s and 0.1 s timers run.
    [[nodiscard]] bool isRunning() const override { return m_behaviorTimer.isActive(); }
    [[nodiscard]] const QTimer& behaviorTimer() const { return m_behaviorTimer; }
    [[nodiscard]] const QTimer& movementTimer() const { return m_movementTimer; }

    /// (Re)starts both timers and picks a behaviour at once; nothing when switched off.
    void startBehaviorSystem() override;
    /// Stops both timers and ends the running behaviour; the switch, the path and the
    /// current behaviour stay.
    void stopBehaviorSystem();
    /// As stopBehaviorSystem(), for do-not-disturb, the message bubbles and the game.
    void pauseScheduling() override;
    /// Starts the system again when it is switched on.
    void resumeScheduling();
    /// Flips the switch and starts or stops the system accordingly.
    void toggleBehaviorSystem();
    /// While held (the pet's menu is open) the pet takes no step and picks nothing new; let go,
    /// it carries on along the same walk.
    void holdStill(bool held) { m_heldStill = held; }

    /// The 30 s tick: picks the next behaviour unless one is still running or the user is
    /// busy with the pet.
    void scheduleBehavior();
    void executeBehavior(AutoBehavior behavior);
    void generateBehaviorPath(AutoBehavior behavior);
    /// The 0.1 s tick: one step along the path.
    void updateMovement();
    /// Keeps a stepped-to position on the main screen, or calls an escaped pet back to its centre.
    [[nodiscard]] QPointF checkBoundsAndRecall(QPointF point);
    /// One tick's step: 2 × speed × the user's speed multiplier towards the target.
    [[nodiscard]] QPointF calculateMoveVector(QPointF from, QPointF to, double speed) const;
    /// Starts the given behaviour now, whatever runs (the pet menu).
    void forceBehavior(AutoBehavior behavior);
    /// "EmotionDidChange": a behaviour with long to go is weighed against a fresh choice,
    /// which for now leaves it running either way.
    void handleEmotionChange();
    /// The user began dragging the pet: the running behaviour ends.
    void handleUserInteraction();
    [[nodiscard]] QString getCurrentBehaviorStatus() const;

    /// The weighted choice over (behaviour, weight) pairs; none when the weights sum to
    /// nothing. Walks the pairs in the order given.
    [[nodiscard]] static std::optional<AutoBehavior> selectWeightedRandom(
        const QList<QPair<AutoBehavior, double>>& weights, RandomSource& random);

Q_SIGNALS:
    /// The current behaviour changed to another one (the pet view plays its animation).
    void currentBehaviorChanged(AutoBehavior behavior);
    /// "BehaviorDidChange": a behaviour was started, also when it equals the previous one.
    void behaviorDidChange(AutoBehavior behavior);
    void isActiveChanged(bool active);

private:
    [[nodiscard]] AutoBehavior selectNextBehavior();
    [[nodiscard]] std::optional<ScreenBounds> getCurrentScreenBounds() const;
    void setCurrentBehavior(AutoBehavior behavior);
    /// 1.5 s into exploration number @p exploration: while it still runs, the pet heads back
    /// to the centre of the main screen.
    void returnFromExplore(quint64 exploration);

    PetState& m_petState;
    PetWindowHost& m_windowManager;
    Screens& m_screens;
    Clock& m_clock;
    RandomSource& m_random;
    EmotionSystem* m_emotionSystem;

    AutoBehavior m_currentBehavior = AutoBehavior::scratching;
    bool m_isActive = true;
    bool m_heldStill = false;
    QTimer m_behaviorTimer;
    QTimer m_movementTimer;
    BehaviorExecutionState m_executionState;
    /// Counts the explorations started, so a return knows whether its own still runs.
    quint64 m_explorations = 0;
};
