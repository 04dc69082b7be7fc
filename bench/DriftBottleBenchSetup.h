#pragma once

// What the drift-bottle benchmarks share: a signed-in user, the client that talks to the
// benchmark's canned server, and the main thread's CPU clock.
#include "driftbottle/ConversationManager.h"
#include "platform/Defaults.h"
#include "server/APIClient.h"
#include "server/UserManager.h"

#include <QCoroTask>
#include <QDateTime>
#include <QJsonDocument>

#include <cstdio>
#include <ctime>
#include <memory>
#include <optional>
#include <unistd.h>

namespace bench {

/// Sends standard output to /dev/null and returns a stream on the real one for the figures:
/// the program's log echoes every line there, which costs the main thread and stays in the
/// measure, but must not drown the figures.
inline FILE* figuresStream()
{
    const int figures = dup(STDOUT_FILENO);
    FILE* out = fdopen(figures, "w");
    std::freopen("/dev/null", "w", stdout);
    return out;
}

/// Stores a signed-in online user in `defaults`, as an earlier session would have left it.
inline void storeSignedInUser(Defaults& defaults)
{
    using namespace Qt::StringLiterals;
    defaults.setValue(UserManager::userModeKey, u"online"_s);
    defaults.setValue(UserManager::isLoggedInKey, true);
    DriftUser user;
    user.id = 1;
    user.email = u"bench@x.io"_s;
    user.nickname = u"bench"_s;
    user.avatarEmoji = u"🐱"_s;
    user.createdAt = user.lastActiveAt = user.updatedAt = QDateTime::currentDateTimeUtc();
    defaults.setValue(UserManager::currentUserKey, QString::fromUtf8(QJsonDocument(user.toJson()).toJson()));
}

/// The client of the server on 127.0.0.1:`port`, and the user manager it asks who is signed in.
class SignedInClient
{
public:
    SignedInClient(Defaults& defaults, quint16 port)
        : m_client(QStringLiteral("http://127.0.0.1:") + QString::number(port) + QStringLiteral("/api"),
            [this]() -> std::optional<qint64> {
                return m_users && m_users->currentUser() ? std::optional<qint64>(m_users->currentUser()->id)
                                                         : std::nullopt;
            })
    {
        m_users = std::make_unique<UserManager>(defaults, m_client);
    }

    [[nodiscard]] APIClient& client() { return m_client; }
    [[nodiscard]] UserManager& users() { return *m_users; }

private:
    std::unique_ptr<UserManager> m_users;
    APIClient m_client;
};

inline double mainThreadCpuMs()
{
    timespec t {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

/// Refreshes the conversation list; a failure sets `*failed`.
inline QCoro::Task<> refresh(ConversationManager& manager, bool* failed)
{
    try {
        co_await manager.refreshConversations();
    } catch (...) {
        *failed = true;
    }
}

} // namespace bench
