#pragma once

#include <QPointF>

class FloatingWindow;

/// The one way to reach the pet's window: the window itself and its place in the stored
/// (top-left) convention. The window manager is the program's host; tests give a plain window.
class PetWindowHost
{
public:
    virtual ~PetWindowHost() = default;

    /// The pet's window, or null while there is none.
    [[nodiscard]] virtual FloatingWindow* petWindow() const = 0;
    /// The pet's position in the stored form, or the stored one while there is no window.
    [[nodiscard]] virtual QPointF getCurrentWindowPosition() const = 0;
    /// Moves the pet window to a stored position the way every other move does; stores nothing.
    virtual void updateWindowPosition(QPointF position) = 0;

    /// Brings the pet window in front of the other floating windows, yet below an open
    /// alert: the alert floats in the same level here, and a pet raised over it would hide
    /// its text and buttons.
    static void bringPetToFront(FloatingWindow& pet);
};
