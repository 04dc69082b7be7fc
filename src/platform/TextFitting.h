#pragma once

#include <QString>

class QFont;

namespace TextFitting {

/// `text` laid out in at most `lines` lines of `width` pixels: Chinese breaks between any
/// two characters, other text at word boundaries, and whatever does not fit ends the last
/// line with "…". Line breaks in `text` start new lines. `cut` tells whether anything was
/// left out.
[[nodiscard]] QString fitted(const QString& text, const QFont& font, int width, int lines, bool* cut = nullptr);

/// `text` as a tool tip shows it whole and as it is: a tool tip reads anything that merely
/// looks like markup as rich text, so the text is escaped, keeps its line breaks and wraps.
[[nodiscard]] QString plainToolTip(const QString& text);

} // namespace TextFitting
