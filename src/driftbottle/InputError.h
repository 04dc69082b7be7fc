#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

/// A request refused on this machine before anything was sent, such as an empty bottle.
/// Its text is what the screens show, unchanged.
class InputError final : public std::exception
{
public:
    static constexpr int code = 400;

    InputError(QString domain, QString message)
        : m_domain(std::move(domain))
        , m_message(std::move(message))
        , m_utf8(m_message.toUtf8())
    {
    }

    /// The area that refused it: "DriftBottle" or "Conversation".
    [[nodiscard]] const QString& domain() const { return m_domain; }
    [[nodiscard]] const QString& message() const { return m_message; }
    [[nodiscard]] const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_domain;
    QString m_message;
    QByteArray m_utf8;
};
