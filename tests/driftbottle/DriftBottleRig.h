#pragma once

#include "server/ServerTestSupport.h"

#include "driftbottle/ConversationManager.h"
#include "driftbottle/DriftBottleManager.h"
#include "platform/Defaults.h"
#include "server/UserManager.h"
#include "support/FakeClock.h"
#include "support/FakeTimers.h"

#include <QTemporaryDir>
#include <QTimeZone>

#include <functional>
#include <memory>

/// Both managers on a fake companion server, with their own defaults file, clock and timers.
class DriftBottleRig : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.start());
        makeClient(APIClient::transferTimeoutMs);
        launch();
    }

    void makeClient(int timeoutMs)
    {
        client = std::make_unique<APIClient>(
            server.baseUrl(),
            [this]() -> std::optional<qint64> {
                if (users && users->currentUser())
                    return users->currentUser()->id;
                return std::nullopt;
            },
            timeoutMs);
    }

    /// Fresh managers on what the defaults file holds, as at the next launch.
    void launch()
    {
        conversations.reset();
        bottles.reset();
        users.reset();
        if (defaults) {
            ASSERT_TRUE(defaults->flush());
        }
        defaults = std::make_unique<Defaults>(dir.filePath(QStringLiteral("defaults.json")));
        users = std::make_unique<UserManager>(*defaults, *client);
        bottles = std::make_unique<DriftBottleManager>(*client, *users, *defaults, clock);
        conversations = std::make_unique<ConversationManager>(*client, *users, *bottles, timers);
    }

    /// Signs in through the server (which creates the account) and returns the user's id.
    qint64 signIn(const QString& email = QStringLiteral("alice@x.io"),
        const QString& nickname = QStringLiteral("爱丽丝"), const QString& emoji = QStringLiteral("🐱"))
    {
        users->setUserMode(UserMode::online);
        const auto outcome = await(users->loginOnline(email, nickname, emoji, QStringLiteral("pw")));
        EXPECT_TRUE(outcome.ok());
        return users->currentUser() ? users->currentUser()->id : -1;
    }

    /// One tick of the periodic refresh.
    void refreshTick() { timers.advanceMs(ConversationManager::refreshIntervalMs); }

    /// Waits for queued work (the busy flags' resets) to run.
    static void settle() { QCoreApplication::processEvents(); }

    [[nodiscard]] qsizetype requestCount() const { return server.requests().size(); }

    QTemporaryDir dir;
    FakeCompanionServer server;
    FakeClock clock { QDateTime(QDate(2026, 1, 5), QTime(14, 3, 7), Qt::UTC) };
    FakeTimers timers;
    std::unique_ptr<APIClient> client;
    std::unique_ptr<Defaults> defaults;
    std::unique_ptr<UserManager> users;
    std::unique_ptr<DriftBottleManager> bottles;
    std::unique_ptr<ConversationManager> conversations;
};

/// The text of whatever a call threw.
template<typename T>
QString errorText(const Outcome<T>& outcome)
{
    if (!outcome.error)
        return {};
    try {
        std::rethrow_exception(outcome.error);
    } catch (const std::exception& e) {
        return APIError::describe(e);
    }
}
