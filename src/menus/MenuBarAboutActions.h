#pragma once

#include "platform/SharedInstance.h"

#include <QObject>

class QMenu;

/// The status menu's closing items and their actions: quitting the program.
class MenuBarAboutActions final : public QObject, public SharedInstance<MenuBarAboutActions>
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MenuBarAboutActions)

public:
    MenuBarAboutActions() = default;

    /// Appends the quit item (Ctrl+Q while the menu is open); nothing for a null menu.
    void addAboutItems(QMenu* menu);

    /// Logs the user's choice, then ends the program.
    void quitApp();
};
