#pragma once

// One signed-in account against the fake companion server, with fake timers.
#include "server/ServerTestSupport.h"

#include "friends/FriendManager.h"
#include "friends/FriendMessageManager.h"
#include "platform/Defaults.h"
#include "server/UserManager.h"
#include "support/FakeTimers.h"
#include "support/Wait.h"

#include <QTemporaryDir>

#include <memory>

class FriendsFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.start());
        client = std::make_unique<APIClient>(server.baseUrl(), [this]() -> std::optional<qint64> {
            if (users && users->currentUser())
                return users->currentUser()->id;
            return std::nullopt;
        });
        defaults = std::make_unique<Defaults>(dir.filePath(QStringLiteral("defaults.json")));
        users = std::make_unique<UserManager>(*defaults, *client);
        messages = std::make_unique<FriendMessageManager>(
            *client, *users, timers, [this] { return server.messageSocket().url(); });
        QObject::connect(messages.get(), &FriendMessageManager::authenticated, [this] { ++authentications; });
    }

    void TearDown() override
    {
        messages.reset();
        users.reset();
    }

    /// Signs "alice" in (the account is created on first use) and returns her user id.
    qint64 signIn(const QString& email = QStringLiteral("alice@x.io"))
    {
        users->setUserMode(UserMode::online);
        const auto outcome = await(
            users->loginOnline(email, QStringLiteral("爱丽丝"), QStringLiteral("🐱"), QStringLiteral("pw-123456")));
        EXPECT_TRUE(outcome.ok());
        return users->currentUser() ? users->currentUser()->id : 0;
    }

    /// A friend message in the form the server pushes.
    static QJsonObject messageData(qint64 id, const QString& content = QStringLiteral("喵"))
    {
        return QJsonObject { { QStringLiteral("messageId"), id }, { QStringLiteral("senderId"), 2 },
            { QStringLiteral("senderNickname"), QStringLiteral("阿花") },
            { QStringLiteral("senderAvatar"), QStringLiteral("🐶") }, { QStringLiteral("receiverId"), 1 },
            { QStringLiteral("content"), content },
            { QStringLiteral("timestamp"), QStringLiteral("2024-05-01T08:30:00.000Z") },
            { QStringLiteral("isOffline"), false } };
    }

    /// Opens the connection and waits for the server's "auth_success".
    void connectAndAuthenticate()
    {
        const int before = authentications;
        messages->connect();
        ASSERT_TRUE(waitUntil([&] { return authentications > before; })) << "no auth_success";
    }

    QTemporaryDir dir;
    FakeCompanionServer server;
    FakeTimers timers;
    std::unique_ptr<APIClient> client;
    std::unique_ptr<Defaults> defaults;
    std::unique_ptr<UserManager> users;
    std::unique_ptr<FriendMessageManager> messages;
    int authentications = 0;
};
