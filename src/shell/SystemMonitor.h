#pragma once

#include "core/SystemHealth.h"

#include <QList>
#include <QObject>
#include <QTimer>

class Clock;
class RandomSource;
class SystemInfo;

/// Samples processor load, memory and disk every 30 s, reduces them to a health level,
/// keeps the last 20 samples and announces level changes ("systemHealthDidChange") and
/// steps into critical ("systemHealthCritical").
class SystemMonitor final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SystemMonitor)

public:
    /// Seconds between two samples.
    static constexpr double updateInterval = 30.0;
    static constexpr int updateIntervalMs = int(updateInterval * 1000.0);
    static constexpr int maxHistoryCount = 20;

    /// Takes the first sample at once.
    explicit SystemMonitor(
        SystemInfo* info = nullptr, RandomSource* random = nullptr, Clock* clock = nullptr, QObject* parent = nullptr);
    ~SystemMonitor() override;

    [[nodiscard]] const SystemHealth& currentHealth() const { return m_currentHealth; }
    [[nodiscard]] bool isMonitoringActive() const { return m_isMonitoringActive; }
    /// Oldest first.
    [[nodiscard]] const QList<SystemHealth>& healthHistory() const { return m_healthHistory; }
    [[nodiscard]] const QTimer& monitorTimer() const { return m_monitorTimer; }

    /// Samples now and then every 30 s; a second call while running does nothing.
    void startMonitoring();
    void stopMonitoring();
    /// Takes one sample, publishes it and announces a change of level.
    void updateSystemHealth();

    /// The readers, each a fraction from 0 to 1 (never NaN).
    [[nodiscard]] double getCurrentCPUUsage() const;
    [[nodiscard]] double getCurrentMemoryUsage() const;
    [[nodiscard]] double getCurrentDiskUsage() const;

Q_SIGNALS:
    void currentHealthChanged(const SystemHealth& health);
    void isMonitoringActiveChanged(bool active);

private:
    SystemInfo& m_info;
    RandomSource& m_random;
    Clock& m_clock;
    SystemHealth m_currentHealth;
    bool m_isMonitoringActive = false;
    QList<SystemHealth> m_healthHistory;
    QTimer m_monitorTimer;
};
