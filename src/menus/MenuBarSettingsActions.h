#pragma once

#include <QObject>

class LogWindowManager;

/// The settings topic's actions; opening the preferences goes through the status menu itself.
class MenuBarSettingsActions final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MenuBarSettingsActions)

public:
    explicit MenuBarSettingsActions(LogWindowManager& logWindow, QObject* parent = nullptr);

    /// Opens the debug-log window (or brings it forward), then logs that it did.
    void showDebugLogs();

private:
    LogWindowManager& m_logWindow;
};
