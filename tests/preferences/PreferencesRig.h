#pragma once

#include "game/WhackAMoleGameManager.h"
#include "pet/AutoBehaviorManager.h"
#include "pet/DoNotDisturbManager.h"
#include "pet/LottieAnimationManager.h"
#include "pet/MultiPetManager.h"
#include "pet/OpacityManager.h"
#include "pet/PetAppearanceManager.h"
#include "preferences/PreferencesWindowManager.h"
#include "server/APIClient.h"
#include "server/UserManager.h"
#include "shell/FakeNotificationBackend.h"
#include "shell/NotificationManager.h"
#include "support/FakeCompanionServer.h"
#include "support/FakeRandom.h"
#include "support/FakeSystemInfo.h"
#include "support/FakeTimers.h"
#include "support/PetRig.h"
#include "support/Wait.h"

#include <QList>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

/// Every manager the preferences pages work on, over one 1920 × 1080 screen with its own
/// defaults file, the fake companion server and a browser that only records.
struct PreferencesRig : ::testing::Test, PetRig
{
    PreferencesRig()
        : PetRig({ QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1040) })
    {
    }

    void SetUp() override
    {
        ASSERT_TRUE(server.start());
        client = std::make_unique<APIClient>(server.baseUrl(), [this]() -> std::optional<qint64> {
            if (account && account->currentUser())
                return account->currentUser()->id;
            return std::nullopt;
        });
        account = std::make_unique<UserManager>(defaults, *client);
    }

    FakeRandom random;
    AutoBehaviorManager scheduler { petState, windowManager, screens, &clock, &random };
    OpacityManager opacity { defaults, windowManager };
    MultiPetManager multiPet { defaults, screens, windowManager, animations, &random };
    DoNotDisturbManager doNotDisturb { defaults, screens, windowManager, petState, scheduler };
    FakeNotificationBackend backend;
    NotificationManager notifications { backend, defaults, &clock };
    FakeCompanionServer server;
    std::unique_ptr<APIClient> client;
    std::unique_ptr<UserManager> account;
    FakeSystemInfo systemInfo;
    QList<QUrl> opened;

    PreferencesServices services()
    {
        return PreferencesServices { petState, opacity, multiPet, doNotDisturb, appearance, windowManager, screens,
            notifications, *account, *client, systemInfo, [this](const QUrl& url) {
                opened.append(url);
                return true;
            } };
    }
};

/// The preferences with the game tab's manager too, and a way to sign a user in, for the
/// tests that walk every tab.
struct PreferencesWindowRig : PreferencesRig
{
    FakeTimers timers;
    FakeRandom gameRandom;
    WhackAMoleGameManager game { defaults, screens, resources, animations, opacity, scheduler, windowManager, timers,
        gameRandom };

    /// The account tab then shows the profile and the signed-in note.
    void signIn()
    {
        using namespace Qt::StringLiterals;
        server.state().addUser(u"a@b.io"_s, u"阿猫"_s, u"🐱"_s, u"pw"_s);
        account->setUserMode(UserMode::online);
        bool done = false;
        [](UserManager& m, bool& flag) -> QCoro::Task<> {
            co_await m.loginOnline(u"a@b.io"_s, {}, u"🐱"_s, u"pw"_s);
            flag = true;
        }(*account, done);
        ASSERT_TRUE(waitUntil([&] { return done; }));
    }
};
