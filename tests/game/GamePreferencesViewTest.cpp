#include "game/GamePreferencesView.h"

#include "GameRig.h"
#include "support/DrawnText.h"
#include "widgets/SegmentedPicker.h"
#include "widgets/TextStyle.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QSlider>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

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

namespace {

/// The colour most pixels of `box` have: the background of a label, the fill of a segment.
QColor commonColour(const QImage& image, const QRect& box)
{
    QHash<QRgb, int> counts;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x)
            ++counts[image.pixel(x, y)];
    }
    QRgb common = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            common = it.key();
        }
    }
    return QColor::fromRgb(common);
}

/// The strongest contrast any pixel of `box` has against its most common colour: that of the
/// text's full strokes.
double textContrast(const QImage& image, const QRect& box)
{
    const QColor background = commonColour(image, box);
    double best = 1.0;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x)
            best = std::max(best, contrastRatio(QColor::fromRgb(image.pixel(x, y)), background));
    }
    return best;
}

double distance(const QColor& a, const QColor& b)
{
    return std::hypot(a.red() - b.red(), a.green() - b.green(), a.blue() - b.blue());
}

} // namespace

// Drawn pixels, in a light and a dark palette: the chosen difficulty stands out from the
// others, and every grey caption reads at 4.5:1 at least.
TEST_F(GameTab, TheChosenDifficultyAndEveryCaptionAreReadableInLightAndDark)
{
    auto game = makeGame();
    for (const bool dark : { false, true }) {
        SCOPED_TRACE(dark ? "dark" : "light");
        QApplication::setPalette(dark ? darkFusionPalette() : lightPalette());
        GamePreferencesView page(*game);
        page.resize(page.sizeHint().expandedTo(QSize(560, 0)));
        const QImage shot = drawnImage(&page);

        const auto* picker = page.findChild<SegmentedPicker*>(u"difficultyPicker"_s);
        ASSERT_NE(picker, nullptr);
        ASSERT_NE(picker->titleLabel(), nullptr);
        EXPECT_EQ(picker->titleLabel()->text(), u"难度"_s);
        const QColor chosen = commonColour(shot, areaIn(page.difficultyButton(u"中等"_s), &page));
        for (const QString& other : { u"简单"_s, u"困难"_s }) {
            const QColor fill = commonColour(shot, areaIn(page.difficultyButton(other), &page));
            EXPECT_GT(distance(chosen, fill), 100.0)
                << chosen.name().toStdString() << " against " << fill.name().toStdString();
        }

        int captions = 0;
        for (const QLabel* label : page.findChildren<QLabel*>()) {
            if (TextStyle::pixelSizeOf(label->font()) >= TextStyle::pixelSizeOf(page.font()) || label->text().isEmpty())
                continue; // not a caption, note or title
            ++captions;
            EXPECT_GE(textContrast(shot, areaIn(label, &page)), 4.5) << label->text().toStdString();
        }
        EXPECT_EQ(captions, 11) << "the note, three titles, two facts, the length note and four rules";
    }
    QApplication::setPalette(lightPalette());
}
