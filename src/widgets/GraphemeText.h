#pragma once

#include <QString>

/// Counting and cutting text in user-perceived characters, so an emoji built of several
/// code points (flags, skin tones, families joined by zero-width joiners) is never split.
namespace GraphemeText {

[[nodiscard]] qsizetype count(const QString& text);
/// The first `limit` characters of `text`; the text itself when it is not longer.
[[nodiscard]] QString truncated(const QString& text, qsizetype limit);

} // namespace GraphemeText
