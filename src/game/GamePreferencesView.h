#pragma once

#include <QWidget>

class QAbstractButton;
class QLabel;
class QSlider;
class SegmentedPicker;
class WhackAMoleGameManager;

/// The game page of the preferences: the difficulty with what it means, the length of a
/// game, and the rules. It changes the game directly and starts none; the difficulty
/// lasts until the program ends, the length is stored by the game itself.
class GamePreferencesView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GamePreferencesView)

public:
    static constexpr int sliderStep = 10;
    static constexpr int minimumDuration = 10;
    static constexpr int maximumDuration = 60;

    explicit GamePreferencesView(WhackAMoleGameManager& gameManager, QWidget* parent = nullptr);

    /// The segment of the difficulty picker with this title ("简单", "中等", "困难").
    [[nodiscard]] QAbstractButton* difficultyButton(const QString& title) const;
    [[nodiscard]] QSlider* durationSlider() const { return m_slider; }
    [[nodiscard]] QLabel* catCountLabel() const { return m_catCount; }
    [[nodiscard]] QLabel* visibleDurationLabel() const { return m_visibleDuration; }
    [[nodiscard]] QLabel* durationLabel() const { return m_duration; }

private:
    void showDifficulty();
    void showDuration();

    WhackAMoleGameManager& m_gameManager;
    SegmentedPicker* m_difficulties;
    QLabel* m_catCount;
    QLabel* m_visibleDuration;
    QSlider* m_slider;
    QLabel* m_duration;
};
