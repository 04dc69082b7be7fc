#pragma once

#include <QDateTime>
#include <QObject>
#include <QTimer>

class Clock;

/// One wall-clock minute beat shared by the alarm and reminder checks.
///
/// The timer is re-aimed at the next whole minute of the clock on every beat, so neither
/// drift of the timer nor a stepped clock moves the checks off the minute. Minutes that
/// pass while the machine sleeps are not caught up: the next beat simply reports the
/// minute it falls in.
class MinuteTicker final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MinuteTicker)

public:
    explicit MinuteTicker(Clock& clock, QObject* parent = nullptr);

    /// Seconds from `now` to the next whole minute: 60 − second − fraction; exactly on a
    /// whole minute it is a full 60.
    [[nodiscard]] static double secondsToNextMinute(const QDateTime& now);
    /// The whole minute a beat at `now` stands for. A beat that comes a hair before the
    /// minute it was aimed at (timers and wall clocks disagree by a little) still counts
    /// as that minute.
    [[nodiscard]] static QDateTime minuteOf(const QDateTime& now);

    /// Aims the timer at the next whole minute; does nothing while running.
    void start();
    void stop();
    [[nodiscard]] bool isRunning() const { return m_timer.isActive(); }
    [[nodiscard]] const QTimer& timer() const { return m_timer; }

    /// One beat: announces the minute and aims at the next one. The timer calls it.
    void tick();

Q_SIGNALS:
    /// A whole minute began; `minute` is that minute with zero seconds, in local time.
    void minuteStarted(const QDateTime& minute);

private:
    Clock& m_clock;
    QTimer m_timer;
};
