#pragma once

#include "platform/Lazy.h"
#include "server/APIError.h"
#include "server/DriftBottleModels.h"
#include "server/DriftUser.h"

#include <QJsonValue>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <QCoroTask>

#include <optional>

class APIClient;
class Clock;
class Defaults;

class UserManager;

/// The signed-in user's bottles and the bottle operations: throw, pick, list and reply.
/// While the account is not online a thrown bottle stays on this machine: it joins the
/// sent list, which is kept under "OfflineSentBottles" and never uploaded.
class DriftBottleManager final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DriftBottleManager)

public:
    static const QString offlineSentBottlesKey;
    /// Stored bottles that could not be read, kept here rather than lost.
    static const QString unreadableKey;
    /// Longest bottle text, in characters as a person counts them.
    static constexpr qsizetype maxContentLength = 1000;

    DriftBottleManager(Lazy<APIClient> client, UserManager& userManager, Defaults& defaults, const Clock& clock,
        QObject* parent = nullptr);
    ~DriftBottleManager() override;

    /// Newest first.
    [[nodiscard]] const QList<DriftBottle>& sentBottles() const { return m_sentBottles; }
    /// Newest first.
    [[nodiscard]] const QList<DriftBottle>& receivedBottles() const { return m_receivedBottles; }
    /// Bottles the user kept; nothing collects one yet, so it stays empty.
    [[nodiscard]] const QList<CollectedBottle>& collectedBottles() const { return m_collectedBottles; }
    [[nodiscard]] bool isLoading() const { return m_isLoading; }
    /// The last failed server call; a later success leaves it.
    [[nodiscard]] const std::optional<APIError>& lastError() const { return m_lastError; }

    /// Throws online, or keeps the bottle locally when not online. Refuses empty text and
    /// text over the limit with an InputError; server failures are APIErrors.
    QCoro::Task<DriftBottle> throwBottle(QString content, QStringList theme, BottleType bottleType, bool isAnonymous);
    QCoro::Task<DriftBottle> pickRandomBottle();
    /// Replaces the sent list: from the server online, else from the local store.
    QCoro::Task<> fetchMySentBottles();
    /// Replaces the received list: from the server online, else empties it.
    QCoro::Task<> fetchMyReceivedBottles();
    QCoro::Task<BottleReply> replyToBottle(QString bottleId, qint64 receiverId, QString content);

Q_SIGNALS:
    void sentBottlesChanged();
    void receivedBottlesChanged();
    void isLoadingChanged(bool loading);
    /// After every failed server call, also when the same failure repeats.
    void lastErrorChanged();

private:
    [[nodiscard]] std::optional<DriftUser> onlineUser() const;
    [[nodiscard]] DriftBottle localBottle(
        const QString& content, const QStringList& theme, BottleType bottleType, bool isAnonymous) const;
    void setLoading(bool loading);
    void recordFailure(const APIError& error, const QString& prefix);
    void saveOfflineSentBottles();
    void loadOfflineSentBottles();
    /// The stored list, with what cannot be read set aside.
    [[nodiscard]] QList<DriftBottle> readStore();

    Lazy<APIClient> m_client;
    UserManager& m_userManager;
    Defaults& m_userDefaults;
    const Clock& m_clock;
    QList<DriftBottle> m_sentBottles;
    QList<DriftBottle> m_receivedBottles;
    QList<CollectedBottle> m_collectedBottles;
    bool m_isLoading = false;
    std::optional<APIError> m_lastError;
};
