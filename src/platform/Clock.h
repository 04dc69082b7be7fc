#pragma once

#include <QDateTime>

/// The wall clock, replaceable in tests.
class Clock
{
public:
    virtual ~Clock() = default;
    [[nodiscard]] virtual QDateTime now() const { return QDateTime::currentDateTime(); }
    /// The same instant as now(), in UTC. The system clock reads it without the local
    /// time-zone lookup that now() makes, for readings taken many times a second.
    [[nodiscard]] virtual QDateTime nowUtc() const { return now().toUTC(); }
    /// Milliseconds since the epoch; the cheap form for measuring intervals.
    [[nodiscard]] qint64 nowMs() const { return now().toMSecsSinceEpoch(); }

    static Clock& system();
};
