#pragma once

#include <QString>

/// The usual decimal text of a double in log lines: the shortest digits that read back as
/// the same value, always with a fractional part ("1.0", "0.8", "0.7000000000000001").
[[nodiscard]] QString doubleText(double value);
