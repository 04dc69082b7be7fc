#pragma once

#include <QObject>

class AppDelegate;
class CompositionRoot;

/// The application object: installs the delegate and queues the start-up sequence,
/// which runs once the event loop is running and has the root create the managers.
class DesktopPetApp final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DesktopPetApp)

public:
    /// The automatic update check runs this long after the second feature stage starts.
    static constexpr int updateCheckDelayMs = 5000;

    explicit DesktopPetApp(CompositionRoot& root, QObject* parent = nullptr);

    [[nodiscard]] AppDelegate* appDelegate() const { return m_appDelegate; }

    /// The start-up sequence; queued by the constructor, public so tests can drive it.
    void runStartup();

private:
    void initializeCoreManagers();
    void requestPermissions();
    void startP1Features();
    void startP2Features();
    void showWelcomeNotification();

    CompositionRoot& m_root;
    AppDelegate* m_appDelegate;
};
