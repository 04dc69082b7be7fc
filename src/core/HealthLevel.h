#pragma once

#include <QMetaType>
#include <QString>

#include <array>

/// How loaded the machine is, from the largest of the load figures.
enum class HealthLevel { excellent, good, warning, critical };

inline constexpr std::array<HealthLevel, 4> allHealthLevels { HealthLevel::excellent, HealthLevel::good,
    HealthLevel::warning, HealthLevel::critical };

[[nodiscard]] QString rawValue(HealthLevel level);
[[nodiscard]] QString displayName(HealthLevel level);
[[nodiscard]] QString emoji(HealthLevel level);
/// Below 0.5 excellent, below 0.7 good, below 0.9 warning, else critical. A figure that
/// is not a number reads as 0, so it can never pass for a calm or a loaded machine by accident.
[[nodiscard]] HealthLevel healthLevelForFigure(double figure);

Q_DECLARE_METATYPE(HealthLevel)
