#pragma once

#include "preferences/ProcessUsageSampler.h"

#include <QColor>
#include <QTimer>
#include <QWidget>

class CpuIndicator;
class PlainLabel;
class QVBoxLayout;

/// How much processor time and memory this program uses, refreshed every 2 s while the
/// view is on screen and not at all while it is hidden.
class SystemResourceView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SystemResourceView)

public:
    static constexpr int refreshIntervalMs = 2000;

    explicit SystemResourceView(SystemInfo& info, QWidget* parent = nullptr);

    /// This program's processor load, 0 to 100 percent.
    [[nodiscard]] double cpuUsage() const { return m_cpuUsage; }
    /// Its resident memory as a percentage of the machine's; sampled, not shown.
    [[nodiscard]] double memoryUsage() const { return m_memoryUsage; }
    [[nodiscard]] double memoryMB() const { return m_memoryMB; }
    [[nodiscard]] const QTimer& refreshTimer() const { return m_timer; }
    /// Takes a fresh sample and shows it.
    void updateResourceUsage();

    [[nodiscard]] static QColor bandColour(UsageBand band);

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void showColours();

    ProcessUsageSampler m_sampler;
    double m_cpuUsage = 0.0;
    double m_memoryUsage = 0.0;
    double m_memoryMB = 0.0;
    QTimer m_timer;
    PlainLabel* m_cpuValue;
    PlainLabel* m_memoryValue;
    CpuIndicator* m_cpuIndicator;
};
