#include "shell/TimeManager.h"

#include "core/EventCenter.h"
#include "platform/Clock.h"
#include "platform/StandardOutput.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

TimeManager::TimeManager(Clock* clock, QObject* parent)
    : QObject(parent)
    , m_clock(clock ? *clock : Clock::system())
{
    m_timeMonitorTimer.setInterval(checkIntervalMs);
    m_timeMonitorTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_timeMonitorTimer, &QTimer::timeout, this, &TimeManager::updateCurrentTimeSegment);
    updateCurrentTimeSegment();
}

// Freed at quit, it goes quietly: its timer ends with it, and stopping is said only when
// someone stops it.
TimeManager::~TimeManager() = default;

TimeSegment TimeManager::getTimeSegment(const QDateTime& date)
{
    return timeSegmentForHour(date.toLocalTime().time().hour());
}

void TimeManager::updateCurrentTimeSegment()
{
    const TimeSegment newSegment = getTimeSegment(m_clock.now());
    if (newSegment == m_currentTimeSegment)
        return;
    const TimeSegment oldSegment = m_currentTimeSegment;
    m_currentTimeSegment = newSegment;
    Q_EMIT currentTimeSegmentChanged(newSegment);
    StandardOutput::printLine(u"⏰ 时间段变化: "_s + displayName(oldSegment) + u" -> "_s + displayName(newSegment));
    Q_EMIT EventCenter::shared().timeSegmentDidChange(oldSegment, newSegment);
}

void TimeManager::startTimeMonitoring()
{
    if (m_isTimeMonitoringActive)
        return;
    m_isTimeMonitoringActive = true;
    Q_EMIT isTimeMonitoringActiveChanged(true);
    updateCurrentTimeSegment();
    m_timeMonitorTimer.start();
    StandardOutput::printLine(u"⏰ 时间监控已启动"_s);
}

void TimeManager::stopTimeMonitoring()
{
    if (!m_isTimeMonitoringActive)
        return;
    m_isTimeMonitoringActive = false;
    Q_EMIT isTimeMonitoringActiveChanged(false);
    m_timeMonitorTimer.stop();
    StandardOutput::printLine(u"⏰ 时间监控已停止"_s);
}
