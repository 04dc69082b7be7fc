#pragma once

/// Randomness, replaceable in tests.
class RandomSource
{
public:
    virtual ~RandomSource() = default;
    /// A number in [lo, hi); lo when the range is empty.
    [[nodiscard]] virtual double uniformReal(double lo, double hi);
    /// A whole number in [lo, hi], both ends included; lo when the range is empty.
    [[nodiscard]] virtual int uniformInt(int lo, int hi);
    [[nodiscard]] virtual bool boolean() { return uniformInt(0, 1) == 1; }

    static RandomSource& system();
};
