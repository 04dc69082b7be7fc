#pragma once

#include <QMetaType>
#include <QString>

#include <array>

/// The four parts of the day, by the local hour.
enum class TimeSegment { morning, afternoon, evening, night };

inline constexpr std::array<TimeSegment, 4> allTimeSegments { TimeSegment::morning, TimeSegment::afternoon,
    TimeSegment::evening, TimeSegment::night };

[[nodiscard]] QString rawValue(TimeSegment segment);
[[nodiscard]] QString displayName(TimeSegment segment);
[[nodiscard]] QString emoji(TimeSegment segment);
/// Morning 6-11, afternoon 12-17, evening 18-21, night 22-5.
[[nodiscard]] TimeSegment timeSegmentForHour(int hour);

Q_DECLARE_METATYPE(TimeSegment)
