#pragma once

#include <QString>

/// Counting and cutting text in user-perceived characters, so an emoji built of several
/// code points (flags, skin tones, families joined by zero-width joiners) is never split.
namespace GraphemeText {

[[nodiscard]] qsizetype count(const QString& text);
/// The first `limit` characters of `text`; the text itself when it is not longer.
[[nodiscard]] QString truncated(const QString& text, qsizetype limit);
/// `text` as a question quotes it: on one line, and cut to `limit` characters and "…" when
/// longer, so a name of thousands of characters or many lines cannot stretch the box past
/// the screen and take its buttons out of reach.
[[nodiscard]] QString quoted(QString text, qsizetype limit = 40);

} // namespace GraphemeText
