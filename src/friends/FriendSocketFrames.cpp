#include "friends/FriendSocketFrames.h"

#include "platform/JsonReader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace FriendSocketFrames {

namespace {

QByteArray write(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

} // namespace

Incoming decode(const QByteArray& utf8)
{
    Incoming frame;
    if (utf8.size() > maxFrameBytes) {
        frame.kind = Incoming::Kind::tooLarge;
        return frame;
    }
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
        if (!data.isObject())
            return frame; // dropped, as the contract has it
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
