#pragma once

#include "server/FriendModels.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

/// The text frames of the friend-message socket, read and written as JSON objects with a
/// string "type". Pure functions: no socket, no log.
namespace FriendSocketFrames {

/// Frames larger than this are not parsed at all: no frame of the contract comes near it,
/// and one that does would only fill the log and the bubbles.
inline constexpr qsizetype maxFrameBytes = 64 * 1024;

/// The server expects this before the user id in the authentication token.
inline constexpr char authTokenPrefix[] = "tamsel-uid-";

struct Incoming
{
    enum class Kind {
        dropped, ///< not a JSON object with a string "type", or a message without object "data"
        tooLarge, ///< over maxFrameBytes; not parsed
        authSuccess,
        authError,
        pong,
        friendMessage, ///< `message` holds it
        badMessage, ///< a friend message that did not decode; `error` says why
        unknown, ///< any other type
    };
    Kind kind = Kind::dropped;
    QString type;
    std::optional<FriendMessage> message;
    QString error;
};

[[nodiscard]] Incoming decode(const QByteArray& utf8);

[[nodiscard]] QByteArray auth(qint64 userId);
[[nodiscard]] QByteArray ping();
[[nodiscard]] QByteArray delivered(const QList<qint64>& messageIds);

} // namespace FriendSocketFrames
