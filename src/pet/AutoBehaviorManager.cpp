#include "pet/AutoBehaviorManager.h"

#include "core/EventCenter.h"
#include "pet/EmotionSystem.h"
#include "pet/PetState.h"
#include "pet/PetWindowHost.h"
#include "platform/Clock.h"
#include "platform/LogManager.h"
#include "platform/RandomSource.h"
#include "platform/Screens.h"

#include <QCoreApplication>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

const QString category = u"AutoBehavior"_s;

/// The pet window's origin that centres it in `frame`.
QPointF centredPetOrigin(const QRectF& frame)
{
    return frame.center() - QPointF(Screens::petSize / 2.0, Screens::petSize / 2.0);
}

} // namespace

double BehaviorExecutionState::remainingTime(const QDateTime& now) const
{
    const double elapsed = static_cast<double>(startTime.msecsTo(now)) / 1000.0;
    return std::max(0.0, traits(currentBehavior).duration - elapsed);
}

AutoBehaviorManager::AutoBehaviorManager(PetState& petState, PetWindowHost& windowManager, Screens& screens,
    Clock* clock, RandomSource* random, EmotionSystem* emotionSystem, QObject* parent)
    : QObject(parent)
    , m_petState(petState)
    , m_windowManager(windowManager)
    , m_screens(screens)
    , m_clock(clock ? *clock : Clock::system())
    , m_random(random ? *random : RandomSource::system())
    , m_emotionSystem(emotionSystem)
{
    m_executionState.startTime = m_clock.now();
    for (QTimer* timer : { &m_behaviorTimer, &m_movementTimer })
        timer->setTimerType(Qt::PreciseTimer);
    m_behaviorTimer.setInterval(qRound(behaviorInterval * 1000.0));
    m_movementTimer.setInterval(qRound(movementUpdateInterval * 1000.0));
    connect(&m_behaviorTimer, &QTimer::timeout, this, &AutoBehaviorManager::scheduleBehavior);
    connect(&m_movementTimer, &QTimer::timeout, this, &AutoBehaviorManager::updateMovement);
    connect(&EventCenter::shared(), &EventCenter::emotionDidChange, this, &AutoBehaviorManager::handleEmotionChange);
    connect(&EventCenter::shared(), &EventCenter::userDidInteractWithPet, this,
        &AutoBehaviorManager::handleUserInteraction);
    startBehaviorSystem();
}

void AutoBehaviorManager::startBehaviorSystem()
{
    if (!m_isActive)
        return;
    stopBehaviorSystem();
    m_behaviorTimer.start();
    m_movementTimer.start();
    scheduleBehavior();
}

void AutoBehaviorManager::stopBehaviorSystem()
{
    m_behaviorTimer.stop();
    m_movementTimer.stop();
    m_executionState.isExecuting = false;
}

void AutoBehaviorManager::pauseScheduling()
{
    stopBehaviorSystem();
    LogManager::log(u"自动行为系统已暂停"_s, category);
}

void AutoBehaviorManager::resumeScheduling()
{
    if (!m_isActive)
        return;
    startBehaviorSystem();
    LogManager::log(u"自动行为系统已恢复"_s, category);
}

void AutoBehaviorManager::toggleBehaviorSystem()
{
    m_isActive = !m_isActive;
    Q_EMIT isActiveChanged(m_isActive);
    if (m_isActive)
        startBehaviorSystem();
    else
        stopBehaviorSystem();
}

void AutoBehaviorManager::scheduleBehavior()
{
    if (!m_isActive || m_heldStill || m_petState.data().isInteracting)
        return;
    if (m_executionState.isExecuting && m_executionState.remainingTime(m_clock.now()) > 0.0)
        return;
    executeBehavior(selectNextBehavior());
}

AutoBehavior AutoBehaviorManager::selectNextBehavior()
{
    QList<QPair<AutoBehavior, double>> weights;
    weights.reserve(static_cast<qsizetype>(allAutoBehaviors.size()));
    for (const AutoBehavior behavior : allAutoBehaviors)
        weights.append({ behavior, traits(behavior).weight * m_random.uniformReal(0.5, 1.5) });
    return selectWeightedRandom(weights, m_random).value_or(AutoBehavior::scratching);
}

std::optional<AutoBehavior> AutoBehaviorManager::selectWeightedRandom(
    const QList<QPair<AutoBehavior, double>>& weights, RandomSource& random)
{
    double total = 0.0;
    for (const auto& [behavior, weight] : weights)
        total += weight;
    if (!(total > 0.0))
        return std::nullopt;
    const double r = random.uniformReal(0.0, total);
    double sum = 0.0;
    for (const auto& [behavior, weight] : weights) {
        sum += weight;
        if (sum >= r)
            return behavior;
    }
    return weights.first().first;
}

void AutoBehaviorManager::setCurrentBehavior(AutoBehavior behavior)
{
    if (m_currentBehavior == behavior)
        return;
    m_currentBehavior = behavior;
    Q_EMIT currentBehaviorChanged(behavior);
}

void AutoBehaviorManager::executeBehavior(AutoBehavior behavior)
{
    setCurrentBehavior(behavior);
    m_executionState = BehaviorExecutionState {};
    m_executionState.currentBehavior = behavior;
    m_executionState.startTime = m_clock.now();
    m_executionState.isExecuting = true;
    generateBehaviorPath(behavior);
    Q_EMIT behaviorDidChange(behavior);
}

std::optional<ScreenBounds> AutoBehaviorManager::getCurrentScreenBounds() const
{
    const QList<QRectF> frames = m_screens.frames();
    if (frames.isEmpty())
        return std::nullopt;
    return ScreenBounds(frames.first(), QSizeF(Screens::petSize, Screens::petSize));
}

void AutoBehaviorManager::generateBehaviorPath(AutoBehavior behavior)
{
    const QPointF start = m_petState.data().position;
    const std::optional<ScreenBounds> bounds = getCurrentScreenBounds();
    if (!bounds) {
        // Without any screen there is nowhere to walk: the behaviour runs out in place.
        m_executionState.pathPoints.clear();
        return;
    }
    const AutoBehaviorTraits t = traits(behavior);
    m_executionState.pathPoints = MovementAlgorithms::generateRandomWalkPath(
        start, *bounds, t.pathSteps, t.maxDistance, m_random, m_clock.now());
    if (behavior == AutoBehavior::explore) {
        const quint64 exploration = ++m_explorations;
        QTimer::singleShot(
            exploreReturnDelayMs, Qt::PreciseTimer, this, [this, exploration] { returnFromExplore(exploration); });
    }
}

void AutoBehaviorManager::returnFromExplore(quint64 exploration)
{
    // An exploration that began within 1.5 s of another runs its own full time: the earlier
    // one's return, still pending, does not cut it short.
    const std::optional<QRectF> frame = m_screens.mainFrame();
    if (exploration != m_explorations || m_currentBehavior != AutoBehavior::explore || !m_executionState.isExecuting
        || !frame)
        return;
    m_executionState.pathPoints = { PathPoint { centredPetOrigin(*frame), m_clock.now(), 1.5 } };
    LogManager::log(u"🏠 探索时间到，返回屏幕中心"_s, category);
}

void AutoBehaviorManager::updateMovement()
{
    if (m_heldStill || !m_executionState.isExecuting || m_executionState.pathPoints.isEmpty())
        return;
    const QPointF current = m_petState.data().position;
    const PathPoint target = m_executionState.pathPoints.first();
    if (std::hypot(target.position.x() - current.x(), target.position.y() - current.y()) < arrivalRadius) {
        m_executionState.pathPoints.removeFirst();
        if (m_executionState.pathPoints.isEmpty()) {
            m_executionState.isExecuting = false;
            LogManager::log(u"✅ 行为完成，立即切换到下一个行为"_s, category);
            QMetaObject::invokeMethod(this, &AutoBehaviorManager::scheduleBehavior, Qt::QueuedConnection);
            return;
        }
        // This tick still steps towards the point just reached; the next aims at the new first.
    }
    const QPointF step = calculateMoveVector(current, target.position, target.speed);
    const QPointF next = checkBoundsAndRecall(current + step);
    // As PetState::updatePosition(), with the move's time read in UTC: ten local time-zone
    // lookups a second are a noticeable part of what the walking pet costs.
    m_petState.setPosition(next);
    m_petState.setLastMoveTime(m_clock.nowUtc());
    m_petState.savePosition();
    m_windowManager.updateWindowPosition(next);
}

QPointF AutoBehaviorManager::calculateMoveVector(QPointF from, QPointF to, double speed) const
{
    const QPointF delta = to - from;
    const double length = std::hypot(delta.x(), delta.y());
    if (length == 0.0 || !std::isfinite(length))
        return {};
    // A multiplier the user set to zero, a negative number or not a number would freeze or
    // reverse the walk: it counts as normal speed, as it does when read at start.
    double multiplier = m_petState.data().moveSpeedMultiplier;
    if (!(multiplier > 0.0) || !std::isfinite(multiplier))
        multiplier = 1.0;
    const double stepLength = (speed + speed) * multiplier;
    return delta / length * stepLength;
}

QPointF AutoBehaviorManager::checkBoundsAndRecall(QPointF point)
{
    const std::optional<QRectF> frame = m_screens.mainFrame();
    if (!frame)
        return point;
    const double w = frame->width();
    const double h = frame->height();
    if (point.x() < -Screens::petSize || point.x() > w || point.y() < -Screens::petSize || point.y() > h) {
        LogManager::log(u"⚠️ 宠物超出屏幕，自动召回到中心"_s, category);
        m_executionState.pathPoints.clear();
        m_executionState.isExecuting = false;
        return centredPetOrigin(*frame);
    }
    return { clampToRange(point.x(), 0.0, w - Screens::petSize), clampToRange(point.y(), 0.0, h - Screens::petSize) };
}

void AutoBehaviorManager::forceBehavior(AutoBehavior behavior)
{
    executeBehavior(behavior);
}

void AutoBehaviorManager::handleEmotionChange()
{
    if (!m_executionState.isExecuting || m_executionState.remainingTime(m_clock.now()) <= emotionReviewThreshold)
        return;
    // The mood does not steer the choice yet: the behaviour that runs goes on whatever the
    // fresh choice would have been.
    [[maybe_unused]] const bool wouldChange = selectNextBehavior() != m_currentBehavior;
}

void AutoBehaviorManager::handleUserInteraction()
{
    if (!m_executionState.isExecuting)
        return;
    m_executionState.isExecuting = false;
    m_executionState.pathPoints.clear();
    setCurrentBehavior(AutoBehavior::scratching);
}

QString AutoBehaviorManager::getCurrentBehaviorStatus() const
{
    if (!m_isActive)
        return u"行为系统已暂停"_s;
    if (m_executionState.isExecuting) {
        const auto seconds = static_cast<qint64>(m_executionState.remainingTime(m_clock.now()));
        return displayName(m_currentBehavior) + u" (剩余 "_s + QString::number(seconds) + u"秒)"_s;
    }
    return u"等待下一个行为"_s;
}
