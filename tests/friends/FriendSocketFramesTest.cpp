#include "friends/FriendSocketFrames.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Kind = FriendSocketFrames::Incoming::Kind;

namespace {

const QByteArray goodData = R"({"messageId":7,"senderId":2,"senderNickname":"<b>阿花</b>","senderAvatar":"🐱",
    "receiverId":1,"content":"<i>你好</i> & 再见","timestamp":"2024-05-01T08:30:00.250Z","isOffline":true})";

QJsonObject parse(const QByteArray& frame)
{
    return QJsonDocument::fromJson(frame).object();
}

} // namespace

TEST(FriendSocketFrames, ClassifiesEveryFrameTheServerMaySend)
{
    struct Case
    {
        const char* name;
        QByteArray text;
        Kind kind;
        QString type;
    };
    const Case cases[] = {
        { "not JSON", "hello", Kind::dropped, {} },
        { "JSON array", "[1,2]", Kind::dropped, {} },
        { "no type", R"({"data":{}})", Kind::dropped, {} },
        { "type not a string", R"({"type":5})", Kind::dropped, {} },
        { "message without data", R"({"type":"friend_message"})", Kind::withoutData, u"friend_message"_s },
        { "message with array data", R"({"type":"friend_message","data":[]})", Kind::withoutData, u"friend_message"_s },
        { "auth accepted", R"({"type":"auth_success","userId":1})", Kind::authSuccess, u"auth_success"_s },
        { "auth refused", R"({"type":"auth_error"})", Kind::authError, u"auth_error"_s },
        { "pong", R"({"type":"pong"})", Kind::pong, u"pong"_s },
        { "unknown type", R"({"type":"typing"})", Kind::unknown, u"typing"_s },
        { "message lacking isOffline",
            R"({"type":"friend_message","data":{"messageId":1,"senderId":2,"senderNickname":"a","senderAvatar":"b",
            "receiverId":3,"content":"c","timestamp":"2024-05-01T08:30:00Z"}})",
            Kind::badMessage, u"friend_message"_s },
        { "good message", R"({"type":"friend_message","data":)" + goodData + "}", Kind::friendMessage,
            u"friend_message"_s },
        { "oversized frame", R"({"type":"pong","pad":")" + QByteArray(FriendSocketFrames::maxFrameBytes, 'x') + "\"}",
            Kind::tooLarge, {} },
    };
    for (const Case& c : cases) {
        const auto frame = FriendSocketFrames::decode(c.text);
        EXPECT_EQ(frame.kind, c.kind) << c.name;
        EXPECT_EQ(frame.type, c.type) << c.name;
        EXPECT_EQ(frame.message.has_value(), c.kind == Kind::friendMessage) << c.name;
    }
}

TEST(FriendSocketFrames, OutgoingFramesCarryTheirFields)
{
    EXPECT_EQ(parse(FriendSocketFrames::auth(42)),
        (QJsonObject { { u"type"_s, u"auth"_s }, { u"token"_s, u"tamsel-uid-42"_s } }));
    EXPECT_EQ(parse(FriendSocketFrames::ping()), (QJsonObject { { u"type"_s, u"ping"_s } }));
    const QJsonObject delivered = parse(FriendSocketFrames::delivered({ 9007199254740991 }));
    EXPECT_EQ(delivered.value(u"type"_s), u"delivered"_s);
    ASSERT_TRUE(delivered.value(u"messageIds"_s).isArray());
    EXPECT_EQ(delivered.value(u"messageIds"_s).toArray().at(0).toInteger(), 9007199254740991);
}
