#include "shell/PerformanceMonitor.h"

#include "platform/LogManager.h"

using namespace Qt::StringLiterals;

PerformanceMonitor::PerformanceMonitor(QObject* parent)
    : QObject(parent)
{
}

PerformanceMonitor::~PerformanceMonitor()
{
    stopMonitoring();
}

void PerformanceMonitor::stopMonitoring()
{
    if (m_monitorTimer) {
        m_monitorTimer->stop();
        m_monitorTimer.reset();
    }
    LogManager::log(u"性能监控已停止"_s, logCategory);
}
