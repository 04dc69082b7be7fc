#include "core/Reminder.h"

#include "platform/JsonReader.h"

#include <QJsonDocument>
#include <QTimeZone>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(ReminderType, RawValuesNamesAndEmoji)
{
    EXPECT_EQ(rawValue(ReminderType::eyeRest), u"eyeRest"_s);
    EXPECT_EQ(reminderTypeFromRaw(u"posture"_s), ReminderType::posture);
    EXPECT_FALSE(reminderTypeFromRaw(u"Rest"_s));
    EXPECT_FALSE(reminderTypeFromRaw(u""_s));
    EXPECT_EQ(displayName(ReminderType::hydration), u"喝水提醒"_s);

    // The runner is five code points: person running, skin tone, joiner, female sign, emoji style.
    const QList<uint> runner = emoji(ReminderType::rest).toUcs4();
    EXPECT_EQ(runner, (QList<uint> { 0x1F3C3, 0x1F3FB, 0x200D, 0x2640, 0xFE0F }));
    EXPECT_EQ(emoji(ReminderType::eyeRest).toUcs4(), (QList<uint> { 0x1F441, 0xFE0F }));
}

TEST(Reminder, StoredFormRoundTripsWithReferenceDateSeconds)
{
    Reminder reminder;
    reminder.id = u"A1"_s;
    reminder.title = u"喝水提醒"_s;
    reminder.message = u"记得喝水哦！"_s;
    reminder.type = ReminderType::hydration;
    reminder.interval = 1800;
    reminder.isEnabled = false;
    reminder.createdAt = QDateTime(QDate(2001, 1, 1), QTime(0, 1, 40, 500), QTimeZone::utc());

    QJsonObject json = reminder.toJson();
    EXPECT_EQ(json.value(u"createdAt"_s).toDouble(), 100.5);
    EXPECT_EQ(json.value(u"type"_s).toString(), u"hydration"_s);
    EXPECT_FALSE(json.contains(u"lastTriggered"_s));
    std::optional<Reminder> back = Reminder::fromJson(JsonReader(json));
    EXPECT_EQ(back->createdAt, reminder.createdAt);
    EXPECT_FALSE(back->lastTriggered);
    EXPECT_EQ(back->title, reminder.title);
    EXPECT_FALSE(back->isEnabled);

    reminder.lastTriggered = reminder.createdAt.addSecs(-3600);
    json = reminder.toJson();
    EXPECT_EQ(json.value(u"lastTriggered"_s).toDouble(), -3499.5);
    back = Reminder::fromJson(JsonReader(json));
    EXPECT_EQ(back->lastTriggered, reminder.lastTriggered);
}

TEST(Reminder, DecodingNamesWhatIsWrong)
{
    const QJsonObject good = QJsonDocument::fromJson(
        R"({"id":"x","title":"t","message":"m","type":"rest","interval":60,"isEnabled":true,"createdAt":0})")
                                 .object();
    EXPECT_EQ(Reminder::fromJson(JsonReader(good)).type, ReminderType::rest);
    QJsonObject nullLast = good;
    nullLast.insert(u"lastTriggered"_s, QJsonValue::Null);
    EXPECT_FALSE(Reminder::fromJson(JsonReader(nullLast)).lastTriggered);

    using Kind = JsonDecodeError::Kind;
    const auto failure = [&](const QString& key, const QJsonValue& value) -> std::pair<Kind, QString> {
        QJsonObject json = good;
        if (value.isUndefined())
            json.remove(key);
        else
            json.insert(key, value);
        try {
            (void)Reminder::fromJson(JsonReader(json, u"[2]"_s));
        } catch (const JsonDecodeError& error) {
            return { error.kind(), error.path() };
        }
        ADD_FAILURE() << "decoded despite " << key.toStdString();
        return {};
    };
    EXPECT_EQ(failure(u"id"_s, QJsonValue::Undefined), std::make_pair(Kind::KeyNotFound, u"[2].id"_s));
    EXPECT_EQ(failure(u"interval"_s, u"60"_s), std::make_pair(Kind::TypeMismatch, u"[2].interval"_s));
    EXPECT_EQ(failure(u"isEnabled"_s, 1), std::make_pair(Kind::TypeMismatch, u"[2].isEnabled"_s));
    EXPECT_EQ(failure(u"type"_s, u"nap"_s), std::make_pair(Kind::DataCorrupted, u"[2].type"_s));
    EXPECT_EQ(failure(u"createdAt"_s, QJsonValue::Undefined), std::make_pair(Kind::KeyNotFound, u"[2].createdAt"_s));
    EXPECT_EQ(failure(u"createdAt"_s, 1e300), std::make_pair(Kind::DataCorrupted, u"[2].createdAt"_s));
    EXPECT_EQ(failure(u"lastTriggered"_s, u"yesterday"_s), std::make_pair(Kind::TypeMismatch, u"[2].lastTriggered"_s));
    EXPECT_EQ(failure(u"title"_s, QJsonValue::Null), std::make_pair(Kind::ValueNotFound, u"[2].title"_s));
}
