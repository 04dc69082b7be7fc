#include "pet/PetState.h"

#include "core/EnumFromRaw.h"
#include "core/EventCenter.h"
#include "core/Reminder.h"
#include "platform/Clock.h"
#include "platform/Defaults.h"
#include "platform/JsonReader.h"
#include "platform/Screens.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QTimer>

#include <cmath>

using namespace Qt::StringLiterals;

QString rawValue(PetAnimationState state)
{
    return state == PetAnimationState::clickFeedback ? u"click"_s : u"idle"_s;
}

std::optional<PetAnimationState> petAnimationStateFromRaw(QStringView raw)
{
    return enumFromRaw(allPetAnimationStates, raw);
}

QJsonObject PetStateData::toJson() const
{
    return QJsonObject {
        { u"position"_s, QJsonArray { position.x(), position.y() } },
        { u"animationState"_s, rawValue(animationState) },
        { u"isInteracting"_s, isInteracting },
        { u"lastInteractionTime"_s, referenceSeconds(lastInteractionTime) },
        { u"lastMoveTime"_s, referenceSeconds(lastMoveTime) },
        { u"moveSpeedMultiplier"_s, moveSpeedMultiplier },
    };
}

PetStateData PetStateData::fromJson(const JsonReader& json)
{
    PetStateData data;
    const QJsonValue position = json.value(u"position");
    const std::optional<QPointF> point = PetState::decodePosition(position);
    if (!point)
        JsonReader::throwTypeMismatch(position, json.pathOf(u"position"), u"两个数字的数组"_s);
    data.position = *point;
    const QString stateRaw = json.string(u"animationState");
    const std::optional<PetAnimationState> state = petAnimationStateFromRaw(stateRaw);
    if (!state)
        JsonReader::throwDataCorrupted(json.pathOf(u"animationState"), u"未知的动画状态: "_s + stateRaw);
    data.animationState = *state;
    data.isInteracting = json.boolean(u"isInteracting");
    data.lastInteractionTime = readReferenceDate(json, u"lastInteractionTime");
    data.lastMoveTime = readReferenceDate(json, u"lastMoveTime");
    const QJsonValue speed = json.value(u"moveSpeedMultiplier");
    if (!speed.isDouble() || !std::isfinite(speed.toDouble()))
        JsonReader::throwTypeMismatch(speed, json.pathOf(u"moveSpeedMultiplier"), u"数字"_s);
    data.moveSpeedMultiplier = speed.toDouble();
    return data;
}

PetState::PetState(Defaults& defaults, Screens& screens, Clock* clock, QObject* parent)
    : QObject(parent)
    , m_userDefaults(defaults)
    , m_screens(screens)
    , m_clock(clock ? *clock : Clock::system())
{
    // A multiplier that is missing, zero, negative or not a number would stall or reverse
    // the pet's walk, so it falls back to normal speed.
    const double storedSpeed = m_userDefaults.doubleValue(speedKey);
    m_data.moveSpeedMultiplier = (std::isfinite(storedSpeed) && storedSpeed > 0.0) ? storedSpeed : 1.0;

    // The stored point is used as it is, even if it lies on a screen that is gone now.
    const auto stored = decodePosition(m_userDefaults.value(positionKey));
    m_data.position = stored ? *stored : defaultOrigin(m_screens);

    const QDateTime now = m_clock.now();
    m_data.lastInteractionTime = now;
    m_data.lastMoveTime = now;
}

QPointF PetState::defaultOrigin(Screens& screens)
{
    const auto frame = screens.mainFrame();
    if (!frame)
        return { 1344.0, 324.0 };
    return { frame->width() * 0.7, frame->height() * 0.3 };
}

std::optional<QPointF> PetState::decodePosition(const QJsonValue& value)
{
    if (!value.isArray())
        return std::nullopt;
    const QJsonArray pair = value.toArray();
    if (pair.size() != 2 || !pair.at(0).isDouble() || !pair.at(1).isDouble())
        return std::nullopt;
    const double x = pair.at(0).toDouble();
    const double y = pair.at(1).toDouble();
    if (!std::isfinite(x) || !std::isfinite(y))
        return std::nullopt;
    return QPointF(x, y);
}

void PetState::setPosition(QPointF position)
{
    m_data.position = position;
    Q_EMIT dataChanged();
}

void PetState::setLastMoveTime(const QDateTime& time)
{
    m_data.lastMoveTime = time;
    Q_EMIT dataChanged();
}

void PetState::updatePosition(QPointF position)
{
    m_data.position = position;
    m_data.lastMoveTime = m_clock.now();
    Q_EMIT dataChanged();
    savePosition();
}

void PetState::updateAnimationState(PetAnimationState state)
{
    m_data.animationState = state;
    Q_EMIT dataChanged();
}

void PetState::setInteracting(bool value)
{
    m_data.isInteracting = value;
    Q_EMIT dataChanged();
}

void PetState::recordInteraction()
{
    m_data.lastInteractionTime = m_clock.now();
    m_data.isInteracting = true;
    Q_EMIT dataChanged();
    Q_EMIT EventCenter::shared().userDidInteractWithPet();
    // Each call schedules its own reset; a later call does not extend an earlier one.
    QTimer::singleShot(interactionResetMs, Qt::PreciseTimer, this, [this] { setInteracting(false); });
}

void PetState::updateMoveSpeed(double speed)
{
    // Not a number or infinite would send the walking pet off to nowhere (and JSON cannot
    // hold it): such a value means the normal speed.
    if (!std::isfinite(speed))
        speed = 1.0;
    m_data.moveSpeedMultiplier = speed;
    Q_EMIT dataChanged();
    m_userDefaults.setValue(speedKey, speed);
}

void PetState::savePosition()
{
    const QPointF p = m_data.position;
    // A point that JSON cannot hold is not stored; the last good one stays.
    if (!std::isfinite(p.x()) || !std::isfinite(p.y()))
        return;
    // The walking pet stores its position on every step; losing the last few seconds of a
    // walk to a crash costs nothing, a write per step costs a disk sync each time.
    m_userDefaults.setValue(positionKey, QJsonArray { p.x(), p.y() }, Defaults::Write::Relaxed);
}
