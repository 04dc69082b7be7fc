#pragma once

#include <QColor>
#include <QPointer>
#include <QWidget>

class QLabel;
class WhackAMoleGameManager;

/// The board at the top right of the screen during a game: the seconds left (red for the
/// last ten) and the score, following the game as it runs.
class GameScoreBoardView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GameScoreBoardView)

public:
    /// Seconds left at or below which the time shows red.
    static constexpr int hurryThreshold = 10;
    /// The board is the window colour at this opacity over the desktop.
    static constexpr float boardOpacity = 0.95F;

    explicit GameScoreBoardView(WhackAMoleGameManager& gameManager, QWidget* parent = nullptr);

    /// The game the board follows; null once it is gone.
    [[nodiscard]] WhackAMoleGameManager* gameManager() const { return m_gameManager; }

    [[nodiscard]] QLabel* timeLabel() const { return m_time; }
    [[nodiscard]] QLabel* scoreLabel() const { return m_score; }

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void showTime(int seconds);
    void showScore(int score);
    /// The time (red when short) and the score (blue), readable on the board.
    void showColours();
    [[nodiscard]] QColor boardColour() const;
    /// `wanted` made readable on the board over any desktop.
    [[nodiscard]] QColor readableOnBoard(const QColor& wanted) const;

    QPointer<WhackAMoleGameManager> m_gameManager;
    int m_seconds = 0;
    QLabel* m_time;
    QLabel* m_score;
};
