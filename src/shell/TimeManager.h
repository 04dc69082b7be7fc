#pragma once

#include "core/TimeSegment.h"

#include <QDateTime>
#include <QObject>
#include <QTimer>

class Clock;

/// Watches the local hour once a minute and announces "timeSegmentDidChange" when the day
/// moves into another segment.
class TimeManager final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TimeManager)

public:
    /// Seconds between two readings of the clock.
    static constexpr double checkInterval = 60.0;
    static constexpr int checkIntervalMs = static_cast<int>(checkInterval * 1000);

    /// Takes the first reading at once (the segment starts as morning, so a creation in
    /// the afternoon already announces a change).
    explicit TimeManager(Clock* clock = nullptr, QObject* parent = nullptr);
    ~TimeManager() override;

    [[nodiscard]] TimeSegment currentTimeSegment() const { return m_currentTimeSegment; }
    [[nodiscard]] bool isTimeMonitoringActive() const { return m_isTimeMonitoringActive; }
    [[nodiscard]] const QTimer& timeMonitorTimer() const { return m_timeMonitorTimer; }

    /// Checks now and then every minute; a second call while running does nothing.
    void startTimeMonitoring();
    void stopTimeMonitoring();
    /// Reads the clock and announces a change of segment.
    void updateCurrentTimeSegment();

    /// The segment of the local hour of `date`.
    [[nodiscard]] static TimeSegment getTimeSegment(const QDateTime& date);

Q_SIGNALS:
    void currentTimeSegmentChanged(TimeSegment segment);
    void isTimeMonitoringActiveChanged(bool active);

private:
    Clock& m_clock;
    TimeSegment m_currentTimeSegment = TimeSegment::morning;
    bool m_isTimeMonitoringActive = false;
    QTimer m_timeMonitorTimer;
};
