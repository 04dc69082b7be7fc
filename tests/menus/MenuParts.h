#pragma once

#include "menus/MenuBarAboutActions.h"
#include "menus/MenuBarSettingsActions.h"
#include "pet/AutoBehaviorManager.h"
#include "pet/DoNotDisturbManager.h"
#include "platform/Defaults.h"
#include "platform/LogManager.h"
#include "platform/LogWindowManager.h"
#include "server/APIClient.h"
#include "server/UserManager.h"
#include "shell/NotificationManager.h"

#include "shell/FakeNotificationBackend.h"
#include "support/FakeRandom.h"
#include "support/PetRig.h"

#include <QJsonDocument>

#include <optional>

/// What the status-bar menu reaches: the account (signed out unless a user is stored
/// first), do-not-disturb and the quit item.
struct MenuParts : PetRig
{
    explicit MenuParts(const std::optional<DriftUser>& storedUser = std::nullopt)
        : PetRig({ QRect(0, 0, 1440, 900), QRect(0, 0, 1440, 900) })
        , stored(store(defaults, storedUser))
    {
    }

    static bool store(Defaults& defaults, const std::optional<DriftUser>& user)
    {
        if (!user)
            return false;
        defaults.setValue(UserManager::currentUserKey,
            QString::fromUtf8(QJsonDocument(user->toJson()).toJson(QJsonDocument::Compact)));
        defaults.setValue(UserManager::isLoggedInKey, true);
        return true;
    }

    bool stored;
    FakeRandom random;
    AutoBehaviorManager scheduler { petState, windowManager, screens, &clock, &random };
    DoNotDisturbManager doNotDisturb { defaults, screens, windowManager, petState, scheduler };
    APIClient client { QStringLiteral("http://127.0.0.1:9/api"), [] { return std::optional<qint64>(); } };
    UserManager users { defaults, client };
    FakeNotificationBackend backend;
    NotificationManager notifications { backend, defaults, &clock };
    MenuBarAboutActions about { notifications, &clock };
    LogWindowManager logWindow { LogManager::shared() };
    int preferencesOpened = 0;
    MenuBarSettingsActions settings { logWindow, [this] { ++preferencesOpened; } };
};
