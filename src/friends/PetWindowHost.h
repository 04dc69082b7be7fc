#pragma once

#include <QPointF>

class FloatingWindow;

/// What the message bubbles need of the pet: its window, its stored position and its
/// automatic behaviour. The application adapts the pet's window manager and scheduler;
/// tests give a plain window.
class PetWindowHost
{
public:
    virtual ~PetWindowHost() = default;

    /// The pet's window, or null while there is none.
    [[nodiscard]] virtual FloatingWindow* petWindow() const = 0;
    /// The pet's position in the stored (top-left) form.
    [[nodiscard]] virtual QPointF currentPetPosition() const = 0;
    /// Moves the pet to a stored position and makes it the pet's own, the way every other
    /// move does, so that its next walk sets out from there.
    virtual void updatePetPosition(QPointF position) = 0;

    /// Whether the user has the automatic behaviour switched on.
    [[nodiscard]] virtual bool isBehaviorActive() const = 0;
    /// Whether the behaviour runs now, neither paused nor switched off.
    [[nodiscard]] virtual bool isBehaviorRunning() const = 0;
    /// Whether do-not-disturb holds the pet still.
    [[nodiscard]] virtual bool isDoNotDisturbOn() const = 0;
    virtual void pauseBehavior() = 0;
    virtual void startBehavior() = 0;
};
