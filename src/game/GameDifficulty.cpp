#include "game/GameDifficulty.h"

#include "core/EnumFromRaw.h"

using namespace Qt::StringLiterals;

QString rawValue(GameDifficulty difficulty)
{
    switch (difficulty) {
    case GameDifficulty::easy:
        return u"简单"_s;
    case GameDifficulty::medium:
        return u"中等"_s;
    case GameDifficulty::hard:
        return u"困难"_s;
    }
    return {};
}

std::optional<GameDifficulty> gameDifficultyFromRaw(const QString& raw)
{
    return enumFromRaw(allGameDifficulties, raw);
}

int catCount(GameDifficulty difficulty)
{
    switch (difficulty) {
    case GameDifficulty::easy:
        return 3;
    case GameDifficulty::medium:
        return 5;
    case GameDifficulty::hard:
        return 8;
    }
    return 0;
}

double visibleDuration(GameDifficulty difficulty)
{
    switch (difficulty) {
    case GameDifficulty::easy:
        return 3.0;
    case GameDifficulty::medium:
        return 2.0;
    case GameDifficulty::hard:
        return 1.5;
    }
    return 0.0;
}
