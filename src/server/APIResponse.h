#pragma once

#include "server/JsonCodec.h"

#include <QJsonObject>
#include <QString>

#include <optional>

/// The envelope of every user, bottle and conversation reply: `success` and `message` must
/// be there, the rest may be absent or null.
template<typename T>
struct APIResponse
{
    bool success = false;
    QString message;
    std::optional<T> data;
    std::optional<QString> error;
    std::optional<qint64> count;
    std::optional<bool> isNew;

    [[nodiscard]] static APIResponse fromJson(const JsonReader& r)
    {
        APIResponse a;
        a.success = r.boolean(u"success");
        a.message = r.string(u"message");
        if (r.has(u"data"))
            a.data = JsonCodec<T>::decode(r.value(u"data"), r.pathOf(u"data"));
        a.error = r.optionalString(u"error");
        a.count = r.optionalInteger(u"count");
        a.isNew = r.optionalBoolean(u"isNew");
        return a;
    }

    [[nodiscard]] QJsonObject toJson() const
    {
        QJsonObject o { { QStringLiteral("success"), success }, { QStringLiteral("message"), message } };
        if (data)
            o.insert(QStringLiteral("data"), JsonCodec<T>::encode(*data));
        if (error)
            o.insert(QStringLiteral("error"), *error);
        if (count)
            o.insert(QStringLiteral("count"), *count);
        if (isNew)
            o.insert(QStringLiteral("isNew"), *isNew);
        return o;
    }
};
