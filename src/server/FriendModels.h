#pragma once

#include <QDateTime>
#include <QHashFunctions>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

class JsonReader;

/// One friendship as the server lists it. Two friends are the same friend when their
/// friendship ids are equal, whatever else they hold.
struct Friend
{
    qint64 id = 0; ///< the friendship record; keys pins and deletion
    qint64 userId = 0; ///< the friend's own user id; messages go to it
    QString nickname;
    QString avatarEmoji;
    QDateTime friendSince;

    [[nodiscard]] static Friend fromJson(const JsonReader& reader);
    [[nodiscard]] QJsonObject toJson() const;

    friend bool operator==(const Friend& a, const Friend& b) { return a.id == b.id; }
    friend size_t qHash(const Friend& f, size_t seed = 0) noexcept { return ::qHash(f.id, seed); }
};

/// A direct message pushed over the friend-message socket.
struct FriendMessage
{
    qint64 id = 0;
    qint64 senderId = 0;
    QString senderNickname;
    QString senderAvatar;
    qint64 receiverId = 0;
    QString content;
    QDateTime timestamp;
    bool isOffline = false;

    [[nodiscard]] static FriendMessage fromJson(const JsonReader& reader);
    [[nodiscard]] QJsonObject toJson() const;
};

/// Reply of "/friends/generate-code" and "/friends/my-code".
struct GenerateCodeResponse
{
    bool success = false;
    std::optional<QString> code;
    std::optional<QString> message;

    [[nodiscard]] static GenerateCodeResponse fromJson(const JsonReader& reader);
    [[nodiscard]] QJsonObject toJson() const;
};

/// Reply of "/friends/add".
struct AddFriendResponse
{
    bool success = false;
    QString message;
    std::optional<Friend> friendRecord; ///< key "friend"

    [[nodiscard]] static AddFriendResponse fromJson(const JsonReader& reader);
    [[nodiscard]] QJsonObject toJson() const;
};

/// Reply of "/friends/list". A refusal may explain itself in "message", which is read
/// leniently: any fault there leaves it empty.
struct FriendListResponse
{
    bool success = false;
    QList<Friend> friends;
    std::optional<QString> message;

    [[nodiscard]] static FriendListResponse fromJson(const JsonReader& reader);
    [[nodiscard]] QJsonObject toJson() const;
};

/// Reply of a friend deletion.
struct FriendAPIResponse
{
    bool success = false;
    QString message;

    [[nodiscard]] static FriendAPIResponse fromJson(const JsonReader& reader);
    [[nodiscard]] QJsonObject toJson() const;
};
