#include "core/HealthLevel.h"

#include <cmath>

using namespace Qt::StringLiterals;

QString rawValue(HealthLevel level)
{
    switch (level) {
    case HealthLevel::excellent:
        return u"excellent"_s;
    case HealthLevel::good:
        return u"good"_s;
    case HealthLevel::warning:
        return u"warning"_s;
    case HealthLevel::critical:
        return u"critical"_s;
    }
    return {};
}

QString displayName(HealthLevel level)
{
    switch (level) {
    case HealthLevel::excellent:
        return u"优秀"_s;
    case HealthLevel::good:
        return u"良好"_s;
    case HealthLevel::warning:
        return u"警告"_s;
    case HealthLevel::critical:
        return u"严重"_s;
    }
    return {};
}

QString emoji(HealthLevel level)
{
    switch (level) {
    case HealthLevel::excellent:
        return u"💚"_s;
    case HealthLevel::good:
        return u"💛"_s;
    case HealthLevel::warning:
        return u"🧡"_s;
    case HealthLevel::critical:
        return u"❤️"_s;
    }
    return {};
}

HealthLevel healthLevelForFigure(double figure)
{
    if (std::isnan(figure) || figure < 0.5)
        return HealthLevel::excellent;
    if (figure < 0.7)
        return HealthLevel::good;
    if (figure < 0.9)
        return HealthLevel::warning;
    return HealthLevel::critical;
}
