#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

/// Every failure of a server call, with the user-readable text the screens show unchanged.
class APIError final : public std::exception
{
public:
    enum class Kind {
        networkError, ///< transport fault: no connection, time-out, dropped connection
        serverError, ///< the server's message, or the whole reply text of an unexpected status
        decodingError, ///< the reply is not the JSON the call expects
        invalidURL,
        invalidResponse,
        unauthorized, ///< HTTP 401
        notFound, ///< HTTP 404, whatever the request
        timeout, ///< HTTP 408 only; a transport time-out is a networkError
        offlineMode, ///< raised by the account and the drift-bottle managers, never by the client
    };

    explicit APIError(Kind kind, QString detail = {});

    [[nodiscard]] static APIError network(QString underlyingDescription)
    {
        return APIError(Kind::networkError, std::move(underlyingDescription));
    }
    [[nodiscard]] static APIError server(QString message) { return APIError(Kind::serverError, std::move(message)); }
    [[nodiscard]] static APIError decoding(QString description)
    {
        return APIError(Kind::decodingError, std::move(description));
    }

    [[nodiscard]] Kind kind() const { return m_kind; }
    /// The payload: the underlying description, the server's message or the decoding fault.
    [[nodiscard]] const QString& detail() const { return m_detail; }

    /// The text shown to the user, e.g. "服务器错误: 内容包含敏感词".
    [[nodiscard]] QString errorDescription() const;
    /// The case and its payload, e.g. serverError("…"), for diagnostic lines.
    [[nodiscard]] QString debugDescription() const;

    [[nodiscard]] const char* what() const noexcept override { return m_utf8.constData(); }

    /// The user-readable text of any error a server call may end with.
    [[nodiscard]] static QString describe(const std::exception& error);
    /// The diagnostic form of any error a server call may end with.
    [[nodiscard]] static QString debugDescribe(const std::exception& error);
    /// The short type name: "APIError" for the client's own errors.
    [[nodiscard]] static QString typeName(const std::exception& error);

private:
    Kind m_kind;
    QString m_detail;
    QByteArray m_utf8;
};
