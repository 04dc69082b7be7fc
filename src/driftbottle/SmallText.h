#pragma once

#include "widgets/TextStyle.h"

#include <QFont>

/// The smallest step of the type scale as the drift-bottle window draws it: never under the
/// size below which Chinese stops being legible, whatever the application font.
namespace SmallText {

/// Chinese drawn smaller than this many pixels cannot be read.
inline constexpr int minimumPixels = 9;

/// Caption 2, at least minimumPixels tall.
[[nodiscard]] inline QFont caption2()
{
    QFont font = TextStyle::font(TextStyle::Style::caption2);
    if (TextStyle::pixelSizeOf(font) < minimumPixels)
        font.setPixelSize(minimumPixels);
    return font;
}

} // namespace SmallText
