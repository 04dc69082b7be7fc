#pragma once

/// The switch and pause of the pet's automatic behaviour, for what must hold the pet still
/// for a while (do-not-disturb, the message bubbles). The behaviour scheduler is the program's.
class PetBehaviorControl
{
public:
    virtual ~PetBehaviorControl() = default;

    /// The user's switch for the automatic behaviour; pausing leaves it as it is.
    [[nodiscard]] virtual bool isActive() const = 0;
    /// Whether the behaviour runs now, neither paused nor switched off.
    [[nodiscard]] virtual bool isRunning() const = 0;
    /// Stops what runs and the timers; the switch stays.
    virtual void pauseScheduling() = 0;
    /// (Re)starts the behaviour; nothing when switched off.
    virtual void startBehaviorSystem() = 0;
};
