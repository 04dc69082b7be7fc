#pragma once

#include <QObject>
#include <QPointF>
#include <QSizeF>
#include <QString>

#include <optional>

class Defaults;
class PetBehaviorControl;
class PetState;
class PetWindowHost;
class Screens;

/// Do-not-disturb parks the pet at the main screen's bottom-left corner and keeps it still:
/// the behaviour scheduler is paused and every move of the pet window is bent onto a line
/// `bottomOffset` above the screen's bottom edge. Leaving the mode restarts the scheduler
/// (when it is switched on) and puts the pet back. The mode itself is never stored.
class DoNotDisturbManager final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DoNotDisturbManager)

public:
    static inline const QString bottomOffsetKey = QStringLiteral("doNotDisturbBottomOffset");
    static constexpr double defaultBottomOffset = 10.0;
    /// The pet window's size, which the pinned place is worked out for.
    static constexpr QSizeF petSize { 128.0, 128.0 };
    /// The pinned pet keeps at least this much from the screen's left and right edges.
    static constexpr double sideMargin = 10.0;
    /// However far the offset sinks or lifts the pinned pet, this much of it stays on the screen.
    static constexpr double minimumVisibleHeight = 64.0;

    DoNotDisturbManager(Defaults& defaults, Screens& screens, PetWindowHost& pet, PetState& petState,
        PetBehaviorControl& scheduler, QObject* parent = nullptr);

    [[nodiscard]] bool isDoNotDisturbMode() const { return m_isDoNotDisturbMode; }
    /// Switches the mode when the value changes; assigning the current value does nothing.
    void setDoNotDisturbMode(bool on);
    [[nodiscard]] double bottomOffset() const { return m_bottomOffset; }
    /// Stores the distance and, while the mode is on, moves the pet to it at once. A value
    /// that is not a number means the default 10.
    void setBottomOffset(double offset);
    /// The pet window's bottom-left origin when the mode was entered.
    [[nodiscard]] std::optional<QPointF> originalPosition() const { return m_originalPosition; }

    void toggleDoNotDisturbMode();
    /// Outside the mode the origin unchanged; inside it the origin bent onto the pinned line.
    [[nodiscard]] QPointF getValidWindowOriginForDoNotDisturb(QPointF origin) const;
    /// Leaves the mode when it is on, for pet-menu actions that need the pet free.
    void exitIfActiveDueToUserAction();

Q_SIGNALS:
    void isDoNotDisturbModeChanged(bool on);
    void bottomOffsetChanged(double offset);
    /// The status menu should be rebuilt (after an automatic exit); queued after the exit.
    void menuRebuildRequested();

private:
    void enterDoNotDisturbMode();
    void exitDoNotDisturbMode();
    void applyCurrentBottomOffset();
    /// The pinned stored-convention y for a main screen of the given height.
    [[nodiscard]] double pinnedStoredY() const;
    /// The model y of the pinned window's bottom edge, `bottomOffset` above the screen's bottom
    /// edge as long as enough of the pet stays on the screen.
    [[nodiscard]] double pinnedBottom(const class QRectF& frame) const;

    Defaults& m_defaults;
    Screens& m_screens;
    PetWindowHost& m_pet;
    PetState& m_petState;
    PetBehaviorControl& m_scheduler;

    bool m_isDoNotDisturbMode = false;
    double m_bottomOffset = defaultBottomOffset;
    std::optional<QPointF> m_originalPosition;
};
