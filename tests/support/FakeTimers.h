#pragma once

#include "platform/TimerSource.h"

#include <QList>

#include <algorithm>
#include <memory>

/// Timers on a fake time line that only moves when the test says so.
class FakeTimers final : public TimerSource
{
public:
    std::unique_ptr<Timer> start(int intervalMs, bool repeating, std::function<void()> onFire) override
    {
        auto entry = std::make_shared<Entry>();
        entry->intervalMs = std::max(0, intervalMs);
        entry->dueMs = m_nowMs + entry->intervalMs;
        entry->repeating = repeating;
        entry->onFire = std::move(onFire);
        entry->order = m_nextOrder++;
        m_entries.append(entry);
        return std::make_unique<Handle>(entry);
    }

    /// Moves time on, firing every timer that falls due on the way, in time order.
    void advanceMs(qint64 ms)
    {
        const qint64 end = m_nowMs + ms;
        while (auto next = nextDue(end)) {
            m_nowMs = next->dueMs;
            if (next->repeating)
                next->dueMs += std::max<qint64>(1, next->intervalMs);
            else
                next->alive = false;
            const auto fire = next->onFire;
            fire();
        }
        m_nowMs = end;
    }

    /// Intervals of the timers still running, oldest first.
    [[nodiscard]] QList<int> running()
    {
        prune();
        QList<int> out;
        for (const auto& e : m_entries)
            out.append(e->intervalMs);
        return out;
    }
    /// Milliseconds until the next timer fires; -1 when none runs.
    [[nodiscard]] qint64 msUntilNext()
    {
        prune();
        qint64 best = -1;
        for (const auto& e : m_entries)
            best = best < 0 ? e->dueMs - m_nowMs : std::min(best, e->dueMs - m_nowMs);
        return best;
    }

private:
    struct Entry
    {
        int intervalMs = 0;
        qint64 dueMs = 0;
        bool repeating = false;
        bool alive = true;
        qint64 order = 0;
        std::function<void()> onFire;
    };
    class Handle final : public Timer
    {
    public:
        explicit Handle(std::shared_ptr<Entry> entry)
            : m_entry(std::move(entry))
        {
        }
        ~Handle() override { m_entry->alive = false; }

    private:
        std::shared_ptr<Entry> m_entry;
    };

    void prune()
    {
        m_entries.removeIf([](const std::shared_ptr<Entry>& e) { return !e->alive; });
    }
    std::shared_ptr<Entry> nextDue(qint64 end)
    {
        prune();
        std::shared_ptr<Entry> best;
        for (const auto& e : m_entries) {
            if (e->dueMs <= end
                && (!best || e->dueMs < best->dueMs || (e->dueMs == best->dueMs && e->order < best->order)))
                best = e;
        }
        return best;
    }

    QList<std::shared_ptr<Entry>> m_entries;
    qint64 m_nowMs = 0;
    qint64 m_nextOrder = 0;
};
