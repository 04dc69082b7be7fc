#include "pet/PetState.h"

#include "core/EventCenter.h"
#include "platform/Defaults.h"
#include "platform/JsonReader.h"
#include "platform/Screens.h"
#include "support/FakeClock.h"
#include "support/Wait.h"

#include <QJsonArray>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

struct PetStateFixture : ::testing::Test
{
    QTemporaryDir dir;
    Defaults defaults { dir.filePath(u"defaults.json"_s) };
    Screens screens { QList<ScreenGeometry> { { QRect(0, 0, 2560, 1440), QRect(0, 0, 2560, 1400) } } };
    Screens noScreen { QList<ScreenGeometry> {} };
    FakeClock clock;
};

} // namespace

TEST_F(PetStateFixture, FirstLaunchTakesTheDefaultOriginAndStoresNothing)
{
    PetState state(defaults, screens, &clock);
    EXPECT_EQ(state.data().position, QPointF(1792, 432));
    EXPECT_EQ(state.data().moveSpeedMultiplier, 1.0);
    EXPECT_EQ(state.data().lastMoveTime, clock.now());
    EXPECT_FALSE(defaults.contains(PetState::positionKey));
    EXPECT_FALSE(defaults.contains(PetState::speedKey));

    PetState headless(defaults, noScreen, &clock);
    EXPECT_EQ(headless.data().position, QPointF(1344, 324));
}

TEST_F(PetStateFixture, StoredValuesAreReadAndBadOnesFallBack)
{
    defaults.setValue(PetState::positionKey, QJsonArray { -40.5, 3000 });
    defaults.setValue(PetState::speedKey, 0.5);
    {
        PetState state(defaults, screens, &clock);
        // Used as stored, even off every screen.
        EXPECT_EQ(state.data().position, QPointF(-40.5, 3000));
        EXPECT_EQ(state.data().moveSpeedMultiplier, 0.5);
    }
    const QList<QJsonValue> badPositions { u"not a pair"_s, QJsonArray { 1 }, QJsonArray { 1, u"2"_s },
        QJsonArray { 1, 2, 3 }, QJsonValue(7) };
    for (const QJsonValue& bad : badPositions) {
        defaults.setValue(PetState::positionKey, bad);
        PetState state(defaults, screens, &clock);
        EXPECT_EQ(state.data().position, QPointF(1792, 432));
        // The bad value stays until the next save overwrites it.
        EXPECT_EQ(defaults.value(PetState::positionKey), bad);
        state.savePosition();
        EXPECT_EQ(defaults.value(PetState::positionKey), (QJsonArray { 1792.0, 432.0 }));
    }
    for (const QJsonValue& speed : { QJsonValue(0), QJsonValue(-1), QJsonValue(u"fast"_s), QJsonValue() }) {
        defaults.setValue(PetState::speedKey, speed);
        PetState state(defaults, screens, &clock);
        EXPECT_EQ(state.data().moveSpeedMultiplier, 1.0);
    }
}

TEST_F(PetStateFixture, UpdatePositionStampsAndSavesWhileSetPositionOnlyPublishes)
{
    PetState state(defaults, screens, &clock);
    QSignalSpy changed(&state, &PetState::dataChanged);
    clock.advanceSecs(5);
    state.setPosition({ 10, 20 });
    EXPECT_FALSE(defaults.contains(PetState::positionKey));
    EXPECT_NE(state.data().lastMoveTime, clock.now());

    state.updatePosition({ 100, 50.25 });
    EXPECT_EQ(state.data().lastMoveTime, clock.now());
    EXPECT_EQ(defaults.value(PetState::positionKey), (QJsonArray { 100.0, 50.25 }));
    EXPECT_EQ(changed.count(), 2);

    // A restart reproduces the saved place.
    PetState again(defaults, screens, &clock);
    EXPECT_EQ(again.data().position, QPointF(100, 50.25));
}

TEST_F(PetStateFixture, ANonFinitePositionIsNeverWritten)
{
    PetState state(defaults, screens, &clock);
    state.updatePosition({ 5, 6 });
    state.updatePosition({ std::numeric_limits<double>::quiet_NaN(), 6 });
    EXPECT_EQ(defaults.value(PetState::positionKey), (QJsonArray { 5.0, 6.0 }));
}

TEST_F(PetStateFixture, MoveSpeedIsStoredUnboundedButNeverAsNaN)
{
    PetState state(defaults, screens, &clock);
    state.updateMoveSpeed(3.5);
    EXPECT_EQ(state.data().moveSpeedMultiplier, 3.5);
    EXPECT_EQ(defaults.doubleValue(PetState::speedKey), 3.5);
    state.updateMoveSpeed(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(state.data().moveSpeedMultiplier, 1.0);
    EXPECT_EQ(defaults.doubleValue(PetState::speedKey), 1.0);
}

TEST_F(PetStateFixture, RecordInteractionAnnouncesAndResetsOneSecondAfterTheFirstCall)
{
    PetState state(defaults, screens, &clock);
    QSignalSpy interacted(&EventCenter::shared(), &EventCenter::userDidInteractWithPet);
    clock.advanceSecs(2);
    state.recordInteraction();
    EXPECT_TRUE(state.data().isInteracting);
    EXPECT_EQ(state.data().lastInteractionTime, clock.now());
    EXPECT_EQ(interacted.count(), 1);

    QTest::qWait(600);
    state.recordInteraction();
    EXPECT_EQ(interacted.count(), 2);
    // Both resets run: the first ends the interaction, and the second is not cancelled by it.
    ASSERT_TRUE(waitUntil([&] { return !state.data().isInteracting; }));
    state.setInteracting(true);
    ASSERT_TRUE(waitUntil([&] { return !state.data().isInteracting; }));
}

TEST(PetStateData, CodesWithItsFieldNamesAndRefusesWhatItCannotRead)
{
    PetStateData data { QPointF(-40.5, 300), PetAnimationState::clickFeedback, true,
        QDateTime(QDate(2026, 1, 5), QTime(14, 3, 7, 250), Qt::UTC), QDateTime(QDate(2001, 1, 1), QTime(0, 1), Qt::UTC),
        0.5 };
    const QJsonObject json = data.toJson();
    EXPECT_EQ(json,
        (QJsonObject { { u"position"_s, QJsonArray { -40.5, 300.0 } }, { u"animationState"_s, u"click"_s },
            { u"isInteracting"_s, true }, { u"lastInteractionTime"_s, 789314587.25 }, { u"lastMoveTime"_s, 60.0 },
            { u"moveSpeedMultiplier"_s, 0.5 } }));
    EXPECT_EQ(PetStateData::fromJson(JsonReader(json)), data);
    EXPECT_EQ(petAnimationStateFromRaw(u"idle"_s), PetAnimationState::idle);
    EXPECT_EQ(petAnimationStateFromRaw(u"clickFeedback"_s), std::nullopt);

    const std::pair<const char*, QJsonValue> bad[]
        = { { "position", QJsonArray { 1 } }, { "animationState", u"sleeping"_s },
              { "lastMoveTime", u"2026-01-05T14:03:07Z"_s }, { "moveSpeedMultiplier", QJsonValue::Null } };
    for (const auto& [key, value] : bad) {
        QJsonObject broken = json;
        broken.insert(QString::fromLatin1(key), value);
        EXPECT_THROW((void)PetStateData::fromJson(JsonReader(broken)), JsonDecodeError) << key;
    }
}
