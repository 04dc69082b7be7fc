#pragma once

#include <QObject>

class AppDelegate;

/// The application object: installs the delegate and queues the start-up sequence,
/// which runs once the event loop is running.
class DesktopPetApp final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DesktopPetApp)

public:
    /// The automatic update check runs this long after the second feature stage starts.
    static constexpr int updateCheckDelayMs = 5000;

    explicit DesktopPetApp(QObject* parent = nullptr);
    /// Frees the managers the start-up made, in reverse order.
    ~DesktopPetApp() override;

    [[nodiscard]] AppDelegate* delegate() const { return m_delegate; }

    /// The start-up sequence; queued by the constructor, public so tests can drive it.
    static void runStartup();

private:
    static void initializeCoreManagers();
    static void createDriftBottleManagers();
    static void createFriendManagers();
    static void requestPermissions();
    static void startP1Features();
    static void startP2Features();
    static void showWelcomeNotification();
    static void createPreferences();
    static void createUpdates();

    AppDelegate* m_delegate;
};
