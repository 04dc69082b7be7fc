#pragma once

#include "platform/SystemColours.h"

#include <QColor>
#include <QPalette>

/// The few fixed colours of the drift-bottle window, chosen to read on light and dark palettes.
namespace ChatColours {

/// The user's own bubbles and the selected row's tint.
[[nodiscard]] inline QColor accent()
{
    return { 0, 122, 255 };
}
[[nodiscard]] inline QColor selection()
{
    QColor c = accent();
    c.setAlphaF(0.1f);
    return c;
}
[[nodiscard]] inline QColor hover(const QPalette& palette)
{
    QColor c = palette.color(QPalette::Text);
    c.setAlphaF(0.05f);
    return c;
}
[[nodiscard]] inline QColor warning()
{
    return SystemColours::orange();
}
[[nodiscard]] inline QColor warningTint(float alpha)
{
    QColor c = warning();
    c.setAlphaF(alpha);
    return c;
}
/// The line under each conversation row: the text colour faint, as the window's own dividers
/// draw it. A palette's mid-light shade can all but equal its base colour in a dark theme.
[[nodiscard]] inline QColor divider(const QPalette& palette)
{
    QColor c = palette.color(QPalette::Text);
    c.setAlphaF(0.15f);
    return c;
}
/// The other side's bubbles: gray at a fifth, over whatever the window background is.
[[nodiscard]] inline QColor otherBubble()
{
    QColor c(142, 142, 147);
    c.setAlphaF(0.2f);
    return c;
}

} // namespace ChatColours
