#pragma once

#include <QString>
#include <QUrl>

#include <functional>

/// Fixed facts about the product that its screens show.
namespace ProductInfo {

/// The product's website, opened from the about block and from the update offer.
inline const QString websiteAddress = QStringLiteral("https://tamsel.app");
/// The developer's contact ID, shown and copied in the about block.
inline const QString contactId = QStringLiteral("tamsel_dev");

/// The running program's version, or an empty text when none is set.
[[nodiscard]] QString appVersion();

} // namespace ProductInfo

/// Opens an address in the user's browser; returns false when nothing could open it.
/// Screens take one so that tests can see what would open without starting a browser.
using UrlOpener = std::function<bool(const QUrl&)>;

/// The desktop's default handler for the address.
[[nodiscard]] UrlOpener browserOpener();
