#pragma once

#include "platform/FloatingWindow.h"

#include <QCursor>
#include <QPointF>
#include <QPointer>
#include <QSizeF>
#include <QString>

#include <functional>

class GameCatView;
class RandomSource;
class WhackAMoleGameManager;

/// One whack-a-mole target: a 128 × 128 floating window that jumps to random places on the
/// main screen, fades in, and fades out again when its time is up or it is hit.
///
/// A cat not yet shown, and one that has faded out completely, lets the pointer through: an
/// invisible cat neither scores nor swallows clicks meant for the windows below. While it fades, in or out, it
/// still takes taps.
class GameCatWindow final : public FloatingWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GameCatWindow)

public:
    static constexpr int fadeMs = 200;
    static constexpr int closeFadeMs = 300;
    /// A closed cat's window is destroyed this long after its fade-out.
    static constexpr int closeDelayMs = 300;

    /// Builds the window at `position` (bottom-left model) with `size`, fully transparent and
    /// letting the pointer through; it is not shown yet. Taps on the cat go to `gameManager`
    /// for as long as that exists.
    GameCatWindow(QPointF position, QSizeF size, WhackAMoleGameManager* gameManager, const QString& animationPath,
        const QCursor& cursor, Screens& screens, RandomSource& random);

    /// The game that made the cat, or null once it is gone.
    [[nodiscard]] WhackAMoleGameManager* gameManager() const;
    /// The cat is up: set when it starts to fade in, cleared when a hide or close begins.
    [[nodiscard]] bool isCatVisible() const { return m_isCatVisible; }
    [[nodiscard]] GameCatView* view() const { return m_view; }

    /// Jumps to a random place in the main screen's visible area and fades in. Without a
    /// main screen nothing happens.
    void showAtRandomPosition();
    /// Fades out, then runs `completion`; at once when the cat is not up.
    void hideTemporarily(std::function<void()> completion);
    /// Fades out, then takes the window off the screen and destroys it.
    void closeCat();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<WhackAMoleGameManager> m_gameManager;
    Screens& m_screens;
    RandomSource& m_random;
    GameCatView* m_view;
    bool m_isCatVisible = false;
};
