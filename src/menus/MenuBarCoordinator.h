#pragma once

#include <QMenu>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QSystemTrayIcon>

#include <optional>

class DoNotDisturbManager;
class MenuBarAboutActions;
class MenuBarSettingsActions;
class Resources;
class UserManager;

/// The program's status-bar item (a tray icon) and its menu: a disabled header naming the
/// product and the signed-in user, then the program's entries and quit. The menu is
/// rebuilt on request and refreshed each time it opens, so the header follows the user.
class MenuBarCoordinator final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MenuBarCoordinator)

public:
    /// Installs the status item at once, and rebuilds the menu whenever the account changes
    /// or do-not-disturb asks for it.
    MenuBarCoordinator(UserManager& users, DoNotDisturbManager& doNotDisturb, MenuBarSettingsActions& settings,
        MenuBarAboutActions& about, Resources& resources, QObject* parent = nullptr);
    /// The same, for do-not-disturb made after the menu: whoever makes it connects its
    /// menuRebuildRequested() to rebuildMenu().
    MenuBarCoordinator(UserManager& users, MenuBarSettingsActions& settings, MenuBarAboutActions& about,
        Resources& resources, QObject* parent = nullptr);
    ~MenuBarCoordinator() override;

    [[nodiscard]] QSystemTrayIcon* statusItem() const { return m_statusItem; }
    [[nodiscard]] QMenu* menu() const { return m_menu; }

    [[nodiscard]] bool isMenuBarVisible() const { return m_isMenuBarVisible; }
    /// Announces the value on every assignment, also when it is unchanged.
    void setMenuBarVisible(bool visible);

    /// Creates the status item with its icon and menu; nothing when it exists already.
    void setupMenuBar();
    void removeMenuBar();
    void updateMenuBarIcon();
    /// Builds a new menu (the old one is deleted) and gives it to the status item.
    void createMenu();
    /// What sign-in, sign-out and do-not-disturb ask for: createMenu() then updateMenuBarIcon().
    void rebuildMenu();

    /// The header's text: "Tamsel", or "Tamsel（nickname）" while a user is signed in, the nickname shown literally.
    [[nodiscard]] static QString headerTitle(const std::optional<QString>& nickname);

Q_SIGNALS:
    void isMenuBarVisibleChanged(bool visible);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillMenu(QMenu* menu);
    void showQuietHeaderInk(QMenu* menu);
    [[nodiscard]] QPixmap loadIcon() const;

    UserManager& m_users;
    MenuBarSettingsActions& m_settings;
    MenuBarAboutActions& m_about;
    Resources& m_resources;
    QPointer<QSystemTrayIcon> m_statusItem;
    QPointer<QMenu> m_menu;
    bool m_isMenuBarVisible = true;
    bool m_reportedNoTray = false;
};
