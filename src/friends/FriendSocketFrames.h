#pragma once

#include "server/FriendModels.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

/// The text frames of the friend-message socket, read and written as JSON objects with a
/// string "type". Pure functions: no socket, no log.
namespace FriendSocketFrames {

/// Frames larger than this are ignored, except friend messages: no other frame of the
/// contract comes near it. A friend message is the server's until acknowledged, so one of any
/// size the socket takes is read, shown cut and acknowledged, or it would come back forever.
inline constexpr qsizetype maxFrameBytes = 64 * 1024;
/// A friend message's text is cut after this many characters (UTF-16 units, never inside
/// an emoji), and `cutNotice` follows: a bubble cannot show more, and the log and the held
/// messages stay small.
inline constexpr qsizetype maxContentLength = 16 * 1024;
inline constexpr char16_t cutNotice[] = u"\n……（消息过长，后面的内容未显示）";

/// The server expects this before the user id in the authentication token.
inline constexpr char authTokenPrefix[] = "tamsel-uid-";

struct Incoming
{
    enum class Kind {
        dropped, ///< not a JSON object with a string "type"
        withoutData, ///< a friend message whose "data" is missing or no object: only its type is read
        tooLarge, ///< over maxFrameBytes and no friend message
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
    bool cut = false; ///< the message's text was too long and ends in cutNotice
};

[[nodiscard]] Incoming decode(const QByteArray& utf8);

[[nodiscard]] QByteArray auth(qint64 userId);
[[nodiscard]] QByteArray ping();
[[nodiscard]] QByteArray delivered(const QList<qint64>& messageIds);

} // namespace FriendSocketFrames
