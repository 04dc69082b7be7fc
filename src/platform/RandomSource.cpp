#include "platform/RandomSource.h"

#include <QRandomGenerator>

double RandomSource::uniformReal(double lo, double hi)
{
    if (!(hi > lo))
        return lo;
    return lo + QRandomGenerator::global()->generateDouble() * (hi - lo);
}

int RandomSource::uniformInt(int lo, int hi)
{
    if (hi <= lo)
        return lo;
    return static_cast<int>(QRandomGenerator::global()->bounded(static_cast<qint64>(lo), static_cast<qint64>(hi) + 1));
}

RandomSource& RandomSource::system()
{
    static RandomSource source;
    return source;
}
