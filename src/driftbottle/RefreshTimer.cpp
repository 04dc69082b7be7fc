#include "driftbottle/RefreshTimer.h"

#include <algorithm>

QtRefreshTimer::QtRefreshTimer()
{
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        // A copy, since the callback may stop this timer and so drop the stored one.
        const std::function<void()> onTimeout = m_onTimeout;
        if (onTimeout)
            onTimeout();
    });
}

void QtRefreshTimer::start(int intervalMs, std::function<void()> onTimeout)
{
    m_onTimeout = std::move(onTimeout);
    m_timer.start(std::max(0, intervalMs));
}

void QtRefreshTimer::stop()
{
    m_timer.stop();
    m_onTimeout = nullptr;
}
