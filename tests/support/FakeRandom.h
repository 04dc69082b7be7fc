#pragma once

#include "platform/RandomSource.h"

#include <QList>

/// Plays back queued values as given; when a queue runs dry it answers the low end of the range.
class FakeRandom final : public RandomSource
{
public:
    QList<double> reals;
    QList<int> ints;

    double uniformReal(double lo, double /*hi*/) override
    {
        if (reals.isEmpty())
            return lo;
        return reals.takeFirst();
    }
    int uniformInt(int lo, int /*hi*/) override
    {
        if (ints.isEmpty())
            return lo;
        return ints.takeFirst();
    }
};
