#pragma once

#include <QObject>

class AutoBehaviorManager;
class DoNotDisturbManager;
class LaunchManager;
class MenuBarCoordinator;

/// Switches for do-not-disturb, the automatic behaviours and launch at login. Each rebuilds
/// the status menu after its change and logs the setting as it now reads.
class MenuBarToggleActions final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MenuBarToggleActions)

public:
    MenuBarToggleActions(AutoBehaviorManager& autoBehaviorManager, LaunchManager& launchManager,
        DoNotDisturbManager& doNotDisturbManager, MenuBarCoordinator& statusMenu, QObject* parent = nullptr);

    void toggleDoNotDisturb();
    void toggleAutoBehavior();
    void toggleAutoLaunch();

private:
    void finish(const QString& label, bool on);

    AutoBehaviorManager& m_autoBehaviorManager;
    LaunchManager& m_launchManager;
    DoNotDisturbManager& m_doNotDisturbManager;
    MenuBarCoordinator& m_statusMenu;
};
