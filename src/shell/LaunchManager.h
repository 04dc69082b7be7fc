#pragma once

#include <QObject>
#include <QString>

class LoginItem;

/// Launch at login: registers and unregisters the program's autostart entry and mirrors
/// whether it is registered. A failed change is explained in an alert that offers to open
/// the autostart folder.
class LaunchManager final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LaunchManager)

public:
    /// Reads the current registration.
    explicit LaunchManager(LoginItem& loginItem, QObject* parent = nullptr);

    [[nodiscard]] bool isAutoLaunchEnabled() const { return m_isAutoLaunchEnabled; }

    /// Registers unless registered already, then reads the registration back.
    void enableAutoLaunch();
    /// Unregisters when registered, then reads the registration back.
    void disableAutoLaunch();

    /// The failure alert's informative text for an error description.
    [[nodiscard]] static QString failureText(const QString& errorDescription);

Q_SIGNALS:
    void isAutoLaunchEnabledChanged(bool enabled);

private:
    void enableAutoLaunchModern();
    void disableAutoLaunchModern();
    void handleAutoLaunchError(const QString& errorDescription);
    void refreshStatus();

    LoginItem& m_loginItem;
    bool m_isAutoLaunchEnabled = false;
};
