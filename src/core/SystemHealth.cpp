#include "core/SystemHealth.h"

#include <algorithm>

SystemHealth SystemHealth::fromFigures(double cpu, double memory, double disk, const QDateTime& at)
{
    return SystemHealth { cpu, memory, disk, healthLevelForFigure(std::max({ cpu, memory, disk })), at };
}
