// Where a secret echoed by a server counts as present, and the forms JSON may give it.
#include "server/Redaction.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(Redaction, PlainTextMasksLongSecretsEverywhereAndShortOnesStandingAlone)
{
    struct Case
    {
        QString secret, text, expected;
    };
    const QList<Case> cases {
        { u"6"_s, u"密码长度至少为6位"_s, u"密码长度至少为6位"_s },
        { u"6"_s, u"6"_s, u"******"_s },
        { u"6"_s, u"长度: 6（至少 8）"_s, u"长度: ******（至少 8）"_s },
        { u"abc"_s, u"abcd xabc abc_ abc"_s, u"abcd xabc abc_ ******"_s },
        { u"s3cret-密码"_s, u"密码 s3cret-密码 太短"_s, u"密码 ****** 太短"_s },
        { u"pw"_s, u"password=pw&email=a@x.io"_s, u"password=******&email=a@x.io"_s },
        // A secret that begins or ends with punctuation has no word to be part of on that side.
        { u"!x"_s, u"abc!x."_s, u"abc******."_s },
        { u"x🐱"_s, u"🐱x🐱🐱"_s, u"🐱******🐱"_s },
        { u"aa"_s, u"aa aa"_s, u"****** ******"_s },
        // From four characters on, also glued to other text.
        { u"Secret!"_s, u"xSecret!xy, Secret!"_s, u"x******xy, ******"_s },
        { u"密码12"_s, u"是密码123"_s, u"是******3"_s },
        { QString(), u"text"_s, u"text"_s },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(Redaction::inText(c.text, c.secret).toStdString(), c.expected.toStdString());
    }
}

TEST(Redaction, ReplyMasksTheSecretHoweverJsonEscapesIt)
{
    const QString secret = u"密码/\"\t😀"_s;
    const QList<QString> replies {
        uR"({"got":"密码/\"\t😀"})"_s,
        uR"({"got":"\u5bc6\u7801\/\u0022\u0009\ud83d\ude00"})"_s,
        uR"({"got":"\u5BC6\u7801/\"\t😀"})"_s,
        uR"({"密码\/\"\t😀":1})"_s,
    };
    for (const QString& reply : replies) {
        SCOPED_TRACE(reply.toStdString());
        const QString masked = Redaction::inReply(reply, secret);
        const QJsonObject parsed = QJsonDocument::fromJson(masked.toUtf8()).object();
        ASSERT_FALSE(parsed.isEmpty()) << "still JSON: " << masked.toStdString();
        EXPECT_TRUE(parsed.value(u"got"_s) == u"******"_s || parsed.contains(u"******"_s)) << masked.toStdString();
    }
}

TEST(Redaction, ReplyKeepsEverythingElseAsSent)
{
    struct Case
    {
        QString reply, expected;
    };
    const QList<Case> cases {
        // Strings without the secret keep their escapes; one with it is written back plainly.
        { uR"({"a":"\u4f60\u597d","b":"\u5bc6 pw \/"})"_s, uR"({"a":"\u4f60\u597d","b":"密 ****** /"})"_s },
        { uR"({"message":"pwd \"pw\""})"_s, uR"({"message":"pwd \"******\""})"_s },
        { uR"({"message":"pwpw","pw2":"xpw"})"_s, uR"({"message":"pwpw","pw2":"xpw"})"_s },
        // Text that is no JSON, or JSON cut off inside a string, is searched as it stands.
        { u"INSERT (a@x.io, pw)"_s, u"INSERT (a@x.io, ******)"_s },
        { uR"({"a":"pw", "b":"pw)"_s, uR"({"a":"******", "b":"******)"_s },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply.toStdString());
        EXPECT_EQ(Redaction::inReply(c.reply, u"pw"_s).toStdString(), c.expected.toStdString());
    }
}
