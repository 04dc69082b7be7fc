#pragma once

#include "platform/RandomSource.h"

#include <QList>
#include <QPair>

/// Answers queued values (the low end once the queue is empty) and records every range asked for.
class RecordingRandom final : public RandomSource
{
public:
    QList<double> reals;
    QList<QPair<double, double>> realRanges;

    double uniformReal(double lo, double hi) override
    {
        realRanges.append({ lo, hi });
        return reals.isEmpty() ? lo : reals.takeFirst();
    }
    int uniformInt(int lo, int) override { return lo; }
};
