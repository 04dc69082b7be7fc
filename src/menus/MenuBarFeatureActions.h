#pragma once

#include <QObject>

#include <functional>

/// Opens the drift-bottle window. The window's manager sits beside the menus, so the
/// composition root hands in how to open it.
class MenuBarDriftBottleActions final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MenuBarDriftBottleActions)

public:
    explicit MenuBarDriftBottleActions(std::function<void()> showWindow, QObject* parent = nullptr);

    void showDriftBottleWindow();

private:
    std::function<void()> m_showWindow;
};

/// Starts the whack-a-mole game through what the composition root hands in, then logs it.
class MenuBarGameActions final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MenuBarGameActions)

public:
    explicit MenuBarGameActions(std::function<void()> startGame, QObject* parent = nullptr);

    void startWhackAMoleGame();

private:
    std::function<void()> m_startGame;
};
