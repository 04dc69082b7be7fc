#include "pet/InteractionHandler.h"

#include "pet/PetState.h"
#include "platform/Defaults.h"
#include "platform/Screens.h"
#include "support/FakeClock.h"
#include "support/Wait.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(InteractionHandler, ASingleTapShowsTheClickFeedbackThenIdles)
{
    QTemporaryDir dir;
    Defaults defaults(dir.filePath(u"defaults.json"_s));
    Screens screens(QList<ScreenGeometry> { { QRect(0, 0, 1440, 900), QRect(0, 0, 1440, 900) } });
    FakeClock clock;
    PetState petState(defaults, screens, &clock);
    InteractionHandler handler(petState, screens, &clock);

    clock.advanceMs(1234);
    handler.handleSingleClick();
    EXPECT_EQ(petState.data().animationState, PetAnimationState::clickFeedback);
    EXPECT_EQ(handler.lastClickTime(), clock.now());
    EXPECT_TRUE(waitUntil([&] { return petState.data().animationState == PetAnimationState::idle; }));

    // The unused drag path keeps the pet inside the visible frame less 64 pt and stores it.
    handler.endDrag(QSizeF(5000, -20));
    EXPECT_EQ(petState.data().position, QPointF(1376, 0));
    EXPECT_FALSE(petState.data().isInteracting);
    EXPECT_TRUE(defaults.contains(PetState::positionKey));
}
