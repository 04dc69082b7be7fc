#pragma once

#include <QObject>

#include <functional>

class LogWindowManager;

/// The settings topic's actions: the preferences, which the status menu offers, and the
/// debug-log window, which no menu offers. The preferences window sits beside the menus, so
/// the composition root hands in how to open it.
class MenuBarSettingsActions final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MenuBarSettingsActions)

public:
    MenuBarSettingsActions(
        LogWindowManager& logWindow, std::function<void()> showPreferencesWindow, QObject* parent = nullptr);

    /// Opens the preferences on their first tab (or brings them forward), then logs that it did.
    void showPreferences();
    /// Opens the debug-log window (or brings it forward), then logs that it did.
    void showDebugLogs();

private:
    LogWindowManager& m_logWindow;
    std::function<void()> m_showPreferencesWindow;
};
