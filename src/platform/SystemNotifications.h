#pragma once

#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

/// System notifications through the desktop's notification service
/// (org.freedesktop.Notifications on the session bus). Every call is asynchronous: the
/// handlers run later on the main thread, never inside the call.
class SystemNotifications : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SystemNotifications)

public:
    enum class Urgency { low = 0, normal = 1, critical = 2 };
    enum class Sound { none, standard, critical };

    struct Request
    {
        /// Notifications with the same identifier replace each other on screen.
        QString identifier;
        QString title;
        /// Plain text; escaped here when the service reads markup.
        QString body;
        Urgency urgency = Urgency::normal;
        Sound sound = Sound::standard;
    };

    /// `granted` is true when the service answered; otherwise `error` says what failed.
    using AuthorizationHandler = std::function<void(bool granted, const QString& error)>;
    /// `error` is empty on success.
    using CompletionHandler = std::function<void(const QString& error)>;

    explicit SystemNotifications(const QDBusConnection& bus = QDBusConnection::sessionBus(), QObject* parent = nullptr);
    ~SystemNotifications() override = default;

    virtual void requestAuthorization(AuthorizationHandler handler);
    virtual void add(const Request& request, CompletionHandler completion = {});

    /// `<`, `>` and `&` as entities, so text is never read as markup.
    [[nodiscard]] static QString escapeMarkup(const QString& text);

private Q_SLOTS:
    void onNotificationClosed(uint id, uint reason);

private:
    [[nodiscard]] bool bodyNeedsEscaping() const;
    void rememberCapabilities(const QStringList& capabilities);

    QDBusConnection m_bus;
    std::optional<QStringList> m_capabilities;
    bool m_watchingClosed = false;
    /// Identifier -> the service's id of the notification on screen, for replacement.
    QHash<QString, uint> m_shownIds;
};
