#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>

#include <exception>
#include <optional>
#include <type_traits>
#include <utility>

/// Why a JSON text could not be read as the record asked for, and where.
class JsonDecodeError final : public std::exception
{
public:
    enum class Kind {
        Syntax, ///< not JSON at all
        KeyNotFound, ///< a required key is absent
        ValueNotFound, ///< a required key holds null
        TypeMismatch, ///< a value of the wrong JSON type (or an integer out of range)
        DataCorrupted, ///< the right type with an unusable value (an unknown case, an unreadable date)
    };

    JsonDecodeError(Kind kind, QString path, QString detail);

    [[nodiscard]] Kind kind() const { return m_kind; }
    /// Dotted path of the offending value, "data[3].created_at"; empty for the whole text.
    [[nodiscard]] const QString& path() const { return m_path; }
    [[nodiscard]] const QString& detail() const { return m_detail; }
    /// One line for people and logs: the detail followed by the location.
    [[nodiscard]] const QString& description() const { return m_description; }
    [[nodiscard]] const char* what() const noexcept override { return m_utf8.constData(); }

private:
    Kind m_kind;
    QString m_path;
    QString m_detail;
    QString m_description;
    QByteArray m_utf8;
};

/// Reads one JSON object field by field with the server contract's rules: a required key
/// must be present, non-null and of its type; an optional key may be absent or null but
/// not of another type; keys nobody asks for are ignored. Every failure throws a
/// JsonDecodeError naming the path of the value.
class JsonReader
{
public:
    explicit JsonReader(QJsonObject object, QString path = {});

    /// Parses a whole reply or stored text; throws Syntax for anything that is not JSON.
    [[nodiscard]] static QJsonValue parse(const QByteArray& bytes);
    /// A reader over `value`, which must be an object.
    [[nodiscard]] static JsonReader fromValue(const QJsonValue& value, const QString& path);

    [[nodiscard]] static QString childPath(const QString& path, QStringView key);
    [[nodiscard]] static QString indexPath(const QString& path, qsizetype index);

    [[nodiscard]] const QJsonObject& json() const { return m_object; }
    [[nodiscard]] const QString& path() const { return m_path; }
    [[nodiscard]] QString pathOf(QStringView key) const { return childPath(m_path, key); }
    /// Present and not null.
    [[nodiscard]] bool has(QStringView key) const;

    // Required values.
    [[nodiscard]] QJsonValue value(QStringView key) const;
    [[nodiscard]] qint64 integer(QStringView key) const;
    [[nodiscard]] bool boolean(QStringView key) const;
    [[nodiscard]] QString string(QStringView key) const;
    [[nodiscard]] QStringList stringList(QStringView key) const;
    [[nodiscard]] JsonReader object(QStringView key) const;
    /// A server date: the internet date-time form, then the two fallback forms; an
    /// unreadable text fails as DataCorrupted with "无法解析日期: " and the text.
    [[nodiscard]] QDateTime decodeDate(QStringView key) const;

    /// A required array of objects, each decoded by `decode(const JsonReader&)`.
    template<typename Decode>
    [[nodiscard]] auto objectList(QStringView key, Decode&& decode) const
    {
        using T = std::invoke_result_t<Decode, const JsonReader&>;
        return arrayOf(value(key), pathOf(key),
            [&](const QJsonValue& v, const QString& p) -> T { return decode(fromValue(v, p)); });
    }

    // Optional values: absent or null gives nothing; another type still fails.
    [[nodiscard]] std::optional<qint64> optionalInteger(QStringView key) const;
    [[nodiscard]] std::optional<bool> optionalBoolean(QStringView key) const;
    [[nodiscard]] std::optional<QString> optionalString(QStringView key) const;

    /// A date that never fails: absent, null, not a string or unreadable gives nothing.
    [[nodiscard]] std::optional<QDateTime> decodeDateIfPresent(QStringView key) const noexcept;

    /// Runs `read` and turns any decoding failure into nothing: for the fields whose rule
    /// is "any failure gives none".
    template<typename Read>
    [[nodiscard]] static auto lenient(Read&& read) noexcept -> std::optional<std::remove_cvref_t<decltype(*read())>>
    {
        try {
            return read();
        } catch (const JsonDecodeError&) {
            return std::nullopt;
        }
    }

    /// The value as an integer when it is an integral number a 64-bit integer holds.
    [[nodiscard]] static std::optional<qint64> asInteger(const QJsonValue& value) noexcept;

    // The same rules for a bare value (array elements, envelope payloads).
    [[nodiscard]] static qint64 toInteger(const QJsonValue& value, const QString& path);
    [[nodiscard]] static bool toBoolean(const QJsonValue& value, const QString& path);
    [[nodiscard]] static QString toString(const QJsonValue& value, const QString& path);

    /// Every element of a JSON array through `decode(const QJsonValue&, const QString& path)`.
    template<typename Decode>
    [[nodiscard]] static auto arrayOf(const QJsonValue& value, const QString& path, Decode&& decode)
    {
        using T = std::invoke_result_t<Decode, const QJsonValue&, const QString&>;
        if (!value.isArray())
            throwTypeMismatch(value, path, expectedArray());
        const QJsonArray array = value.toArray();
        QList<T> out;
        out.reserve(array.size());
        for (qsizetype i = 0; i < array.size(); ++i)
            out.append(decode(array.at(i), indexPath(path, i)));
        return out;
    }

    [[noreturn]] static void throwTypeMismatch(const QJsonValue& value, const QString& path, const QString& expected);
    [[noreturn]] static void throwDataCorrupted(const QString& path, const QString& detail);

private:
    [[nodiscard]] static QString expectedArray();

    QJsonObject m_object;
    QString m_path;
};
