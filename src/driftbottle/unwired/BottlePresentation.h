#pragma once

#include "server/DriftBottleModels.h"

#include <QColor>
#include <QDateTime>
#include <QString>
#include <QStringList>

/// How the bottle screens write a bottle's type, status, tags and dates. Pure text, so the
/// rules can be checked without a display.
/// Only the tabbed drift-bottle screens use it, and no menu opens them today.
namespace BottlePresentation {

/// "🍾", "🎨", "⭐️" or "🍀".
[[nodiscard]] QString typeMark(BottleType type);
/// "普通瓶子", "彩色瓶子", "许愿瓶" or "幸运瓶".
[[nodiscard]] QString typeName(BottleType type);

struct StatusBadge
{
    QString emoji;
    QString label;
    QColor colour;
};
[[nodiscard]] StatusBadge statusBadge(BottleStatus status);

/// The footer's tags: "#" and each of the first two themes, then "+n" for the rest.
[[nodiscard]] QStringList tagTexts(const QStringList& theme);

/// "MM-dd HH:mm" in local time, as a row shows it.
[[nodiscard]] QString rowDate(const QDateTime& time);
/// "yyyy-MM-dd HH:mm" in local time, as the detail screen shows it.
[[nodiscard]] QString detailDate(const QDateTime& time);

/// The first 20 characters of a bottle's text and "...", for the log line that names it.
[[nodiscard]] QString logPreview(const QString& content);

} // namespace BottlePresentation
