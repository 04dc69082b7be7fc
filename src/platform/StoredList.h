#pragma once

#include "platform/Defaults.h"
#include "platform/JsonReader.h"

#include <QJsonArray>
#include <QJsonValue>
#include <QList>
#include <QSet>
#include <QString>

#include <functional>
#include <optional>

/// Where a stored list lives and where entries that cannot be read are kept aside.
struct StoredListKeys
{
    QString key;
    /// Entries that did not decode, and a stored value that was not a list at all, are
    /// appended here before anything writes over them, so nothing the user had is lost.
    QString asideKey;
    QString category;
    /// The record's name in log lines ("提醒", "闹钟").
    QString noun;
    /// What the line about one unreadable entry begins with; "⚠️ 跳过无法读取的<noun>: " when empty.
    QString entryFailurePrefix = {};
};

namespace StoredList {

/// Hands each entry of the stored array to `decode` on its own, so one bad entry costs
/// only itself; the entries set aside leave the stored list. Returns false when no value
/// is stored at all.
bool readEntries(Defaults& defaults, const StoredListKeys& keys, const std::function<void(const JsonReader&)>& decode);

/// A new id, unlike any other.
[[nodiscard]] QString freshId();
void logFreshId(const StoredListKeys& keys, const QString& duplicate, const QString& fresh);

/// Gives each entry whose id an earlier entry already has a fresh one, and logs it, so that
/// every entry keeps its own state. Returns whether any id changed.
template<typename T>
bool giveDuplicatesFreshIds(QList<T>& items, const StoredListKeys& keys)
{
    QSet<QString> seen;
    bool changed = false;
    for (T& item : items) {
        if (seen.contains(item.id)) {
            const QString fresh = freshId();
            logFreshId(keys, item.id, fresh);
            item.id = fresh;
            changed = true;
        }
        seen.insert(item.id);
    }
    return changed;
}

template<typename T>
QJsonArray toJson(const QList<T>& items)
{
    QJsonArray array;
    for (const T& item : items)
        array.append(item.toJson());
    return array;
}

/// Typed form of readEntries; records with an id get unique ids, stored at once.
template<typename T>
std::optional<QList<T>> load(Defaults& defaults, const StoredListKeys& keys)
{
    QList<T> decoded;
    if (!readEntries(defaults, keys, [&decoded](const JsonReader& json) { decoded.append(T::fromJson(json)); }))
        return std::nullopt;
    if constexpr (requires(T & item) { item.id = QString(); }) {
        if (giveDuplicatesFreshIds(decoded, keys))
            defaults.setValue(keys.key, toJson(decoded));
    }
    return decoded;
}

} // namespace StoredList
