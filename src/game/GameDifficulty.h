#pragma once

#include <QMetaType>
#include <QString>

#include <array>
#include <optional>

/// How hard a whack-a-mole game is: how many cats pop up and how long each stays.
enum class GameDifficulty { easy, medium, hard };

inline constexpr std::array<GameDifficulty, 3> allGameDifficulties { GameDifficulty::easy, GameDifficulty::medium,
    GameDifficulty::hard };

/// The text the difficulty picker shows: "简单", "中等", "困难".
[[nodiscard]] QString rawValue(GameDifficulty difficulty);
/// Exactly one of the three texts; anything else yields no value.
[[nodiscard]] std::optional<GameDifficulty> gameDifficultyFromRaw(const QString& raw);
/// Cat windows in one game.
[[nodiscard]] int catCount(GameDifficulty difficulty);
/// Seconds a cat stays up each time it shows.
[[nodiscard]] double visibleDuration(GameDifficulty difficulty);

Q_DECLARE_METATYPE(GameDifficulty)
