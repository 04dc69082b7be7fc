#pragma once

#include <QRegion>

#include <cstdint>

class QImage;

/// Where a window drawn from a frame takes the pointer: on every pixel that is not fully
/// transparent. Clicks on the rest go to whatever lies below, as on desktops that pass
/// clicks on empty pixels through.
namespace InputShape {

/// The pixels of `frame` with any opacity, in the image's own (device) pixels. Rows with the
/// same runs merge into one band, so a cat comes out as a few dozen rectangles.
[[nodiscard]] QRegion ofImage(const QImage& frame);

/// Sets the X11 input shape of native window `window` to `region` (its device pixels). Does
/// nothing without an X11 connection or the SHAPE extension.
void applyToX11Window(std::uint32_t window, const QRegion& region);

} // namespace InputShape
