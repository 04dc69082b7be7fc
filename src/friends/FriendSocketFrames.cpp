#include "friends/FriendSocketFrames.h"

#include "platform/JsonReader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextBoundaryFinder>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace FriendSocketFrames {

namespace {

QByteArray write(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

Incoming decodeAnySize(const QByteArray& utf8)
{
    Incoming frame;
    const QJsonDocument document = QJsonDocument::fromJson(utf8);
    if (!document.isObject())
        return frame;
    const QJsonObject object = document.object();
    const QJsonValue type = object.value(u"type"_s);
    if (!type.isString())
        return frame;
    frame.type = type.toString();

    if (frame.type == u"auth_success"_s) {
        frame.kind = Incoming::Kind::authSuccess;
    } else if (frame.type == u"auth_error"_s) {
        frame.kind = Incoming::Kind::authError;
    } else if (frame.type == u"pong"_s) {
        frame.kind = Incoming::Kind::pong;
    } else if (frame.type == u"friend_message"_s) {
        const QJsonValue data = object.value(u"data"_s);
        if (!data.isObject()) {
            frame.kind = Incoming::Kind::withoutData;
            return frame;
        }
        try {
            frame.message = FriendMessage::fromJson(JsonReader(data.toObject()));
            frame.kind = Incoming::Kind::friendMessage;
        } catch (const JsonDecodeError& error) {
            frame.kind = Incoming::Kind::badMessage;
            frame.error = error.description();
        }
    } else {
        frame.kind = Incoming::Kind::unknown;
    }
    return frame;
}

} // namespace

Incoming decode(const QByteArray& utf8)
{
    Incoming frame = decodeAnySize(utf8);
    if (utf8.size() > maxFrameBytes && frame.kind != Incoming::Kind::friendMessage) {
        Incoming ignored;
        ignored.kind = Incoming::Kind::tooLarge;
        return ignored;
    }
    if (frame.message && frame.message->content.size() > maxContentLength) {
        // Cut between two characters; the finder looks at a little more than is kept, so it
        // sees where the character at the limit ends without reading the whole text.
        const QString start = frame.message->content.left(maxContentLength + 64);
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, start);
        finder.setPosition(maxContentLength);
        if (!finder.isAtBoundary())
            finder.toPreviousBoundary();
        frame.message->content = start.left(std::max<qsizetype>(finder.position(), 0)) + QStringView(cutNotice);
        frame.cut = true;
    }
    return frame;
}

QByteArray auth(qint64 userId)
{
    return write({ { u"type"_s, u"auth"_s },
        { u"token"_s, QString(QString::fromLatin1(authTokenPrefix) + QString::number(userId)) } });
}

QByteArray ping()
{
    return write({ { u"type"_s, u"ping"_s } });
}

QByteArray delivered(const QList<qint64>& messageIds)
{
    QJsonArray ids;
    for (qint64 id : messageIds)
        ids.append(id);
    return write({ { u"type"_s, u"delivered"_s }, { u"messageIds"_s, ids } });
}

} // namespace FriendSocketFrames
