#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <optional>

class JsonReader;

/// The account mode: stand-alone or talking to the companion server.
enum class UserMode { offline, online };

[[nodiscard]] QString rawValue(UserMode mode);
/// Only the exact raw values name a mode.
[[nodiscard]] std::optional<UserMode> userModeFromRaw(QStringView raw);

/// The user's counters; a missing or null count reads 0.
struct UserStats
{
    qint64 sentCount = 0;
    qint64 receivedCount = 0;
    qint64 repliedCount = 0;
    qint64 penPalCount = 0;

    [[nodiscard]] static UserStats fromJson(const JsonReader& reader);
    [[nodiscard]] QJsonObject toJson() const;
};

/// The user's server-side settings; every key is required.
struct UserPreferences
{
    QStringList themes;
    bool autoReply = false;
    bool allowAnonymous = false;
    bool notificationEnabled = false;

    [[nodiscard]] static UserPreferences fromJson(const JsonReader& reader);
    [[nodiscard]] QJsonObject toJson() const;
};

/// One account as the server describes it; the signed-in user is kept in this form.
struct DriftUser
{
    qint64 id = 0;
    QString email;
    QString nickname;
    QString avatarEmoji;
    std::optional<QString> bio;
    qint64 level = 0;
    qint64 exp = 0;
    qint64 shells = 0;
    QStringList badges;
    std::optional<UserStats> stats;
    std::optional<UserPreferences> preferences;
    QDateTime createdAt;
    QDateTime lastActiveAt;
    QDateTime updatedAt;
    qint64 reportCount = 0;
    bool isBanned = false;
    std::optional<QString> banReason;
    std::optional<QDateTime> banUntil;

    [[nodiscard]] static DriftUser fromJson(const JsonReader& reader);
    [[nodiscard]] QJsonObject toJson() const;
};
