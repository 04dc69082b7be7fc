#include "platform/FrameTicker.h"

#include "platform/X11FramePixmaps.h"

#include <algorithm>
#include <utility>

FrameTicker::FrameTicker(TimerSource& timers)
    : m_timers(timers)
{
}

FrameTicker::~FrameTicker() = default;

void FrameTicker::start(const void* key, int intervalMs, Tick tick)
{
    intervalMs = std::max(1, intervalMs);
    if (const auto found = m_entries.constFind(key); found != m_entries.cend() && found->intervalMs != intervalMs)
        stop(key);
    Entry& entry = m_entries[key];
    entry.tick = std::move(tick);
    if (entry.intervalMs == intervalMs)
        return;
    entry.intervalMs = intervalMs;
    entry.serial = ++m_nextSerial;
    Group& group = m_groups[intervalMs];
    group.keys.push_back(key);
    if (!group.timer)
        group.timer = m_timers.start(intervalMs, true, [this, intervalMs] { fire(intervalMs); });
}

void FrameTicker::stop(const void* key)
{
    const auto found = m_entries.constFind(key);
    if (found == m_entries.cend())
        return;
    const int intervalMs = found->intervalMs;
    m_entries.erase(found);
    const auto group = m_groups.find(intervalMs);
    if (group == m_groups.end())
        return;
    std::erase(group->second.keys, key);
    // Destroying the timer from inside its own firing is allowed by the timer source.
    if (group->second.keys.empty())
        m_groups.erase(group);
}

void FrameTicker::fire(int intervalMs)
{
    const auto group = m_groups.find(intervalMs);
    if (group == m_groups.end())
        return;
    // A tick may stop or start players (a finished animation hands over to the next one):
    // only those that were ticking before it, and still are, step now.
    std::vector<std::pair<const void*, quint64>> due;
    due.reserve(group->second.keys.size());
    for (const void* key : group->second.keys)
        due.emplace_back(key, m_entries.value(key).serial);
    const X11FramePixmaps::Batch oneFlush;
    for (const auto& [key, serial] : due) {
        const auto entry = m_entries.constFind(key);
        if (entry == m_entries.cend() || entry->serial != serial)
            continue;
        const Tick tick = entry->tick; // the tick may stop its own entry
        tick();
    }
}
