#pragma once

#include <QDBusConnection>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

/// A stand-in for the desktop's notification daemon: owns org.freedesktop.Notifications on
/// its own connection (so calls really cross the bus) and records every Notify call.
class FakeNotificationService final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Call
    {
        QString appName;
        uint replacesId = 0;
        QString summary;
        QString body;
        QVariantMap hints;
        int expireTimeout = 0;
    };

    explicit FakeNotificationService(const QDBusConnection& bus,
        QStringList capabilities = { QStringLiteral("body"), QStringLiteral("body-markup") });
    ~FakeNotificationService() override;

    /// False when the bus is missing or the name is taken.
    [[nodiscard]] bool isRegistered() const { return m_registered; }
    [[nodiscard]] const QList<Call>& calls() const { return m_calls; }
    /// Announces that the daemon closed notification `id`.
    void closeNotification(uint id);

public Q_SLOTS:
    QStringList GetCapabilities();
    uint Notify(const QString& appName, uint replacesId, const QString& appIcon, const QString& summary,
        const QString& body, const QStringList& actions, const QVariantMap& hints, int expireTimeout);
    void CloseNotification(uint id);
    QString GetServerInformation(QString& vendor, QString& version, QString& specVersion);

private:
    QDBusConnection m_bus;
    QStringList m_capabilities;
    QList<Call> m_calls;
    uint m_nextId = 1;
    bool m_registered = false;
};
