#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

/// The program's own performance figures and the limits they are judged against. Nothing
/// creates or samples it yet; stopping (also on destruction) ends any timer and says so in
/// the system's log, not the program's.
class PerformanceMonitor final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PerformanceMonitor)

public:
    using Logger = std::function<void(const QString&)>;

    /// @p logger takes the monitor's information messages; the system log by default.
    explicit PerformanceMonitor(Logger logger = {}, QObject* parent = nullptr);
    ~PerformanceMonitor() override;

    [[nodiscard]] double cpuUsage() const { return m_cpuUsage; }
    [[nodiscard]] double memoryUsage() const { return m_memoryUsage; }
    [[nodiscard]] bool isPerformanceOptimal() const { return m_isPerformanceOptimal; }
    [[nodiscard]] double monitoringInterval() const { return m_monitoringInterval; }
    [[nodiscard]] double cpuThreshold() const { return m_cpuThreshold; }
    [[nodiscard]] double memoryThreshold() const { return m_memoryThreshold; }
    [[nodiscard]] const QTimer* monitorTimer() const { return m_monitorTimer.get(); }

    /// Ends and drops the timer, then tells the logger "性能监控已停止".
    void stopMonitoring();

Q_SIGNALS:
    // The three figures are published; nothing in the program samples them yet.
    void cpuUsageChanged(double usage);
    void memoryUsageChanged(double usage);
    void isPerformanceOptimalChanged(bool optimal);

private:
    double m_cpuUsage = 0.0;
    double m_memoryUsage = 0.0;
    bool m_isPerformanceOptimal = true;
    double m_monitoringInterval = 5.0;
    double m_cpuThreshold = 0.8;
    double m_memoryThreshold = 0.8;
    std::unique_ptr<QTimer> m_monitorTimer;
    const Logger m_logger;
};
