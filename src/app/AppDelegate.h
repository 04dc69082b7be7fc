#pragma once

#include <QObject>

/// Answers the application's lifecycle moments: activation, the last window closing,
/// a reopen request from a second launch, and termination. Only logs, keeps the
/// program running when windows close, and brings the pet back to the front.
class AppDelegate final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AppDelegate)

public:
    explicit AppDelegate(QObject* parent = nullptr);

    void applicationDidBecomeActive();
    void applicationWillTerminate();
    /// Always false: closing windows never ends the program.
    bool applicationShouldTerminateAfterLastWindowClosed();
    bool applicationShouldHandleReopen(bool hasVisibleWindows);
};
