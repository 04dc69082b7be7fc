#include "menus/MenuBarAboutActions.h"

#include "platform/LogManager.h"

#include <QCoreApplication>
#include <QKeySequence>
#include <QMenu>
#include <QShortcut>

using namespace Qt::StringLiterals;

void MenuBarAboutActions::addAboutItems(QMenu* menu)
{
    if (!menu)
        return;
    QAction* quit = menu->addAction(u"🚪 退出"_s, this, &MenuBarAboutActions::quitApp);
    quit->setObjectName(u"quitItem"_s);
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    // An action's shortcut only fires through the window its menu belongs to, and the
    // status menu belongs to none; a shortcut on the open menu itself makes Ctrl+Q work
    // while it is shown. It goes with the item when the menu is refilled.
    auto* shortcut = new QShortcut(quit->shortcut(), menu);
    connect(shortcut, &QShortcut::activated, quit, &QAction::trigger);
    // At once, not later: a refill adds the next one straight away, and two alike would be ambiguous.
    connect(quit, &QObject::destroyed, shortcut, [shortcut] { delete shortcut; });
}

void MenuBarAboutActions::quitApp()
{
    LogManager::log(u"🚪 用户退出应用"_s, u"App"_s);
    QCoreApplication::quit();
}
