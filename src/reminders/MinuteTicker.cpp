#include "reminders/MinuteTicker.h"

#include "platform/Clock.h"

#include <algorithm>
#include <cmath>

namespace {

/// How early a beat may come and still count as the minute it was aimed at.
constexpr qint64 earlyToleranceMs = 1000;

QDateTime startOfMinute(const QDateTime& time)
{
    const QTime t = time.time();
    return time.addMSecs(-(static_cast<qint64>(t.second()) * 1000 + t.msec()));
}

} // namespace

MinuteTicker::MinuteTicker(Clock& clock, QObject* parent)
    : QObject(parent)
    , m_clock(clock)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &MinuteTicker::tick);
}

double MinuteTicker::secondsToNextMinute(const QDateTime& now)
{
    const QTime t = now.time();
    return 60.0 - t.second() - t.msec() / 1000.0;
}

QDateTime MinuteTicker::minuteOf(const QDateTime& now)
{
    return startOfMinute(now.toLocalTime().addMSecs(earlyToleranceMs));
}

void MinuteTicker::start()
{
    if (m_timer.isActive())
        return;
    m_timer.start(static_cast<int>(std::llround(secondsToNextMinute(m_clock.now()) * 1000.0)));
}

void MinuteTicker::stop()
{
    m_timer.stop();
}

void MinuteTicker::tick()
{
    const QDateTime minute = minuteOf(m_clock.now());
    Q_EMIT minuteStarted(minute);
    // Aim at the minute after the one just announced, read afresh: the handlers took time
    // and the clock may have been stepped meanwhile.
    const qint64 untilNext = m_clock.now().msecsTo(minute.addSecs(60));
    m_timer.start(static_cast<int>(std::clamp<qint64>(untilNext, 1, 60 * 1000 + earlyToleranceMs)));
}
