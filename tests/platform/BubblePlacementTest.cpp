#include "platform/BubblePlacement.h"

#include <gtest/gtest.h>

namespace {

// A 1440 × 900 screen with a 40 px dock along its bottom, in the bottom-left model.
const QRectF visible(0, 40, 1440, 860);

QRectF petAt(double x, double y = 500)
{
    return { x, y, 128, 128 };
}

} // namespace

TEST(BubblePlacement, ABubbleGoesRightOfThePetUnlessTheScreenEndsThere)
{
    struct Case
    {
        const char* name;
        QRectF pet;
        std::optional<QRectF> area;
        double expectedX;
    };
    // A 320 wide bubble 20 from the pet.
    const Case cases[] = {
        { "at the left edge", petAt(0), visible, 148 },
        { "half off the left edge", petAt(-60), visible, 88 },
        { "in the middle", petAt(600), visible, 748 },
        { "ending exactly at the right edge", petAt(972), visible, 1120 },
        { "one past it goes left", petAt(973), visible, 633 },
        { "at the right edge", petAt(1312), visible, 972 },
        { "half off the right edge", petAt(1400), visible, 1060 },
        { "without a screen where the pet stands", petAt(1400), std::nullopt, 1548 },
        { "room on neither side", petAt(100), QRectF(0, 40, 400, 860), 0 },
        { "a screen narrower than the bubble", petAt(100), QRectF(0, 40, 300, 860), 0 },
        { "on a second screen to the right", petAt(3250), QRectF(1440, 0, 1920, 1080), 2910 },
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(BubblePlacement::besideX(c.pet, 320, 20, c.area), c.expectedX) << c.name;
}

TEST(BubblePlacement, ABubbleStaysBetweenTheDockAndTheTopOfTheScreen)
{
    struct Case
    {
        const char* name;
        double y;
        double height;
        std::optional<QRectF> area;
        double expectedY;
    };
    const Case cases[] = {
        { "in the middle", 500, 120, visible, 500 },
        { "behind the dock", 10, 120, visible, 40 },
        { "past the top", 850, 120, visible, 780 },
        { "touching the top", 780, 120, visible, 780 },
        { "higher than the screen: its top stays in view", 300, 1000, visible, -100 },
        { "without a screen", -50, 120, std::nullopt, -50 },
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(BubblePlacement::insideY(c.y, c.height, c.area), c.expectedY) << c.name;

    // Both at once: a speech bubble for a pet in the top-right corner.
    EXPECT_EQ(BubblePlacement::besidePet(petAt(1312, 800), QSizeF(280, 120), 10, 804, visible), QPointF(1022, 780));
}

TEST(BubblePlacement, TheAreaIsThatOfTheScreenThePetStandsOn)
{
    const QRectF main(0, 40, 1440, 860);
    const QRectF right(1440, 0, 1920, 1080);
    const QList<QRectF> both { main, right };
    struct Case
    {
        const char* name;
        QRectF pet;
        QList<QRectF> areas;
        std::optional<QRectF> expected;
    };
    const Case cases[] = {
        { "on the main screen", petAt(600), both, main },
        { "on the second screen", petAt(2000), both, right },
        { "across the seam, mostly right", petAt(1400), both, right },
        { "across the seam, mostly left", petAt(1340), both, main },
        { "under the dock, reaching only into the second", petAt(1400, -100), both, right },
        { "below every screen's visible area: the main one", petAt(600, -300), both, main },
        { "no screen", petAt(600), {}, std::nullopt },
    };
    for (const Case& c : cases)
        EXPECT_EQ(BubblePlacement::areaAround(c.pet, c.areas), c.expected) << c.name;
}
