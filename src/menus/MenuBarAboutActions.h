#pragma once

#include <QObject>
#include <QString>

class Clock;
class NotificationManager;
class QAction;
class QKeySequence;
class QMenu;

/// The status menu's closing items and their actions: the update check and quitting; and
/// the about box, which no menu offers.
class MenuBarAboutActions final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MenuBarAboutActions)

public:
    /// The developer's address, which the about box shows and its second button copies.
    static inline const QString contactIdentifier = QStringLiteral("tamsel-dev@example.org");

    /// A null clock is the system's.
    explicit MenuBarAboutActions(NotificationManager& notifications, Clock* clock = nullptr, QObject* parent = nullptr);
    /// The notification manager, made after the status menu at start-up, comes later through
    /// setNotificationManager(); until then the copy action says nothing.
    explicit MenuBarAboutActions(Clock* clock = nullptr, QObject* parent = nullptr);
    void setNotificationManager(NotificationManager& notifications);

    /// Appends the update check (Ctrl+U) and the quit item (Ctrl+Q), both working while
    /// the menu is open; nothing for a null menu.
    void addAboutItems(QMenu* menu);

    /// Logs the user's request, then asks for a manual update check.
    void checkForUpdates();

    /// Logs the user's choice, then ends the program.
    void quitApp();

    /// The about box; its second button puts the developer's address on the clipboard and
    /// says so in a notification.
    void showAbout();
    /// The about box's text, line by line.
    [[nodiscard]] static QString aboutText();

Q_SIGNALS:
    /// Whoever owns the update checker runs a manual check.
    void updateCheckRequested();

private:
    void addMenuShortcut(QMenu* menu, QAction* action, const QKeySequence& keys);
    void copyContact();

    NotificationManager* m_notifications = nullptr;
    Clock& m_clock;
};
