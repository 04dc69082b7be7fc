#pragma once

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
#include "support/PetRig.h"

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
