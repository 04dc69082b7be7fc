#include "reminders/StoredList.h"

#include "platform/Defaults.h"
#include "platform/LogManager.h"

#include <QJsonDocument>

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

bool StoredList::readEntries(
    Defaults& defaults, const StoredListKeys& keys, const std::function<void(const JsonReader&)>& decode)
{
    if (!defaults.contains(keys.key))
        return false;
    const QJsonValue stored = defaults.value(keys.key);
    if (!stored.isArray()) {
        setAside(defaults, keys, QJsonArray { stored });
        LogManager::log(u"⚠️ 存储的"_s + keys.noun + u"列表不是列表，已另存到 "_s + keys.asideKey + u": "_s
                + compact(stored).left(200),
            keys.category);
        return true;
    }
    const QJsonArray array = stored.toArray();
    QJsonArray rejected;
    for (qsizetype i = 0; i < array.size(); ++i) {
        const QJsonValue entry = array.at(i);
        try {
            const JsonReader reader = JsonReader::fromValue(entry, JsonReader::indexPath({}, i));
            decode(reader);
        } catch (const JsonDecodeError& error) {
            rejected.append(entry);
            LogManager::log(
                u"⚠️ 跳过无法读取的"_s + keys.noun + u": "_s + error.description(), keys.category);
        }
    }
    if (!rejected.isEmpty()) {
        setAside(defaults, keys, rejected);
        LogManager::log(u"⚠️ "_s + QString::number(rejected.size()) + u" 个无法读取的"_s + keys.noun
                + u"已另存到 "_s + keys.asideKey,
            keys.category);
    }
    return true;
}
