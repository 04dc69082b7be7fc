// How the bottle, reply, conversation, user and friend records read the server's JSON:
// which faults fail a record, which turn into nothing, and that stored forms read back.
#include "server/APIResponse.h"
#include "server/DriftBottleModels.h"
#include "server/DriftUser.h"
#include "server/FriendModels.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QJsonObject bottleJson()
{
    return QJsonDocument::fromJson(R"({"id":"b1","content":"你好","sender_id":7,"sender_name":"阿猫","sender_emoji":"🐱",
        "status":"floating","theme":["晚安"],"bottle_type":"colorful","view_count":3,"passed_count":1,
        "virtual_distance":120,"virtual_path":["上海","东京"],"created_at":"2024-05-01T08:30:00Z",
        "updated_at":"2024-05-01T09:00:00+01:00","extra":"ignored"})")
        .object();
}

QJsonObject conversationJson()
{
    return QJsonDocument::fromJson(
        R"({"bottle_id":"b1","other_user_id":9,"other_user_name":"小狗","other_user_emoji":"🐶",
        "last_message":"hi","final_time":"2024-05-01T08:30:00.250Z","conversation_type":"received","status":"picked",
        "has_reply":1,"unread_count":2})")
        .object();
}

QJsonObject userJson()
{
    return QJsonDocument::fromJson(R"({"id":42,"email":"a@x.io","nickname":"阿猫","avatar_emoji":"🐱","bio":null,
        "level":2,"exp":30,"shells":5,"badges":["新手"],"stats":{"sent_count":3},"preferences":{"themes":[],
        "auto_reply":false,"allow_anonymous":true,"notification_enabled":true},"created_at":"2024-05-01T08:30:00.999Z",
        "last_active_at":"2024-05-02T08:30:00Z","updated_at":"2024-05-02T08:30:00Z","report_count":0,"is_banned":false})")
        .object();
}

QJsonObject friendJson()
{
    return QJsonObject { { u"id"_s, 3 }, { u"friend_id"_s, 9 }, { u"nickname"_s, u"小狗"_s },
        { u"avatar_emoji"_s, u"🐶"_s }, { u"friend_since"_s, u"2024-05-01T08:30:00Z"_s } };
}

template<JsonRecord T>
T decode(const QJsonObject& o)
{
    return T::fromJson(JsonReader(o));
}

template<JsonRecord T>
JsonDecodeError failure(const QJsonObject& o)
{
    try {
        (void)decode<T>(o);
    } catch (const JsonDecodeError& e) {
        return e;
    }
    ADD_FAILURE() << "decoding should have failed: " << QJsonDocument(o).toJson().toStdString();
    return JsonDecodeError(JsonDecodeError::Kind::Syntax, {}, {});
}

QJsonObject with(QJsonObject o, const QString& key, const QJsonValue& v)
{
    if (v.isUndefined())
        o.remove(key);
    else
        o.insert(key, v);
    return o;
}

QJsonObject bottleWith(const QString& key, const QJsonValue& v)
{
    return with(bottleJson(), key, v);
}
QJsonObject conversationWith(const QString& key, const QJsonValue& v)
{
    return with(conversationJson(), key, v);
}
QJsonObject userWith(const QString& key, const QJsonValue& v)
{
    return with(userJson(), key, v);
}

const QJsonValue absent = QJsonValue(QJsonValue::Undefined);
const QJsonValue null = QJsonValue(QJsonValue::Null);

} // namespace

TEST(BottleRecord, RequiredFieldsFailAndOptionalOnesTurnToNothing)
{
    const DriftBottle b = decode<DriftBottle>(bottleJson());
    EXPECT_EQ(b.id, u"b1"_s);
    EXPECT_EQ(b.bottleType, BottleType::colorful);
    EXPECT_EQ(b.virtualPath, (QStringList { u"上海"_s, u"东京"_s }));
    EXPECT_EQ(b.updatedAt, QDateTime(QDate(2024, 5, 1), QTime(8, 0), Qt::UTC));
    EXPECT_FALSE(b.isAnonymous);

    EXPECT_EQ(failure<DriftBottle>(bottleWith(u"view_count"_s, absent)).kind(), JsonDecodeError::Kind::KeyNotFound);
    EXPECT_EQ(
        failure<DriftBottle>(bottleWith(u"is_anonymous"_s, u"true"_s)).kind(), JsonDecodeError::Kind::TypeMismatch);
    EXPECT_EQ(failure<DriftBottle>(bottleWith(u"status"_s, u"sunk"_s)).kind(), JsonDecodeError::Kind::DataCorrupted);
    EXPECT_EQ(failure<DriftBottle>(bottleWith(u"sender_id"_s, 7.5)).kind(), JsonDecodeError::Kind::TypeMismatch);
    EXPECT_EQ(failure<DriftBottle>(bottleWith(u"content"_s, null)).kind(), JsonDecodeError::Kind::ValueNotFound);
    EXPECT_EQ(decode<DriftBottle>(bottleWith(u"is_anonymous"_s, null)).isAnonymous, std::nullopt);
    EXPECT_EQ(decode<DriftBottle>(bottleWith(u"picked_by"_s, 5)).pickedBy, 5);

    for (const QJsonValue& pickedAt : { absent, null, QJsonValue(12), QJsonValue(u"昨天"_s) })
        EXPECT_FALSE(decode<DriftBottle>(bottleWith(u"picked_at"_s, pickedAt)).pickedAt);
    EXPECT_TRUE(decode<DriftBottle>(bottleWith(u"picked_at"_s, u"2024-05-01T08:30:00.5Z"_s)).pickedAt);
}

TEST(BottleRecord, DatesUseTheFallbacksAndNameTheUnreadableText)
{
    const DriftBottle b = decode<DriftBottle>(bottleWith(u"created_at"_s, u"2024-05-01T08:30:00.250Z"_s));
    EXPECT_EQ(b.createdAt, QDateTime(QDate(2024, 5, 1), QTime(8, 30, 0, 250), Qt::UTC));

    const JsonDecodeError e = failure<DriftBottle>(bottleWith(u"created_at"_s, u"2024-05-01 08:30"_s));
    EXPECT_EQ(e.kind(), JsonDecodeError::Kind::DataCorrupted);
    EXPECT_EQ(e.detail(), u"无法解析日期: 2024-05-01 08:30"_s);
    EXPECT_EQ(e.path(), u"created_at"_s);
    EXPECT_EQ(
        failure<DriftBottle>(bottleWith(u"updated_at"_s, 1714552200)).kind(), JsonDecodeError::Kind::TypeMismatch);
}

TEST(BottleRecord, StoredFormReadsBackFieldForFieldToTheSecond)
{
    DriftBottle b = decode<DriftBottle>(bottleWith(u"created_at"_s, u"2024-05-01T08:30:00.750Z"_s));
    b.pickedAt = QDateTime(QDate(2024, 5, 2), QTime(1, 2, 3), Qt::UTC);
    const QJsonObject stored = b.toJson();
    EXPECT_FALSE(stored.contains(u"is_anonymous"_s));
    EXPECT_FALSE(stored.contains(u"picked_by"_s));
    const DriftBottle back = decode<DriftBottle>(stored);
    EXPECT_EQ(back.createdAt, QDateTime(QDate(2024, 5, 1), QTime(8, 30), Qt::UTC));
    EXPECT_EQ(back.pickedAt, b.pickedAt);
    EXPECT_EQ(back.theme, b.theme);
    EXPECT_EQ(back.status, b.status);
    EXPECT_EQ(back.virtualDistance, 120);
    EXPECT_FALSE(back.isAnonymous);
    EXPECT_FALSE(back.pickedBy);
}

TEST(ConversationRecord, LenientFieldsNeverFailTheRecord)
{
    const Conversation c = decode<Conversation>(conversationJson());
    EXPECT_EQ(c.id(), u"b1"_s);
    EXPECT_TRUE(c.hasReply);
    EXPECT_EQ(c.conversationType, ConversationType::received);
    EXPECT_EQ(c.unreadCount, 2);

    EXPECT_TRUE(decode<Conversation>(conversationWith(u"has_reply"_s, true)).hasReply);
    EXPECT_FALSE(decode<Conversation>(conversationWith(u"has_reply"_s, 0)).hasReply);
    EXPECT_FALSE(decode<Conversation>(conversationWith(u"has_reply"_s, false)).hasReply);
    EXPECT_EQ(
        failure<Conversation>(conversationWith(u"has_reply"_s, absent)).kind(), JsonDecodeError::Kind::KeyNotFound);
    EXPECT_EQ(
        failure<Conversation>(conversationWith(u"has_reply"_s, u"yes"_s)).kind(), JsonDecodeError::Kind::TypeMismatch);

    for (const QJsonValue& type :
        { QJsonValue(u"sent"_s), QJsonValue(u"RECEIVED"_s), QJsonValue(u""_s), QJsonValue(1), absent })
        EXPECT_EQ(decode<Conversation>(conversationWith(u"conversation_type"_s, type)).conversationType,
            ConversationType::sent);

    const Conversation loose = decode<Conversation>(
        with(with(conversationWith(u"other_user_id"_s, u"9"_s), u"other_user_name"_s, 5), u"unread_count"_s, true));
    EXPECT_FALSE(loose.otherUserId);
    EXPECT_FALSE(loose.otherUserName);
    EXPECT_FALSE(loose.unreadCount);
    EXPECT_EQ(loose.otherUserEmoji, u"🐶"_s);

    EXPECT_EQ(
        failure<Conversation>(conversationWith(u"status"_s, u"lost"_s)).kind(), JsonDecodeError::Kind::DataCorrupted);
    EXPECT_EQ(
        failure<Conversation>(conversationWith(u"final_time"_s, absent)).kind(), JsonDecodeError::Kind::KeyNotFound);

    const Conversation back = decode<Conversation>(c.toJson());
    EXPECT_EQ(back.otherUserId, 9);
    EXPECT_TRUE(back.hasReply);
    EXPECT_EQ(back.conversationType, ConversationType::received);
}

TEST(ReplyRecord, EveryFieldIsRequired)
{
    const QJsonObject json
        = QJsonDocument::fromJson(R"({"id":"r1","original_bottle_id":"b1","sender_id":1,"receiver_id":2,
        "content":"嗨","is_read":false,"created_at":"2024-05-01T08:30:00Z","conversation_index":1})")
              .object();
    const BottleReply r = decode<BottleReply>(json);
    EXPECT_EQ(r.conversationIndex, 1);
    EXPECT_EQ(decode<BottleReply>(r.toJson()).createdAt, r.createdAt);
    for (const QString& key : json.keys()) {
        SCOPED_TRACE(key.toStdString());
        EXPECT_EQ(failure<BottleReply>(with(json, key, absent)).kind(), JsonDecodeError::Kind::KeyNotFound);
    }
}

TEST(UserRecord, NestedBlocksFailAloneAndTheAccountSurvives)
{
    const DriftUser u = decode<DriftUser>(userJson());
    EXPECT_EQ(u.id, 42);
    EXPECT_FALSE(u.bio);
    ASSERT_TRUE(u.stats);
    EXPECT_EQ(u.stats->sentCount, 3);
    EXPECT_EQ(u.stats->penPalCount, 0);
    EXPECT_EQ(u.createdAt, QDateTime(QDate(2024, 5, 1), QTime(8, 30, 0, 999), Qt::UTC))
        << "milliseconds read by the fallback";

    const DriftUser emptyStats = decode<DriftUser>(userWith(u"stats"_s, QJsonObject()));
    ASSERT_TRUE(emptyStats.stats);
    EXPECT_EQ(emptyStats.stats->receivedCount, 0);
    EXPECT_FALSE(decode<DriftUser>(userWith(u"stats"_s, QJsonObject { { u"sent_count"_s, u"3"_s } })).stats);
    EXPECT_FALSE(decode<DriftUser>(userWith(u"stats"_s, 7)).stats);
    QJsonObject prefs = userJson().value(u"preferences"_s).toObject();
    prefs.remove(u"auto_reply"_s);
    EXPECT_FALSE(decode<DriftUser>(userWith(u"preferences"_s, prefs)).preferences);

    for (const QJsonValue& banUntil : { absent, null, QJsonValue(u"never"_s), QJsonValue(3) })
        EXPECT_FALSE(decode<DriftUser>(userWith(u"ban_until"_s, banUntil)).banUntil);
    EXPECT_EQ(failure<DriftUser>(userWith(u"is_banned"_s, absent)).kind(), JsonDecodeError::Kind::KeyNotFound);
    EXPECT_EQ(failure<DriftUser>(userWith(u"bio"_s, 5)).kind(), JsonDecodeError::Kind::TypeMismatch);
    EXPECT_EQ(failure<DriftUser>(userWith(u"ban_reason"_s, false)).kind(), JsonDecodeError::Kind::TypeMismatch);

    EXPECT_EQ(userModeFromRaw(u"online"), UserMode::online);
    EXPECT_FALSE(userModeFromRaw(u"Online"));
    EXPECT_FALSE(userModeFromRaw(u""));
}

TEST(UserRecord, StoredFormReadsBackEveryField)
{
    DriftUser u = decode<DriftUser>(userJson());
    u.bio = u"喜欢猫"_s;
    u.banReason = u"测试"_s;
    u.banUntil = QDateTime(QDate(2030, 1, 1), QTime(0, 0), Qt::UTC);
    const DriftUser back = decode<DriftUser>(u.toJson());
    EXPECT_EQ(back.toJson(), u.toJson());
    EXPECT_EQ(back.createdAt, QDateTime(QDate(2024, 5, 1), QTime(8, 30), Qt::UTC)) << "stored dates keep whole seconds";
    EXPECT_EQ(back.bio, u.bio);
    EXPECT_EQ(back.banUntil, u.banUntil);
    ASSERT_TRUE(back.preferences);
    EXPECT_TRUE(back.preferences->allowAnonymous);

    DriftUser bare = u;
    bare.bio.reset();
    bare.stats.reset();
    bare.preferences.reset();
    bare.banReason.reset();
    bare.banUntil.reset();
    const QJsonObject stored = bare.toJson();
    for (const char16_t* key : { u"bio", u"stats", u"preferences", u"ban_reason", u"ban_until" })
        EXPECT_FALSE(stored.contains(QString::fromUtf16(key)));
    EXPECT_FALSE(decode<DriftUser>(stored).stats);
}

TEST(FriendRecords, FriendSinceAndIdentity)
{
    EXPECT_EQ(decode<Friend>(friendJson()).friendSince, QDateTime(QDate(2024, 5, 1), QTime(8, 30), Qt::UTC));
    EXPECT_EQ(decode<Friend>(with(friendJson(), u"friend_since"_s, u"2024-05-01T08:30:00.250+0000"_s)).friendSince,
        QDateTime(QDate(2024, 5, 1), QTime(8, 30, 0, 250), Qt::UTC));
    const JsonDecodeError unreadable = failure<Friend>(with(friendJson(), u"friend_since"_s, u"2024-05-01 08:30"_s));
    EXPECT_EQ(unreadable.detail(), u"无法解析日期: 2024-05-01 08:30"_s);
    EXPECT_EQ(
        failure<Friend>(with(friendJson(), u"friend_since"_s, 1714552200)).kind(), JsonDecodeError::Kind::TypeMismatch);

    Friend a = decode<Friend>(friendJson());
    Friend b = a;
    b.nickname = u"别名"_s;
    EXPECT_EQ(a, b);
    EXPECT_EQ(QSet<Friend>({ a, b }).size(), 1);
    EXPECT_EQ(decode<Friend>(a.toJson()).userId, 9);
}

TEST(FriendRecords, RepliesFollowTheirRequiredAndOptionalKeys)
{
    EXPECT_EQ(failure<FriendListResponse>(QJsonObject { { u"success"_s, false } }).kind(),
        JsonDecodeError::Kind::KeyNotFound);
    EXPECT_FALSE(decode<FriendListResponse>(
        QJsonObject { { u"success"_s, true }, { u"friends"_s, QJsonArray() }, { u"message"_s, 7 } })
                     .message)
        << "a message of another type is ignored, as every key the record does not name";
    const auto added = decode<AddFriendResponse>(QJsonObject { { u"success"_s, true }, { u"message"_s, u"ok"_s } });
    EXPECT_FALSE(added.friendRecord);
    QJsonObject brokenFriend = friendJson();
    brokenFriend.remove(u"nickname"_s);
    const JsonDecodeError inner = failure<AddFriendResponse>(
        QJsonObject { { u"success"_s, true }, { u"message"_s, u"ok"_s }, { u"friend"_s, brokenFriend } });
    EXPECT_EQ(inner.path(), u"friend.nickname"_s);

    const auto code = decode<GenerateCodeResponse>(QJsonObject { { u"success"_s, true }, { u"code"_s, null } });
    EXPECT_FALSE(code.code);
    EXPECT_FALSE(code.toJson().contains(u"code"_s));
    EXPECT_EQ(failure<GenerateCodeResponse>(QJsonObject { { u"success"_s, true }, { u"code"_s, 123456 } }).kind(),
        JsonDecodeError::Kind::TypeMismatch);

    const QJsonObject message = QJsonDocument::fromJson(R"({"messageId":5,"senderId":9,"senderNickname":"小狗",
        "senderAvatar":"🐶","receiverId":42,"content":"在吗","timestamp":"2024-05-01T08:30:00.000Z","isOffline":true})")
                                    .object();
    EXPECT_TRUE(decode<FriendMessage>(message).isOffline);
    EXPECT_EQ(failure<FriendMessage>(with(message, u"isOffline"_s, absent)).kind(), JsonDecodeError::Kind::KeyNotFound);
}
