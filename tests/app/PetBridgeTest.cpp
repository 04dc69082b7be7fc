// The message bubbles over the real pet: its window, state, scheduler and do-not-disturb.
#include "friends/FriendMessageBubbleWindowManager.h"
#include "friends/FriendMessageManager.h"
#include "friends/MessageBubbleWindow.h"
#include "pet/AutoBehaviorManager.h"
#include "pet/DoNotDisturbManager.h"
#include "platform/FloatingWindow.h"
#include "server/APIClient.h"
#include "server/UserManager.h"
#include "support/FakeRandom.h"
#include "support/FakeTimers.h"
#include "support/PetRig.h"
#include "support/Wait.h"

#include <QLineF>
#include <QPointer>
#include <QPushButton>

#include <gtest/gtest.h>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

struct PetUnderBubbles : ::testing::Test, PetRig
{
    PetUnderBubbles()
        : PetRig({ QRect(0, 0, 1440, 900), QRect(0, 0, 1440, 860) })
    {
        petState.setPosition({ 700, 300 });
        windowManager.createPetWindow();
    }

    /// Opens one received bubble and waits until it shows.
    void receive()
    {
        FriendMessage m;
        m.id = ++lastId;
        m.senderId = 2;
        m.senderNickname = u"阿花"_s;
        m.content = u"喵"_s;
        bubbles.showMessage(m);
        ASSERT_TRUE(waitUntil([&] { return bubbles.bubbles().size() == 1; }));
    }

    void closeBubble()
    {
        closing.append(bubbles.bubbles().at(0));
        closing.constLast()->closeButton()->click();
    }

    /// The closed bubbles finish fading and go.
    void TearDown() override
    {
        EXPECT_TRUE(waitUntil([&] { return std::ranges::all_of(closing, [](const auto& b) { return b.isNull(); }); }));
    }

    [[nodiscard]] QPointF shownAt() const { return windowManager.getCurrentWindowPosition(); }

    FakeRandom random;
    FakeTimers timers;
    AutoBehaviorManager scheduler { petState, windowManager, screens, &clock, &random };
    DoNotDisturbManager doNotDisturb { defaults, screens, windowManager, petState, scheduler };
    APIClient client { u"http://127.0.0.1:9/api"_s, [] { return std::optional<qint64>(); } };
    UserManager users { defaults, client };
    FriendMessageManager messages { client, users, timers };
    FriendMessageBubbleWindowManager bubbles { messages, { windowManager, scheduler, doNotDisturb, petState }, screens,
        clock };
    qint64 lastId = 0;
    QList<QPointer<MessageBubbleWindow>> closing;
};

} // namespace

TEST_F(PetUnderBubbles, TheLastCloseBringsThePetBackFromADragAndItWalksOnFromThere)
{
    const QPointF before = shownAt();
    receive();
    EXPECT_FALSE(scheduler.isRunning());
    EXPECT_NE(shownAt(), before);

    // What a drag leaves behind: the window and the pet's own position elsewhere.
    const QPointF dragged(100, 600);
    windowManager.updateWindowPosition(dragged);
    petState.updatePosition(dragged);

    closeBubble();
    EXPECT_LT(QLineF(shownAt(), before).length(), 30);
    EXPECT_EQ(petState.data().position, shownAt());
    ASSERT_TRUE(scheduler.isRunning());
    scheduler.updateMovement();
    EXPECT_LT(QLineF(shownAt(), before).length(), 30) << "the walk sets out from where the pet came back to";
}

TEST_F(PetUnderBubbles, ClosingBubblesLeavesAStillPetStill)
{
    // Do-not-disturb on before the message, switched on while it shows, or the behaviour
    // switched off: none of them walks again when the bubble closes.
    enum class Holder { doNotDisturbBefore, doNotDisturbDuring, switchedOff };
    for (const Holder holder : { Holder::doNotDisturbBefore, Holder::doNotDisturbDuring, Holder::switchedOff }) {
        SCOPED_TRACE(static_cast<int>(holder));
        if (holder == Holder::doNotDisturbBefore)
            doNotDisturb.setDoNotDisturbMode(true);
        if (holder == Holder::switchedOff)
            scheduler.toggleBehaviorSystem();
        receive();
        if (holder == Holder::doNotDisturbDuring)
            doNotDisturb.setDoNotDisturbMode(true);
        closeBubble();
        EXPECT_FALSE(scheduler.isRunning());
        EXPECT_EQ(doNotDisturb.isDoNotDisturbMode(), holder != Holder::switchedOff);

        doNotDisturb.setDoNotDisturbMode(false);
        if (!scheduler.isActive())
            scheduler.toggleBehaviorSystem();
        ASSERT_TRUE(scheduler.isRunning());
    }
}
