#pragma once

#include <QtGlobal>

namespace FontScale {

/// How much larger the application font is than Qt's own default of 9 pt, never below 1.
///
/// The sizes the screens state hold at that default and grow with a larger font. The
/// reference is fixed rather than the desktop's font: a desktop that sets 12 pt makes both
/// the desktop's and the application's font 12 pt, and measured against itself it would
/// never grow anything.
[[nodiscard]] qreal ofApplication();

} // namespace FontScale
