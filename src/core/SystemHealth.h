#pragma once

#include "core/HealthLevel.h"

#include <QDateTime>
#include <QMetaType>

/// One sample of the machine's load: three fractions from 0 to 1 and their level.
struct SystemHealth
{
    double cpuUsage = 0.0;
    double memoryUsage = 0.0;
    double diskUsage = 0.0;
    HealthLevel overallHealth = HealthLevel::excellent;
    QDateTime timestamp;

    /// Builds a sample whose level is that of the largest figure.
    [[nodiscard]] static SystemHealth fromFigures(double cpu, double memory, double disk, const QDateTime& at);
};

Q_DECLARE_METATYPE(SystemHealth)
