#include "game/GamePreferencesView.h"

#include "GameRig.h"

#include <QAbstractButton>
#include <QLabel>
#include <QSlider>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {
struct GameTab : ::testing::Test, GameRig
{
};
} // namespace

TEST_F(GameTab, ChoosingADifficultyShowsWhatItMeans)
{
    auto game = makeGame();
    GamePreferencesView page(*game);
    EXPECT_TRUE(page.difficultyButton(u"中等"_s)->isChecked());
    EXPECT_EQ(page.catCountLabel()->text(), u"5 只"_s);
    EXPECT_EQ(page.visibleDurationLabel()->text(), u"2.0 秒"_s);

    const struct
    {
        QString title;
        GameDifficulty difficulty;
        QString cats;
        QString seconds;
    } rows[] = {
        { u"困难"_s, GameDifficulty::hard, u"8 只"_s, u"1.5 秒"_s },
        { u"简单"_s, GameDifficulty::easy, u"3 只"_s, u"3.0 秒"_s },
        { u"中等"_s, GameDifficulty::medium, u"5 只"_s, u"2.0 秒"_s },
    };
    for (const auto& row : rows) {
        page.difficultyButton(row.title)->click();
        EXPECT_EQ(game->difficulty(), row.difficulty) << row.title.toStdString();
        EXPECT_TRUE(page.difficultyButton(row.title)->isChecked());
        EXPECT_EQ(page.catCountLabel()->text(), row.cats);
        EXPECT_EQ(page.visibleDurationLabel()->text(), row.seconds);
    }
    // A change made elsewhere shows too.
    game->setDifficulty(GameDifficulty::hard);
    EXPECT_TRUE(page.difficultyButton(u"困难"_s)->isChecked());
    EXPECT_FALSE(game->isGameActive()) << "the page starts no game";
}

TEST_F(GameTab, TheSliderStoresWholeTensOfSeconds)
{
    auto game = makeGame();
    GamePreferencesView page(*game);
    EXPECT_EQ(page.durationLabel()->text(), u"60 秒"_s);
    page.durationSlider()->setValue(3);
    EXPECT_EQ(game->gameDuration(), 30);
    EXPECT_EQ(defaults.integer(WhackAMoleGameManager::gameDurationKey), 30);
    EXPECT_EQ(page.durationLabel()->text(), u"30 秒"_s);
    page.durationSlider()->setValue(page.durationSlider()->minimum());
    EXPECT_EQ(game->gameDuration(), 10);
    page.durationSlider()->setValue(page.durationSlider()->maximum());
    EXPECT_EQ(game->gameDuration(), 60);
}

TEST_F(GameTab, AStoredLengthOutsideTheSliderIsShownAndKept)
{
    defaults.setValue(WhackAMoleGameManager::gameDurationKey, 90);
    auto game = makeGame();
    GamePreferencesView page(*game);
    EXPECT_EQ(page.durationLabel()->text(), u"90 秒"_s);
    EXPECT_EQ(page.durationSlider()->value(), page.durationSlider()->maximum());
    EXPECT_EQ(defaults.integer(WhackAMoleGameManager::gameDurationKey), 90);
    EXPECT_EQ(game->gameDuration(), 90);
}
