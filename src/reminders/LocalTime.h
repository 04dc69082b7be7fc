#pragma once

#include <QDateTime>
#include <QTimeZone>

/// Reads instants in the user's time zone, looked up once for a pass over many dates.
/// Qt's own local-time conversion asks the C library, which checks the zone file on disk
/// at every call; a minute's check over a thousand alarms would spend most of its time
/// there. Build one per pass, so a change of zone is seen by the next pass.
class LocalTime final
{
public:
    LocalTime()
        : m_zone(QTimeZone::systemTimeZone())
    {
    }

    [[nodiscard]] QDateTime operator()(const QDateTime& time) const
    {
        return m_zone.isValid() ? time.toTimeZone(m_zone) : time.toLocalTime();
    }

    /// The local time of day of `time`, without building a zoned date.
    [[nodiscard]] QTime timeOfDay(const QDateTime& time) const
    {
        if (!m_zone.isValid() || !time.isValid())
            return (*this)(time).time();
        constexpr qint64 day = 24 * 3600 * 1000;
        const qint64 local = time.toMSecsSinceEpoch() + qint64(m_zone.offsetFromUtc(time)) * 1000;
        return QTime::fromMSecsSinceStartOfDay(static_cast<int>(((local % day) + day) % day));
    }

private:
    QTimeZone m_zone;
};
