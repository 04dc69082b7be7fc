#include "platform/JsonReader.h"

#include "platform/Iso8601.h"

#include <QJsonDocument>
#include <QJsonParseError>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

QString typeName(const QJsonValue& value)
{
    switch (value.type()) {
    case QJsonValue::Null:
        return u"null"_s;
    case QJsonValue::Bool:
        return u"布尔值"_s;
    case QJsonValue::Double:
        return u"数字"_s;
    case QJsonValue::String:
        return u"字符串"_s;
    case QJsonValue::Array:
        return u"数组"_s;
    case QJsonValue::Object:
        return u"对象"_s;
    case QJsonValue::Undefined:
        break;
    }
    return u"无"_s;
}

QString describe(JsonDecodeError::Kind kind, const QString& path, const QString& detail)
{
    Q_UNUSED(kind)
    if (path.isEmpty())
        return detail;
    return detail + u"（位置: "_s + path + u"）"_s;
}

} // namespace

JsonDecodeError::JsonDecodeError(Kind kind, QString path, QString detail)
    : m_kind(kind)
    , m_path(std::move(path))
    , m_detail(std::move(detail))
    , m_description(describe(m_kind, m_path, m_detail))
    , m_utf8(m_description.toUtf8())
{
}

JsonReader::JsonReader(QJsonObject object, QString path)
    : m_object(std::move(object))
    , m_path(std::move(path))
{
}

QJsonValue JsonReader::parse(const QByteArray& bytes)
{
    QJsonParseError error {};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) {
        throw JsonDecodeError(JsonDecodeError::Kind::Syntax, {},
            u"不是有效的 JSON: "_s + error.errorString() + u"（偏移 "_s + QString::number(error.offset) + u"）"_s);
    }
    if (document.isObject())
        return document.object();
    if (document.isArray())
        return document.array();
    throw JsonDecodeError(JsonDecodeError::Kind::Syntax, {}, u"不是有效的 JSON: 内容为空"_s);
}

JsonReader JsonReader::fromValue(const QJsonValue& value, const QString& path)
{
    if (!value.isObject())
        throwTypeMismatch(value, path, u"对象"_s);
    return JsonReader(value.toObject(), path);
}

QString JsonReader::childPath(const QString& path, QStringView key)
{
    if (path.isEmpty())
        return key.toString();
    return path + u'.' + key;
}

QString JsonReader::indexPath(const QString& path, qsizetype index)
{
    return path + u'[' + QString::number(index) + u']';
}

bool JsonReader::has(QStringView key) const
{
    const auto it = m_object.constFind(key);
    return it != m_object.constEnd() && !it->isNull();
}

QJsonValue JsonReader::value(QStringView key) const
{
    const auto it = m_object.constFind(key);
    if (it == m_object.constEnd())
        throw JsonDecodeError(JsonDecodeError::Kind::KeyNotFound, pathOf(key), u"缺少键 \""_s + key + u"\""_s);
    if (it->isNull())
        throw JsonDecodeError(JsonDecodeError::Kind::ValueNotFound, pathOf(key), u"值为 null"_s);
    return *it;
}

void JsonReader::throwTypeMismatch(const QJsonValue& value, const QString& path, const QString& expected)
{
    if (value.isNull() || value.isUndefined())
        throw JsonDecodeError(JsonDecodeError::Kind::ValueNotFound, path, u"值为 null"_s);
    throw JsonDecodeError(
        JsonDecodeError::Kind::TypeMismatch, path, u"类型不符: 期望"_s + expected + u"，实际为"_s + typeName(value));
}

void JsonReader::throwDataCorrupted(const QString& path, const QString& detail)
{
    throw JsonDecodeError(JsonDecodeError::Kind::DataCorrupted, path, detail);
}

QString JsonReader::expectedArray()
{
    return u"数组"_s;
}

std::optional<qint64> JsonReader::asInteger(const QJsonValue& value) noexcept
{
    if (!value.isDouble())
        return std::nullopt;
    // Integral numbers only, and only those a 64-bit integer holds exactly.
    constexpr qint64 sentinel = std::numeric_limits<qint64>::min();
    const qint64 result = value.toInteger(sentinel);
    if (result == sentinel && value.toDouble() != static_cast<double>(sentinel))
        return std::nullopt;
    return result;
}

qint64 JsonReader::toInteger(const QJsonValue& value, const QString& path)
{
    if (const auto n = asInteger(value))
        return *n;
    if (!value.isDouble())
        throwTypeMismatch(value, path, u"整数"_s);
    throw JsonDecodeError(JsonDecodeError::Kind::TypeMismatch, path,
        u"类型不符: 期望整数，实际为 "_s + QString::number(value.toDouble(), 'g', 17));
}

bool JsonReader::toBoolean(const QJsonValue& value, const QString& path)
{
    if (!value.isBool())
        throwTypeMismatch(value, path, u"布尔值"_s);
    return value.toBool();
}

QString JsonReader::toString(const QJsonValue& value, const QString& path)
{
    if (!value.isString())
        throwTypeMismatch(value, path, u"字符串"_s);
    return value.toString();
}

// The getters below name the path only when they fail: building it for every field read
// would cost more than the reading itself.

qint64 JsonReader::integer(QStringView key) const
{
    const QJsonValue v = value(key);
    if (const auto n = asInteger(v))
        return *n;
    return toInteger(v, pathOf(key));
}

bool JsonReader::boolean(QStringView key) const
{
    const QJsonValue v = value(key);
    if (v.isBool())
        return v.toBool();
    return toBoolean(v, pathOf(key));
}

QString JsonReader::string(QStringView key) const
{
    const QJsonValue v = value(key);
    if (v.isString())
        return v.toString();
    return toString(v, pathOf(key));
}

QStringList JsonReader::stringList(QStringView key) const
{
    return arrayOf(value(key), pathOf(key), &JsonReader::toString);
}

JsonReader JsonReader::object(QStringView key) const
{
    return fromValue(value(key), pathOf(key));
}

QDateTime JsonReader::decodeDate(QStringView key) const
{
    const QString text = string(key);
    if (auto date = Iso8601::parseServerDate(text))
        return *date;
    throwDataCorrupted(pathOf(key), u"无法解析日期: "_s + text);
}

std::optional<qint64> JsonReader::optionalInteger(QStringView key) const
{
    if (!has(key))
        return std::nullopt;
    return integer(key);
}

std::optional<bool> JsonReader::optionalBoolean(QStringView key) const
{
    if (!has(key))
        return std::nullopt;
    return boolean(key);
}

std::optional<QString> JsonReader::optionalString(QStringView key) const
{
    if (!has(key))
        return std::nullopt;
    return string(key);
}

std::optional<QDateTime> JsonReader::decodeDateIfPresent(QStringView key) const noexcept
{
    const QJsonValue v = m_object.value(key);
    if (!v.isString())
        return std::nullopt;
    return Iso8601::parseServerDate(v.toString());
}
