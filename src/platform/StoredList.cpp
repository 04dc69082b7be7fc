#include "platform/StoredList.h"

#include "platform/Defaults.h"
#include "platform/LogManager.h"

#include <QJsonDocument>
#include <QUuid>

using namespace Qt::StringLiterals;

namespace {

void setAside(Defaults& defaults, const StoredListKeys& keys, const QJsonArray& rejected)
{
    QJsonArray aside = defaults.value(keys.asideKey).toArray();
    for (const QJsonValue& value : rejected)
        aside.append(value);
    defaults.setValue(keys.asideKey, aside);
}

QString compact(const QJsonValue& value)
{
    if (value.isObject())
        return QString::fromUtf8(QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact));
    if (value.isArray())
        return QString::fromUtf8(QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact));
    return value.toVariant().toString();
}

} // namespace

QString StoredList::freshId()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

void StoredList::logFreshId(const StoredListKeys& keys, const QString& duplicate, const QString& fresh)
{
    LogManager::log(u"⚠️ "_s + keys.noun + u" id 重复: "_s + duplicate + u"，已改为 "_s + fresh, keys.category);
}

bool StoredList::readEntries(
    Defaults& defaults, const StoredListKeys& keys, const std::function<void(const JsonReader&)>& decode)
{
    if (!defaults.contains(keys.key))
        return false;
    const QJsonValue stored = defaults.value(keys.key);
    if (!stored.isArray()) {
        setAside(defaults, keys, QJsonArray { stored });
        defaults.setValue(keys.key, QJsonArray());
        LogManager::log(u"⚠️ 存储的"_s + keys.noun + u"列表不是列表，已另存到 "_s + keys.asideKey + u": "_s
                + compact(stored).left(200),
            keys.category);
        return true;
    }
    const QJsonArray array = stored.toArray();
    const QString failure = keys.entryFailurePrefix.isEmpty() ? u"⚠️ 跳过无法读取的"_s + keys.noun + u": "_s
                                                              : keys.entryFailurePrefix;
    QJsonArray accepted;
    QJsonArray rejected;
    for (qsizetype i = 0; i < array.size(); ++i) {
        const QJsonValue entry = array.at(i);
        try {
            const JsonReader reader = JsonReader::fromValue(entry, JsonReader::indexPath({}, i));
            decode(reader);
            accepted.append(entry);
        } catch (const JsonDecodeError& error) {
            rejected.append(entry);
            LogManager::log(failure + error.description(), keys.category);
        }
    }
    if (!rejected.isEmpty()) {
        // Out of the list once aside, so that the next load does not set them aside again.
        setAside(defaults, keys, rejected);
        defaults.setValue(keys.key, accepted);
        LogManager::log(u"⚠️ "_s + QString::number(rejected.size()) + u" 个无法读取的"_s + keys.noun
                + u"已另存到 "_s + keys.asideKey,
            keys.category);
    }
    return true;
}
