#include "core/TimeSegment.h"

using namespace Qt::StringLiterals;

QString rawValue(TimeSegment segment)
{
    switch (segment) {
    case TimeSegment::morning:
        return u"morning"_s;
    case TimeSegment::afternoon:
        return u"afternoon"_s;
    case TimeSegment::evening:
        return u"evening"_s;
    case TimeSegment::night:
        return u"night"_s;
    }
    return {};
}

QString displayName(TimeSegment segment)
{
    switch (segment) {
    case TimeSegment::morning:
        return u"早晨"_s;
    case TimeSegment::afternoon:
        return u"下午"_s;
    case TimeSegment::evening:
        return u"傍晚"_s;
    case TimeSegment::night:
        return u"夜晚"_s;
    }
    return {};
}

QString emoji(TimeSegment segment)
{
    switch (segment) {
    case TimeSegment::morning:
        return u"🌅"_s;
    case TimeSegment::afternoon:
        return u"☀️"_s;
    case TimeSegment::evening:
        return u"🌆"_s;
    case TimeSegment::night:
        return u"🌙"_s;
    }
    return {};
}

TimeSegment timeSegmentForHour(int hour)
{
    if (hour >= 6 && hour <= 11)
        return TimeSegment::morning;
    if (hour >= 12 && hour <= 17)
        return TimeSegment::afternoon;
    if (hour >= 18 && hour <= 21)
        return TimeSegment::evening;
    return TimeSegment::night;
}
