#include "menus/MenuBarFeatureActions.h"

#include "platform/LogManager.h"

using namespace Qt::StringLiterals;

MenuBarDriftBottleActions::MenuBarDriftBottleActions(std::function<void()> showWindow, QObject* parent)
    : QObject(parent)
    , m_showWindow(std::move(showWindow))
{
}

void MenuBarDriftBottleActions::showDriftBottleWindow()
{
    if (m_showWindow)
        m_showWindow();
}

MenuBarGameActions::MenuBarGameActions(std::function<void()> startGame, QObject* parent)
    : QObject(parent)
    , m_startGame(std::move(startGame))
{
}

void MenuBarGameActions::startWhackAMoleGame()
{
    if (!m_startGame)
        return;
    m_startGame();
    LogManager::log(u"🎮 启动打猫猫游戏"_s, u"Game"_s);
}
