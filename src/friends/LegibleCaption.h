#pragma once

#include "widgets/TextStyle.h"

#include <QFont>

/// The smallest step of the type scale as the friends' screens set it: caption 2, though
/// never under 9 px, below which Chinese is not legible (at the default font caption 2
/// comes out at 8). The floor grows with the application font, as the 9 px hints under the
/// pin switch do, so the caption never turns smaller than the lines it heads.
namespace LegibleCaption {

inline constexpr int leastPixels = 9;

[[nodiscard]] inline QFont caption2()
{
    QFont font = TextStyle::font(TextStyle::Style::caption2);
    const int least = TextStyle::scaled(leastPixels);
    if (font.pixelSize() < least)
        font.setPixelSize(least);
    return font;
}

} // namespace LegibleCaption
