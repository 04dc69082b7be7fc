#pragma once

#include <QDateTime>

/// The wall clock, replaceable in tests.
class Clock
{
public:
    virtual ~Clock() = default;
    [[nodiscard]] virtual QDateTime now() const { return QDateTime::currentDateTime(); }
    /// Milliseconds since the epoch; the cheap form for measuring intervals.
    [[nodiscard]] qint64 nowMs() const { return now().toMSecsSinceEpoch(); }

    static Clock& system();
};
