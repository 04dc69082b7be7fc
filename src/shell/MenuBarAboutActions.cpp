#include "shell/MenuBarAboutActions.h"

#include "platform/LogManager.h"

#include <QCoreApplication>
#include <QKeySequence>
#include <QMenu>

using namespace Qt::StringLiterals;

MenuBarAboutActions& MenuBarAboutActions::shared()
{
    static MenuBarAboutActions* instance = new MenuBarAboutActions;
    return *instance;
}

void MenuBarAboutActions::addAboutItems(QMenu* menu)
{
    if (!menu)
        return;
    QAction* quit = menu->addAction(u"🚪 退出"_s, this, &MenuBarAboutActions::quitApp);
    quit->setObjectName(u"quitItem"_s);
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
}

void MenuBarAboutActions::quitApp()
{
    LogManager::log(u"🚪 用户退出应用"_s, u"App"_s);
    QCoreApplication::quit();
}
