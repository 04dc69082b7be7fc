#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QJsonValue>
#include <QObject>
#include <QPointF>
#include <QString>

#include <array>
#include <optional>

class Clock;
class Defaults;
class JsonReader;
class Screens;

/// The short click feedback of the pet.
enum class PetAnimationState { idle, clickFeedback };

inline constexpr std::array<PetAnimationState, 2> allPetAnimationStates { PetAnimationState::idle,
    PetAnimationState::clickFeedback };

/// "idle", "click".
[[nodiscard]] QString rawValue(PetAnimationState state);
/// Exact, case-sensitive match of a raw value; anything else yields no value.
[[nodiscard]] std::optional<PetAnimationState> petAnimationStateFromRaw(QStringView raw);

/// The pet's own state. Only the position and the speed multiplier survive a restart.
struct PetStateData
{
    /// Top-left corner of the pet window: x from the left, y downwards from the top of the
    /// main screen's full frame.
    QPointF position;
    PetAnimationState animationState = PetAnimationState::idle;
    bool isInteracting = false;
    QDateTime lastInteractionTime;
    QDateTime lastMoveTime;
    double moveSpeedMultiplier = 1.0;

    /// Keyed by the field names: "position" as [x, y], "animationState" by its raw value, the
    /// two times as seconds since 2001-01-01 UTC, as the program's other records store dates.
    [[nodiscard]] QJsonObject toJson() const;
    /// Every key is required; throws JsonDecodeError naming the offending value.
    [[nodiscard]] static PetStateData fromJson(const JsonReader& json);

    friend bool operator==(const PetStateData&, const PetStateData&) = default;
};

/// The single store of the pet's state. Every change of `data()` is announced by
/// `dataChanged()`, also when a value is assigned again unchanged.
class PetState final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PetState)

public:
    static inline const QString positionKey = QStringLiteral("PetPosition");
    static inline const QString speedKey = QStringLiteral("PetMoveSpeed");
    static constexpr int interactionResetMs = 1000;

    PetState(Defaults& defaults, Screens& screens, Clock* clock = nullptr, QObject* parent = nullptr);

    [[nodiscard]] const PetStateData& data() const { return m_data; }

    /// Field setters for callers that change single fields (dragging, do-not-disturb). They
    /// publish the change but store nothing.
    void setPosition(QPointF position);
    void setLastMoveTime(const QDateTime& time);

    /// Moves the stored position (and stamps the move time), then saves it. Does not move the window.
    void updatePosition(QPointF position);
    void updateAnimationState(PetAnimationState state);
    void setInteracting(bool value);
    /// Marks the user as interacting for 1 s and announces "UserDidInteractWithPet".
    void recordInteraction();
    /// Stores the value as given (no bounds); a value that is not a finite number means 1.0.
    void updateMoveSpeed(double speed);
    void savePosition();

    /// The place a pet takes when none is stored: 70 % across and 30 % down the main screen.
    [[nodiscard]] static QPointF defaultOrigin(Screens& screens);
    /// Reads a stored position: an array of two finite numbers, else none.
    [[nodiscard]] static std::optional<QPointF> decodePosition(const QJsonValue& value);

Q_SIGNALS:
    void dataChanged();

private:
    Defaults& m_userDefaults;
    Screens& m_screens;
    Clock& m_clock;
    PetStateData m_data;
};
