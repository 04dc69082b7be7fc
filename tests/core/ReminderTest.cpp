#include "core/Reminder.h"

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
    EXPECT_EQ(displayName(ReminderType::custom), u"自定义提醒"_s);

    // The runner is five code points: person running, skin tone, joiner, female sign, emoji style.
    const QList<uint> runner = emoji(ReminderType::rest).toUcs4();
    EXPECT_EQ(runner, (QList<uint>{0x1F3C3, 0x1F3FB, 0x200D, 0x2640, 0xFE0F}));
    EXPECT_EQ(emoji(ReminderType::hydration).toUcs4(), QList<uint>{0x1F4A7});
    EXPECT_EQ(emoji(ReminderType::eyeRest).toUcs4(), (QList<uint>{0x1F441, 0xFE0F}));
    EXPECT_EQ(emoji(ReminderType::posture).toUcs4(), QList<uint>{0x1F9D8});
    EXPECT_EQ(emoji(ReminderType::custom).toUcs4(), QList<uint>{0x23F0});
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
    std::optional<Reminder> back = Reminder::fromJson(json);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->createdAt, reminder.createdAt);
    EXPECT_FALSE(back->lastTriggered);
    EXPECT_EQ(back->title, reminder.title);
    EXPECT_FALSE(back->isEnabled);

    reminder.lastTriggered = reminder.createdAt.addSecs(-3600);
    json = reminder.toJson();
    EXPECT_EQ(json.value(u"lastTriggered"_s).toDouble(), -3499.5);
    back = Reminder::fromJson(json);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->lastTriggered, reminder.lastTriggered);
}

TEST(Reminder, DecodingNamesWhatIsWrong)
{
    const QJsonObject good = QJsonDocument::fromJson(
        R"({"id":"x","title":"t","message":"m","type":"rest","interval":60,"isEnabled":true,"createdAt":0})")
                                 .object();
    ASSERT_TRUE(Reminder::fromJson(good));
    QJsonObject nullLast = good;
    nullLast.insert(u"lastTriggered"_s, QJsonValue::Null);
    EXPECT_TRUE(Reminder::fromJson(nullLast));

    const auto errorFor = [&](const QString& key, const QJsonValue& value) {
        QJsonObject json = good;
        if (value.isUndefined())
            json.remove(key);
        else
            json.insert(key, value);
        QString error;
        EXPECT_FALSE(Reminder::fromJson(json, &error)) << key.toStdString();
        return error;
    };
    EXPECT_EQ(errorFor(u"id"_s, QJsonValue::Undefined), u"missing key \"id\""_s);
    EXPECT_EQ(errorFor(u"interval"_s, u"60"_s), u"key \"interval\" is not a number"_s);
    EXPECT_EQ(errorFor(u"isEnabled"_s, 1), u"key \"isEnabled\" is not a boolean"_s);
    EXPECT_EQ(errorFor(u"type"_s, u"nap"_s), u"key \"type\" holds the unknown value \"nap\""_s);
    EXPECT_EQ(errorFor(u"createdAt"_s, QJsonValue::Undefined), u"missing key \"createdAt\""_s);
    EXPECT_EQ(errorFor(u"lastTriggered"_s, u"yesterday"_s), u"key \"lastTriggered\" is not a number"_s);
    EXPECT_EQ(errorFor(u"title"_s, QJsonValue::Null), u"key \"title\" is not a string"_s);
}
