#pragma once

#include <QCursor>
#include <QPointer>
#include <QString>
#include <QWidget>

class GameCatWindow;
class LottiePlayer;

/// The content of a game cat window: the pet's idle animation at 128 × 128 under the hammer
/// cursor. A left click on it is a tap, which sets off a firework at the cat and scores it in
/// the cat's game; the view takes taps also when it shows nothing (no animation file, or one
/// that does not load).
class GameCatView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GameCatView)

public:
    static constexpr int viewSize = 128;

    /// Fills `catWindow`. `animationPath` empty: nothing is drawn.
    GameCatView(GameCatWindow* catWindow, const QString& animationPath, const QCursor& cursor);

    /// The player, or null when there is nothing to show.
    [[nodiscard]] LottiePlayer* player() const;
    /// Plays while the cat can be seen; a hidden cat draws nothing.
    void setPlaying(bool playing);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void tap();

    QPointer<GameCatWindow> m_catWindow;
    QPointer<LottiePlayer> m_animationView;
    bool m_pressed = false;
};

/// The game's hammer cursor: the "hammer.png" resource drawn at 32 × 32 with its hot spot
/// at (16, 28); the pointing hand when the image is missing or unreadable.
[[nodiscard]] QCursor loadHammerCursor(const QString& imagePath);
