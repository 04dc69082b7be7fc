#pragma once

#include "game/GameDifficulty.h"
#include "platform/TimerSource.h"

#include <QList>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QSize>
#include <QString>

#include <functional>
#include <map>
#include <memory>

class AutoBehaviorManager;
class Defaults;
class FloatingWindow;
class GameCatWindow;
class LottieAnimationManager;
class OpacityManager;
class PetWindowHost;
class RandomSource;
class Resources;
class Screens;

/// The whack-a-mole game: cat windows pop up at random places on the main screen for a
/// few seconds each, and every click on one scores a point until the countdown runs out.
///
/// While a game runs the pet is dimmed to almost nothing and lets clicks through, its hover
/// opacity is left alone and its automatic behaviour is paused; the end of the game gives
/// all of them back (the behaviour only when its switch is on) and shows the score in an
/// alert that offers another round. The difficulty lives in memory only; the game's length
/// is stored.
class WhackAMoleGameManager final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WhackAMoleGameManager)

public:
    static inline const QString gameDurationKey = QStringLiteral("WhackAMoleGameDuration");
    static constexpr int defaultGameDuration = 60;
    static constexpr int catSize = 128;
    static constexpr double dimmedPetOpacity = 0.05;
    static constexpr int countdownMs = 1000;
    /// A hit cat shows again this long after it has faded out.
    static constexpr int reshowDelayMs = 1000;
    /// The end alert follows the end of the countdown after this pause.
    static constexpr int gameOverDelayMs = 300;
    /// After the cats go, the pet is raised again once their fades are over.
    static constexpr int petRaiseDelayMs = 600;
    static constexpr int fireworkShownMs = 1000;
    static constexpr int fireworkFadeMs = 500;
    static constexpr QSize scoreBoardSize { 200, 80 };

    /// Reads the stored game length (60 s when none is stored) and writes it back.
    WhackAMoleGameManager(Defaults& defaults, Screens& screens, Resources& resources,
        LottieAnimationManager& animations, OpacityManager& opacity, AutoBehaviorManager& behavior, PetWindowHost& pet,
        TimerSource& timers, RandomSource& random, QObject* parent = nullptr);
    /// Takes down whatever a game left on screen.
    ~WhackAMoleGameManager() override;

    [[nodiscard]] bool isGameActive() const { return m_isGameActive; }
    [[nodiscard]] int score() const { return m_score; }
    [[nodiscard]] int timeRemaining() const { return m_timeRemaining; }
    [[nodiscard]] GameDifficulty difficulty() const { return m_difficulty; }
    /// Takes effect from the next game; a running game's cats take the new visible time
    /// from their next showing on.
    void setDifficulty(GameDifficulty difficulty);
    [[nodiscard]] int gameDuration() const { return m_gameDuration; }
    /// Stores the length at once; it applies from the next game.
    void setGameDuration(int seconds);

    /// Starts a game, first tearing down one that runs. Returns once the windows and the
    /// countdown are set up.
    void startGame();
    /// Counts a tap on one of the game's cats and hides it; it shows again a second after.
    void catClicked(GameCatWindow* cat);
    /// A short burst of fireworks just above a point of the screen (bottom-left model).
    void showFireworkAt(QPointF position);

    [[nodiscard]] QList<GameCatWindow*> gameWindows() const;
    [[nodiscard]] FloatingWindow* scoreWindow() const;
    [[nodiscard]] QList<FloatingWindow*> fireworkWindows() const;
    [[nodiscard]] double savedMainWindowOpacity() const { return m_savedMainWindowOpacity; }

    /// What the end alert says about a score.
    [[nodiscard]] static QString getScoreComment(int score);

Q_SIGNALS:
    void isGameActiveChanged(bool active);
    void scoreChanged(int score);
    void timeRemainingChanged(int seconds);
    void difficultyChanged(GameDifficulty difficulty);
    void gameDurationChanged(int seconds);

private:
    void setScore(int score);
    void setTimeRemaining(int seconds);
    void setGameActive(bool active);
    void cleanupGame();
    void endGame();
    void createGameCats();
    void startCatAppearanceCycle(GameCatWindow* cat);
    void dismissAllGameCats();
    void startGameTimer();
    void showScoreBoard();
    void closeScoreBoard();
    void showGameOverScreen();
    void restorePetOpacity(const QString& message);
    void own(QWidget* window);
    [[nodiscard]] bool isInGame(const GameCatWindow* cat) const;
    /// Runs `step` after `ms` unless the manager is gone by then.
    void after(int ms, std::function<void()> step);

    Defaults& m_defaults;
    Screens& m_screens;
    Resources& m_resources;
    LottieAnimationManager& m_animations;
    OpacityManager& m_opacity;
    AutoBehaviorManager& m_behavior;
    PetWindowHost& m_pet;
    TimerSource& m_timers;
    RandomSource& m_random;

    bool m_isGameActive = false;
    /// The automatic behaviour ran when the game began: only then does the game's end start it
    /// again. Do-not-disturb or the message bubbles may hold it still, and still it must stay.
    bool m_resumeBehavior = false;
    int m_score = 0;
    int m_timeRemaining = defaultGameDuration;
    GameDifficulty m_difficulty = GameDifficulty::medium;
    int m_gameDuration = defaultGameDuration;
    QList<QPointer<GameCatWindow>> m_gameWindows;
    /// Every window the game made that still exists, closing ones included, so that none
    /// outlives the manager.
    QList<QPointer<QWidget>> m_ownedWindows;
    std::unique_ptr<TimerSource::Timer> m_gameTimer;
    QPointer<FloatingWindow> m_scoreWindow;
    QList<QPointer<FloatingWindow>> m_fireworkWindows;
    double m_savedMainWindowOpacity = 1.0;
    std::map<quint64, std::unique_ptr<TimerSource::Timer>> m_pending;
    quint64 m_nextPending = 0;
};
