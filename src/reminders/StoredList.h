#pragma once

#include "platform/JsonReader.h"

#include <QJsonArray>
#include <QJsonValue>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

class Defaults;

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
};

namespace StoredList {

/// Hands each entry of the stored array to `decode` on its own, so one bad entry costs
/// only itself. Returns false when no value is stored at all.
bool readEntries(Defaults& defaults, const StoredListKeys& keys, const std::function<void(const JsonReader&)>& decode);

/// Typed form of readEntries.
template<typename T>
std::optional<QList<T>> load(Defaults& defaults, const StoredListKeys& keys)
{
    QList<T> decoded;
    if (!readEntries(defaults, keys, [&decoded](const JsonReader& json) { decoded.append(T::fromJson(json)); }))
        return std::nullopt;
    return decoded;
}

template<typename T>
QJsonArray toJson(const QList<T>& items)
{
    QJsonArray array;
    for (const T& item : items)
        array.append(item.toJson());
    return array;
}

} // namespace StoredList
