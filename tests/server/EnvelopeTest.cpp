// The reply envelope and the request bodies: which replies decode, and what bodies look like.
#include "server/APIResponse.h"
#include "server/DriftUser.h"
#include "server/RequestRecords.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

template<JsonRecord T>
std::optional<T> tryDecode(const QByteArray& text, QString* error = nullptr)
{
    try {
        return decodeJson<T>(text);
    } catch (const JsonDecodeError& e) {
        if (error)
            *error = e.description();
        return std::nullopt;
    }
}

const QByteArray bottle = R"({"id":"b1","content":"x","sender_id":1,"sender_name":"a","sender_emoji":"🐱",
    "status":"floating","theme":[],"bottle_type":"normal","view_count":0,"passed_count":0,"virtual_distance":0,
    "virtual_path":[],"created_at":"2024-05-01T08:30:00Z","updated_at":"2024-05-01T08:30:00Z"})";

} // namespace

TEST(Envelope, SuccessAndMessageAreRequiredTheRestOptional)
{
    using Users = APIResponse<EmptyResponse>;
    EXPECT_FALSE(tryDecode<Users>(R"({"success":true,"data":{}})"));
    EXPECT_FALSE(tryDecode<Users>(R"({"success":true,"message":null})"));
    EXPECT_FALSE(tryDecode<Users>(R"({"success":"true","message":"m"})"));
    EXPECT_FALSE(tryDecode<Users>(R"({"success":true,"message":"m","isNew":"yes"})"));
    EXPECT_FALSE(tryDecode<Users>(R"({"success":true,"message":"m","count":1.5})"));

    const auto nulls = tryDecode<APIResponse<QList<DriftUser>>>(
        R"({"success":true,"message":"m","data":null,"error":null,"count":null,"isNew":null,"trace":{"x":1}})");
    ASSERT_TRUE(nulls);
    EXPECT_FALSE(nulls->data);
    EXPECT_FALSE(nulls->error);
    EXPECT_FALSE(nulls->count);
    EXPECT_FALSE(nulls->isNew);

    const auto full = tryDecode<Users>(R"({"success":false,"message":"m","error":"E","count":3,"isNew":true})");
    ASSERT_TRUE(full);
    EXPECT_EQ(full->error, u"E"_s);
    EXPECT_EQ(full->count, 3);
    EXPECT_EQ(full->isNew, true);
    EXPECT_EQ(decodeJson<Users>(QJsonDocument(full->toJson()).toJson()).count, 3);
    EXPECT_FALSE((APIResponse<EmptyResponse> { true, u"m"_s, {}, {}, {}, {} }.toJson().contains(u"data"_s)));
}

TEST(Envelope, DeleteReplyIgnoresWhatDataHolds)
{
    for (const char* data :
        { "", R"(,"data":null)", R"(,"data":{})", R"(,"data":[1,2])", R"(,"data":"text")", R"(,"data":0)" }) {
        const QByteArray text = QByteArray(R"({"success":true,"message":"ok")") + data + '}';
        const auto r = tryDecode<APIResponse<EmptyResponse>>(text);
        ASSERT_TRUE(r) << text.toStdString();
        EXPECT_EQ(r->data.has_value(), QByteArray(data).contains(':') && !QByteArray(data).contains("null"));
    }
}

TEST(Envelope, OneBadElementFailsTheWholeListAndSaysWhere)
{
    QJsonArray list;
    list.append(QJsonDocument::fromJson(bottle).object());
    QJsonObject broken = QJsonDocument::fromJson(bottle).object();
    broken.remove(u"view_count"_s);
    list.append(broken);
    const QJsonObject reply { { u"success"_s, true }, { u"message"_s, u"m"_s }, { u"data"_s, list } };
    QString error;
    EXPECT_FALSE(tryDecode<APIResponse<QList<DriftBottle>>>(QJsonDocument(reply).toJson(), &error));
    EXPECT_TRUE(error.contains(u"data[1].view_count"_s)) << error.toStdString();
    EXPECT_FALSE(tryDecode<APIResponse<QList<DriftBottle>>>(R"({"success":true,"message":"m","data":{}})"));
}

TEST(Envelope, ConversationHistoryNeedsItsReplies)
{
    const QByteArray withoutReplies = R"({"success":true,"message":"m","data":{"bottle":)" + bottle + "}}";
    EXPECT_FALSE(tryDecode<APIResponse<ConversationHistoryResponse>>(withoutReplies));
    const QByteArray empty = R"({"success":true,"message":"m","data":{"bottle":)" + bottle + R"(,"replies":[]}})";
    const auto history = tryDecode<APIResponse<ConversationHistoryResponse>>(empty);
    ASSERT_TRUE(history && history->data);
    EXPECT_TRUE(history->data->replies.isEmpty());
    EXPECT_EQ(history->data->bottle.id, u"b1"_s);
}

TEST(Envelope, NotJsonIsASyntaxError)
{
    for (const QByteArray& text : { QByteArray(), QByteArray("  "), QByteArray("{"), QByteArray("<html>"),
             QByteArray("{\"success\":true,\"message\":\"\xff\"}") }) {
        try {
            (void)decodeJson<APIResponse<EmptyResponse>>(text);
            ADD_FAILURE() << text.toStdString();
        } catch (const JsonDecodeError& e) {
            EXPECT_EQ(e.kind(), JsonDecodeError::Kind::Syntax);
        }
    }
}

TEST(RequestBodies, FieldsWithoutValueAreLeftOut)
{
    EXPECT_EQ(UpdateUserRequest {}.toJson(), QJsonObject());
    EXPECT_EQ(QJsonDocument(UpdateUserRequest {}.toJson()).toJson(QJsonDocument::Compact), "{}");
    EXPECT_EQ((UpdateUserRequest { u"新名字"_s, {}, {} }.toJson()), (QJsonObject { { u"nickname"_s, u"新名字"_s } }));
    EXPECT_EQ((UpdateUserRequest { {}, {}, u""_s }.toJson()), (QJsonObject { { u"bio"_s, u""_s } }))
        << "an empty text is a value";

    const QJsonObject thrown
        = ThrowBottleRequest { 7, u"阿猫"_s, u"🐱"_s, u"hi"_s, {}, BottleType::wish, false }.toJson();
    EXPECT_EQ(thrown.value(u"theme"_s), QJsonValue(QJsonArray()));
    EXPECT_EQ(thrown.value(u"bottleType"_s), QJsonValue(u"wish"_s));
    EXPECT_EQ(thrown.value(u"isAnonymous"_s), QJsonValue(false));
    EXPECT_EQ(thrown.size(), 7);

    EXPECT_EQ(
        (DeleteRequest { 7, u"b1"_s }.toJson()), (QJsonObject { { u"userId"_s, 7 }, { u"bottleId"_s, u"b1"_s } }));
    const auto sent = decodeJson<SendMessageResponse>(R"({"success":true,"message":"ok"})");
    EXPECT_FALSE(sent.messageId);
    EXPECT_FALSE(sent.delivered);
}

namespace {

template<JsonRecord T>
T roundTrip(const T& record)
{
    return T::fromJson(JsonReader(record.toJson()));
}

} // namespace

// Each body reads back with the keys it writes; optional means absent or null, and every
// other field is required and typed.
TEST(RequestBodies, EachReadsBackWhatItWrites)
{
    const auto same = [](const auto& body) { return roundTrip(body).toJson() == body.toJson(); };
    EXPECT_TRUE(same(CreateUserRequest { u"a@x.io"_s, u"阿猫"_s, u"🐱"_s, u"p\"w"_s }));
    EXPECT_TRUE(same(UpdateUserRequest {}));
    EXPECT_TRUE(same(UpdateUserRequest { u"新名字"_s, u"🐶"_s, u""_s }));
    EXPECT_TRUE(same(ThrowBottleRequest { 7, u"匿名"_s, u"🐱"_s, u"hi"_s, { u"晚安"_s }, BottleType::lucky, true }));
    EXPECT_TRUE(same(ReplyBottleRequest { u"b1"_s, 2, 9007199254740993, u"你好"_s })) << "a 64-bit id survives";
    EXPECT_TRUE(same(DeleteRequest { 7, u"b1"_s }));
    EXPECT_TRUE(same(SendMessageRequest { 3, u"在吗"_s }));
    const auto update = decodeJson<UpdateUserRequest>(R"({"nickname":null,"bio":"猫","extra":1})");
    EXPECT_FALSE(update.nickname);
    EXPECT_EQ(update.bio, u"猫"_s);

    EXPECT_THROW((void)decodeJson<UpdateUserRequest>(R"({"nickname":7})"), JsonDecodeError);
    EXPECT_THROW((void)decodeJson<DeleteRequest>(R"({"userId":null,"bottleId":"b1"})"), JsonDecodeError);
    EXPECT_THROW((void)decodeJson<ThrowBottleRequest>(R"({"senderId":1,"senderName":"a","senderEmoji":"🐱",
        "content":"x","theme":[],"bottleType":"Wish","isAnonymous":false})"),
        JsonDecodeError);
}
