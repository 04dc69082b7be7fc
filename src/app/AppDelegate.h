#pragma once

#include <QObject>

class CompositionRoot;
class FloatingWindow;

/// Answers the application's lifecycle moments: activation, the last window closing,
/// a reopen request from a second launch, and termination. Only logs, keeps the
/// program running when windows close, and brings the pet back to the front.
class AppDelegate final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AppDelegate)

public:
    /// The pet window is the one the root's window manager shows, once the root made it.
    explicit AppDelegate(const CompositionRoot& root, QObject* parent = nullptr);

    void applicationDidBecomeActive();
    void applicationWillTerminate();
    /// Always false: closing windows never ends the program.
    bool applicationShouldTerminateAfterLastWindowClosed();
    bool applicationShouldHandleReopen(bool hasVisibleWindows);

private:
    [[nodiscard]] FloatingWindow* petWindow() const;

    const CompositionRoot& m_root;
};
