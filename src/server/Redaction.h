#pragma once

#include <QString>

/// Keeping a secret (the sign-in password) out of the log and out of error texts when a
/// server echoes it back.
///
/// A secret of `wholeWordOnlyBelow` characters or more is masked wherever it occurs. A
/// shorter one counts as present only where it stands on its own: a whole value, or set off
/// from the text around it by anything but a letter or digit (blanks, punctuation, quotes,
/// the string's ends). Inside a word it is left alone, so a password "6" does not turn
/// "密码长度至少为6位" into nonsense, while an echo of the request ("password=6&...",
/// "INSERT (..., '6')", a JSON copy of the body) is always masked.
namespace Redaction {

inline constexpr qsizetype wholeWordOnlyBelow = 4;

/// What stands in for the secret.
inline constexpr QStringView mask = u"******";

/// Plain text (a decoded message, an error description) with the secret masked.
[[nodiscard]] QString inText(const QString& text, const QString& secret);

/// A reply's text as the server sent it, with the secret masked wherever its JSON strings
/// carry it, however they escape it ("\u5bc6", "\/", "\"", "\t"), and in the text between
/// them. A string that carries the secret is written back with JSON's ordinary escapes; the
/// rest of the text is left exactly as it came.
[[nodiscard]] QString inReply(const QString& reply, const QString& secret);

} // namespace Redaction
