#pragma once

#include <QObject>

class QMenu;

/// The status menu's closing items and their actions: quitting the program.
class MenuBarAboutActions final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MenuBarAboutActions)

public:
    static MenuBarAboutActions& shared();

    /// Appends the quit item (Ctrl+Q while the menu is open); nothing for a null menu.
    void addAboutItems(QMenu* menu);

    /// Logs the user's choice, then ends the program.
    void quitApp();

private:
    MenuBarAboutActions() = default;
};
