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
    QAction* update = menu->addAction(u"🔄 检查更新"_s, this, &MenuBarAboutActions::checkForUpdates);
    update->setObjectName(u"checkForUpdatesItem"_s);
    addMenuShortcut(menu, update, QKeySequence(Qt::CTRL | Qt::Key_U));
    menu->addSeparator();
    QAction* quit = menu->addAction(u"🚪 退出"_s, this, &MenuBarAboutActions::quitApp);
    quit->setObjectName(u"quitItem"_s);
    addMenuShortcut(menu, quit, QKeySequence(Qt::CTRL | Qt::Key_Q));
}

void MenuBarAboutActions::addMenuShortcut(QMenu* menu, QAction* action, const QKeySequence& keys)
{
    action->setShortcut(keys);
    // An action's shortcut only fires through the window its menu belongs to, and the
    // status menu belongs to none; a shortcut on the open menu itself makes the keys work
    // while it is shown. It goes with the item when the menu is refilled.
    auto* shortcut = new QShortcut(keys, menu);
    connect(shortcut, &QShortcut::activated, action, &QAction::trigger);
    // At once, not later: a refill adds the next one straight away, and two alike would be ambiguous.
    connect(action, &QObject::destroyed, shortcut, [shortcut] { delete shortcut; });
}

void MenuBarAboutActions::checkForUpdates()
{
    LogManager::log(u"🔄 用户手动检查更新"_s, u"Update"_s);
    Q_EMIT updateCheckRequested();
}

void MenuBarAboutActions::quitApp()
{
    LogManager::log(u"🚪 用户退出应用"_s, u"App"_s);
    QCoreApplication::quit();
}
