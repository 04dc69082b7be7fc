// The friend-code page and its window, against the fake companion server.
#include "FriendsUiFixture.h"

#include "friends/FriendVerificationView.h"
#include "friends/MenuBarFriendActions.h"
#include "widgets/PlainLabel.h"
#include "widgets/PlainLineEdit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

class FriendCodePage : public FriendsUiFixture
{
protected:
    void SetUp() override
    {
        FriendsUiFixture::SetUp();
        page = std::make_unique<FriendVerificationView>(*friends, timers);
    }

    void TearDown() override
    {
        page.reset();
        FriendsUiFixture::TearDown();
    }

    template<typename T = QPushButton>
    T* find(const QString& name) const
    {
        T* widget = page->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }

    std::unique_ptr<FriendVerificationView> page;
};

} // namespace

TEST(FriendCodeFilter, KeepsSixNumericCharacters)
{
    const std::pair<QString, QString> cases[] = {
        { u"12ab34"_s, u"1234"_s },
        { u"1234567890"_s, u"123456"_s },
        { u" 12-34 56 "_s, u"123456"_s },
        { u"١٢٣"_s, u"١٢٣"_s }, // digits of another script count as numbers
        { u"𝟙𝟚𝟛𝟜𝟝𝟞𝟟"_s, u"𝟙𝟚𝟛𝟜𝟝𝟞"_s }, // beyond the basic plane, never split
        { u"abc🐱"_s, QString() },
        { u"一二三四五六七"_s, u"一二三四五六"_s }, // numeral ideographs too
        { u"１２x３"_s, u"１２３"_s },
        { QString(), QString() },
    };
    for (const auto& [typed, kept] : cases)
        EXPECT_EQ(FriendVerificationView::filteredCode(typed), kept) << typed.toStdString();
}

TEST(FriendCodeErrors, MapsTheServersWordsToTheirAdvice)
{
    const std::pair<QString, QString> cases[] = {
        { u"服务器错误: 验证码不存在"_s, u"验证码不存在，请确认后重试"_s },
        { u"服务器错误: 验证码已被使用"_s, u"验证码已被使用，请让对方重新生成"_s },
        { u"服务器错误: 你们已经是好友了"_s, u"你们已经是好友了"_s },
        { u"服务器错误: 不能添加自己为好友"_s, u"不能添加自己为好友"_s },
        // The first rule that matches wins.
        { u"验证码已被使用且不能添加自己"_s, u"验证码已被使用，请让对方重新生成"_s },
        { u"服务器错误: <b>验证码无效或已过期</b>"_s, u"添加失败：服务器错误: <b>验证码无效或已过期</b>"_s },
    };
    for (const auto& [description, shown] : cases)
        EXPECT_EQ(FriendVerificationView::addFailureMessage(description), shown) << description.toStdString();
}

TEST_F(FriendCodePage, ShowsGeneratesAndCopiesTheOwnCode)
{
    signIn();
    page->show();
    ASSERT_TRUE(waitUntil([&] { return server.requests().constLast().path.endsWith(u"/my-code"_s); }));
    QCoreApplication::processEvents();
    EXPECT_TRUE(find<PlainLabel>(u"noCode"_s)->isVisible());
    EXPECT_EQ(find(u"generate"_s)->text(), u"生成验证码"_s);

    find(u"generate"_s)->click();
    EXPECT_FALSE(find(u"generate"_s)->isEnabled());
    ASSERT_TRUE(waitUntil([&] { return !page->isLoading(); }));
    const QString code = *friends->currentVerificationCode();
    EXPECT_EQ(find<PlainLabel>(u"code"_s)->fullText(), code);
    EXPECT_FALSE(find<PlainLabel>(u"noCode"_s)->isVisible());
    EXPECT_EQ(find(u"generate"_s)->text(), u"重新生成"_s);

    QGuiApplication::clipboard()->setText(u"old"_s);
    find(u"copy"_s)->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), code);
    EXPECT_TRUE(find<PlainLabel>(u"copiedHint"_s)->isVisible());
    timers.advanceMs(1999);
    EXPECT_TRUE(page->isShowingCopiedHint());
    timers.advanceMs(1);
    EXPECT_FALSE(find<PlainLabel>(u"copiedHint"_s)->isVisible());

    // A failed renewal keeps the old code and says why.
    server.scriptNext(ScriptedReply { 500, R"({"success":false,"message":"忙"})" });
    find(u"generate"_s)->click();
    ASSERT_TRUE(waitUntil([&] { return !page->isLoading(); }));
    EXPECT_TRUE(page->errorMessage().value_or(QString()).startsWith(u"生成失败："_s));
    EXPECT_EQ(find<PlainLabel>(u"code"_s)->fullText(), code);
    // The error belongs to the page, not the mode.
    find(u"modeAdd"_s)->click();
    EXPECT_TRUE(find<PlainLabel>(u"addError"_s)->isVisible());
}

TEST_F(FriendCodePage, AddsAFriendByCodeAndClosesTwoSecondsLater)
{
    signIn();
    const qint64 bob = server.state().addUser(u"bob@x.io"_s, u"鲍勃"_s, u"🐶"_s, u"pw"_s);
    std::optional<qint64> sender = bob;
    APIClient bobClient(server.baseUrl(), [&] { return sender; });
    const auto bobCode = await(bobClient.generateFriendCode());
    ASSERT_TRUE(bobCode.ok());
    const QString code = *bobCode.value;
    ASSERT_EQ(code.size(), 6);

    page->show();
    find(u"modeAdd"_s)->click();
    auto* field = find<PlainLineEdit>(u"codeField"_s);
    QPushButton* add = find(u"add"_s);
    // Six characters make a code, whatever their script or width in UTF-16.
    const std::pair<QString, bool> typed[]
        = { { u"一二三四五"_s, false }, { u"一二三四五六"_s, true }, { u"𝟙𝟚𝟛"_s, false } };
    for (const auto& [text, enabled] : typed) {
        field->setText(text);
        EXPECT_EQ(add->isEnabled(), enabled) << text.toStdString();
    }
    field->clear();
    field->setFocus();
    QTest::keyClicks(field, u"x"_s + code.left(5));
    EXPECT_EQ(field->text(), code.left(5));
    EXPECT_FALSE(add->isEnabled()) << "five digits are not a code";
    QTest::keyClicks(field, code.mid(5) + u"9"_s);
    EXPECT_EQ(field->text(), code);
    EXPECT_TRUE(add->isEnabled());

    // A refusal shows the server's words; the typed code stays.
    const QString wrong = code.left(5) + (code.endsWith(u'0') ? u"1"_s : u"0"_s);
    field->setText(wrong);
    add->click();
    ASSERT_TRUE(waitUntil([&] { return !page->isLoading(); }));
    const QString error = page->errorMessage().value_or(QString());
    EXPECT_TRUE(error.startsWith(u"添加失败："_s) && error.contains(u"验证码无效或已过期"_s)) << error.toStdString();
    EXPECT_EQ(field->text(), wrong);
    // Clearing the field leaves the error; typing anything, even a dropped letter, clears it.
    field->clear();
    EXPECT_TRUE(page->errorMessage().has_value());
    QTest::keyClicks(field, u"a"_s);
    EXPECT_FALSE(page->errorMessage().has_value());

    QSignalSpy dismissed(page.get(), &FriendVerificationView::dismissRequested);
    field->setText(code);
    add->click();
    ASSERT_TRUE(waitUntil([&] { return !page->isLoading(); }));
    EXPECT_EQ(page->successMessage(), u"已添加好友：鲍勃"_s);
    EXPECT_TRUE(field->text().isEmpty());
    ASSERT_EQ(friends->friends().size(), 1);
    timers.advanceMs(1999);
    EXPECT_EQ(dismissed.count(), 0);
    timers.advanceMs(1);
    EXPECT_EQ(dismissed.count(), 1);
}

TEST_F(FriendCodePage, TheWindowIsOneAtATimeAndClosesWithThePage)
{
    MenuBarFriendActions actions(*friends, timers, *bubbles);
    actions.showVerificationWindow();
    QPointer<QWidget> window = actions.verificationWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), u"好友验证码"_s);
    EXPECT_EQ(window->size(), QSize(400, 350));
    actions.showVerificationWindow();
    EXPECT_EQ(actions.verificationWindow(), window.data()) << "brought forward, not doubled";

    window->findChild<QPushButton*>(u"close"_s)->click();
    ASSERT_TRUE(waitUntil([&] { return window.isNull(); }));
    EXPECT_EQ(actions.verificationWindow(), nullptr);
    actions.showVerificationWindow();
    EXPECT_NE(actions.verificationWindow(), nullptr);
}
