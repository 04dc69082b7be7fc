#pragma once

#include <QString>

/// Number texts that match what the program has always written into its log lines and
/// labels.
namespace NumberFormat {

/// The shortest text that reads back as the same double, in the "description" style:
/// a decimal form with at least one fractional digit ("10.0", "2.5", "0.7000000000000001",
/// "-0.5", "0.0001") for magnitudes from 1e-4 up to 2^53, and an exponential form with a
/// signed, at least two-digit exponent outside that range ("1e-05", "1e+16",
/// "1.5e+300"); "nan", "inf" and "-inf" for the special values.
[[nodiscard]] QString shortestDouble(double value);

/// printf's "%.<decimals>f" ("0.5" with one decimal is "0.5", 2.25 is "2.2"); decimals are
/// clamped to 0...20.
[[nodiscard]] QString fixed(double value, int decimals);

} // namespace NumberFormat
