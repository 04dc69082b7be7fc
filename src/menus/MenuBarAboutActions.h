#pragma once

#include "platform/SharedInstance.h"

#include <QObject>

class QAction;
class QKeySequence;
class QMenu;

/// The status menu's closing items and their actions: quitting the program.
class MenuBarAboutActions final : public QObject, public SharedInstance<MenuBarAboutActions>
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MenuBarAboutActions)

public:
    MenuBarAboutActions() = default;

    /// Appends the update check (Ctrl+U) and the quit item (Ctrl+Q), both working while
    /// the menu is open; nothing for a null menu.
    void addAboutItems(QMenu* menu);

    /// Logs the user's request, then asks for a manual update check.
    void checkForUpdates();

    /// Logs the user's choice, then ends the program.
    void quitApp();

Q_SIGNALS:
    /// Whoever owns the update checker runs a manual check.
    void updateCheckRequested();

private:
    void addMenuShortcut(QMenu* menu, QAction* action, const QKeySequence& keys);
};
