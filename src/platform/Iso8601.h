#pragma once

#include <QDateTime>
#include <QString>
#include <QStringView>

#include <optional>

/// Server dates. Qt's own ISO reading accepts forms the server contract does not (dates
/// without a time, times without a zone, fractions), so the program reads them itself.
namespace Iso8601 {

/// The internet date-time form without fractions of a second: "2024-05-01T08:30:00Z" or
/// "2024-05-01T16:30:00+08:00". Anything else, or an impossible date, gives nothing.
[[nodiscard]] std::optional<QDateTime> parseInternetDateTime(QStringView text);

/// The two fallback forms that servers also send, tried in this order:
/// "yyyy-MM-dd'T'HH:mm:ss.SSSZ" and "yyyy-MM-dd'T'HH:mm:ssZ" (UTC, zone "Z", "+hhmm" or
/// "+hh:mm"). Extra fraction digits are cut to milliseconds.
[[nodiscard]] std::optional<QDateTime> parseFallback(QStringView text);

/// A server date: the internet form first, then the fallbacks.
[[nodiscard]] std::optional<QDateTime> parseServerDate(QStringView text);

/// The internet form in UTC, whole seconds: what every stored record writes.
[[nodiscard]] QString format(const QDateTime& dateTime);

} // namespace Iso8601
