#pragma once

#include "platform/TimerSource.h"

#include <QHash>

#include <functional>
#include <map>
#include <memory>
#include <vector>

/// Steps every playing animation of the process from one timer per frame interval: the pet,
/// its clones and the game's cats playing at the same rate wake the program once per frame
/// instead of once each, and the window-system requests of one tick leave in one flush.
class FrameTicker final
{
public:
    using Tick = std::function<void()>;

    explicit FrameTicker(TimerSource& timers = TimerSource::system());
    ~FrameTicker();
    FrameTicker(const FrameTicker&) = delete;
    FrameTicker& operator=(const FrameTicker&) = delete;

    /// Calls `tick` every `intervalMs` from the timer shared by everything ticking at that
    /// interval, until stop(key); starting a key again replaces its interval and callback.
    /// A key joining a running timer first ticks on that timer's next firing.
    void start(const void* key, int intervalMs, Tick tick);
    /// May be called from inside any tick, the key's own included.
    void stop(const void* key);

    [[nodiscard]] bool isTicking(const void* key) const { return m_entries.contains(key); }
    /// How many timers run: one per distinct interval in use.
    [[nodiscard]] int timerCount() const { return static_cast<int>(m_groups.size()); }

private:
    struct Entry
    {
        int intervalMs = 0;
        quint64 serial = 0;
        Tick tick;
    };
    struct Group
    {
        std::unique_ptr<TimerSource::Timer> timer;
        std::vector<const void*> keys;
    };

    void fire(int intervalMs);

    TimerSource& m_timers;
    QHash<const void*, Entry> m_entries;
    std::map<int, Group> m_groups;
    quint64 m_nextSerial = 0;
};
