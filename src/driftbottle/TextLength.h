#pragma once

#include <QString>

/// How many characters a person sees in `text`: grapheme clusters, so a family emoji or a
/// letter with combining accents counts once, however many UTF-16 units it takes.
[[nodiscard]] qsizetype userPerceivedLength(const QString& text);
