#pragma once

// The friends' screens over a signed-in account on the fake server: a pet window on a
// fixed 1440 × 900 screen with a 40 px dock at the bottom, and the managers they use.
#include "FriendsFixture.h"

#include "friends/FriendMessageBubbleWindowManager.h"
#include "pet/DoNotDisturbManager.h"
#include "pet/PetBehaviorControl.h"
#include "pet/PetState.h"
#include "pet/PetWindowHost.h"
#include "platform/Alerts.h"
#include "platform/Clock.h"
#include "platform/FloatingWindow.h"
#include "platform/Screens.h"

#include <QList>
#include <QPointF>

/// A plain window standing in for the pet, recording what the bubbles ask of it and of
/// the pet's behaviour.
class FakePetHost final : public PetWindowHost, public PetBehaviorControl
{
public:
    explicit FakePetHost(Screens& screens)
        : m_screens(screens)
        , window(FloatingWindow::Focus::Refuse, screens)
    {
        window.resize(128, 128);
        window.setModelOrigin({ 600, 500 });
        window.show();
    }

    [[nodiscard]] FloatingWindow* petWindow() const override { return &window; }
    [[nodiscard]] QPointF getCurrentWindowPosition() const override
    {
        return m_screens.storedFromPetOrigin(window.modelFrame().topLeft());
    }
    void updateWindowPosition(QPointF position) override
    {
        restoredTo.append(position);
        window.setModelOrigin(m_screens.petOriginFromStored(position));
    }
    [[nodiscard]] bool isActive() const override { return behaviorActive; }
    [[nodiscard]] bool isRunning() const override { return behaviorActive && running; }
    void pauseScheduling() override
    {
        ++pauses;
        running = false;
    }
    void startBehaviorSystem() override
    {
        ++starts;
        running = true;
    }

    Screens& m_screens;
    mutable FloatingWindow window;
    bool behaviorActive = true;
    bool running = true;
    int pauses = 0;
    int starts = 0;
    QList<QPointF> restoredTo;
};

class FriendsUiFixture : public FriendsFixture
{
protected:
    void SetUp() override
    {
        FriendsFixture::SetUp();
        Alerts::clearAnsweredAlerts();
        friends = std::make_unique<FriendManager>(*client, *defaults);
        pet = std::make_unique<FakePetHost>(screens);
        petState = std::make_unique<PetState>(*defaults, screens);
        doNotDisturb = std::make_unique<DoNotDisturbManager>(*defaults, screens, *pet, *petState, *pet);
        bubbles = makeBubbles();
    }

    [[nodiscard]] std::unique_ptr<FriendMessageBubbleWindowManager> makeBubbles()
    {
        return std::make_unique<FriendMessageBubbleWindowManager>(*messages,
            FriendMessageBubbleWindowManager::PetParts { *pet, *pet, *doNotDisturb, *petState }, screens,
            Clock::system());
    }

    void TearDown() override
    {
        bubbles.reset();
        doNotDisturb.reset();
        petState.reset();
        pet.reset();
        friends.reset();
        FriendsFixture::TearDown();
    }

    /// Signs Alice in and makes Bob her friend; returns Bob's user id.
    qint64 aliceWithFriendBob()
    {
        const qint64 alice = signIn();
        const qint64 bob = server.state().addUser(
            QStringLiteral("bob@x.io"), QStringLiteral("鲍勃"), QStringLiteral("🐶"), QStringLiteral("pw"));
        server.state().befriend(alice, bob);
        return bob;
    }

    Screens screens { { ScreenGeometry { { 0, 0, 1440, 900 }, { 0, 0, 1440, 860 } } } };
    std::unique_ptr<FriendManager> friends;
    std::unique_ptr<FakePetHost> pet;
    std::unique_ptr<PetState> petState;
    std::unique_ptr<DoNotDisturbManager> doNotDisturb;
    std::unique_ptr<FriendMessageBubbleWindowManager> bubbles;
};
