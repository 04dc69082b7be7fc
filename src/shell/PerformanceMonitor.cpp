#include "shell/PerformanceMonitor.h"

#include "platform/SystemLog.h"

#include <utility>

using namespace Qt::StringLiterals;

PerformanceMonitor::PerformanceMonitor(Logger logger, QObject* parent)
    : QObject(parent)
    , m_logger(logger ? std::move(logger) : Logger(&SystemLog::info))
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
    m_logger(u"性能监控已停止"_s);
}
