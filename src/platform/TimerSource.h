#pragma once

#include <functional>
#include <memory>

/// Starts timers; replaceable in tests, so delays of seconds or minutes run at once there.
///
/// A timer runs until its handle is destroyed. The handle may be destroyed from inside the
/// timer's own callback (a one-shot timer that restarts the work that owns it).
class TimerSource
{
public:
    class Timer
    {
    public:
        virtual ~Timer() = default;
    };

    virtual ~TimerSource() = default;

    /// Calls `onFire` after `intervalMs` (every `intervalMs` when repeating); a negative
    /// interval counts as 0. The program's timers are precise: their lengths are stated
    /// or seen by the user.
    [[nodiscard]] virtual std::unique_ptr<Timer> start(int intervalMs, bool repeating, std::function<void()> onFire)
        = 0;

    /// Qt's timers on the calling thread's event loop.
    static TimerSource& system();
};
