#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

/// A message bus of the test's own, started from the system's dbus-daemon with no
/// activatable services: tests running side by side never meet on it, and no real
/// notification daemon is started behind their back.
class PrivateBus final
{
public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    [[nodiscard]] bool isRunning() const { return !m_address.isEmpty(); }
    /// A new connection to the bus under `name` (each party needs its own).
    [[nodiscard]] QDBusConnection connect(const QString& name);

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
    QStringList m_connections;
};
