#pragma once

#include "platform/JsonReader.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>

#include <concepts>

/// A record of the server contract: read from a JsonReader, written as a JSON object.
template<typename T>
concept JsonRecord = requires(const JsonReader& reader, const T& record)
{
    {
        T::fromJson(reader)
        } -> std::same_as<T>;
    {
        record.toJson()
        } -> std::same_as<QJsonObject>;
};

/// How a payload type travels as one JSON value; lets the envelope carry records and lists alike.
template<typename T>
struct JsonCodec;

template<JsonRecord T>
struct JsonCodec<T>
{
    static T decode(const QJsonValue& value, const QString& path)
    {
        return T::fromJson(JsonReader::fromValue(value, path));
    }
    static QJsonValue encode(const T& record) { return record.toJson(); }
};

template<typename T>
struct JsonCodec<QList<T>>
{
    static QList<T> decode(const QJsonValue& value, const QString& path)
    {
        return JsonReader::arrayOf(value, path, &JsonCodec<T>::decode);
    }
    static QJsonValue encode(const QList<T>& list)
    {
        QJsonArray array;
        for (const T& element : list)
            array.append(JsonCodec<T>::encode(element));
        return array;
    }
};

/// Decodes a whole reply body as `T`; throws JsonDecodeError.
template<JsonRecord T>
[[nodiscard]] T decodeJson(const QByteArray& bytes)
{
    return JsonCodec<T>::decode(JsonReader::parse(bytes), {});
}
