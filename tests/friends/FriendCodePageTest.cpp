// The friend-code page and its window, against the fake companion server.
#include "FriendsUiFixture.h"

#include "friends/FriendVerificationView.h"
#include "friends/MenuBarFriendActions.h"
#include "friends/SendMessageSheet.h"
#include "support/DrawnText.h"
#include "support/LayoutGaps.h"
#include "widgets/ButtonStyle.h"
#include "widgets/PlainLabel.h"
#include "widgets/PlainLineEdit.h"
#include "widgets/PlainTextEditor.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QGraphicsOpacityEffect>
#include <QGuiApplication>
#include <QImage>
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
        T* widget = (root ? root : page.get())->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }

    std::unique_ptr<FriendVerificationView> page;
    QWidget* root = nullptr; ///< where find() looks, when not in `page`
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
    EXPECT_TRUE(page->showingCopiedHint());
    timers.advanceMs(1);
    // It fades out, then is gone.
    EXPECT_FALSE(page->showingCopiedHint());
    auto* fade = qobject_cast<QGraphicsOpacityEffect*>(find<PlainLabel>(u"copiedHint"_s)->graphicsEffect());
    ASSERT_TRUE(fade);
    ASSERT_TRUE(waitUntil([&] { return fade->opacity() < 0.9; }));
    EXPECT_TRUE(find<PlainLabel>(u"copiedHint"_s)->isVisible());
    ASSERT_TRUE(waitUntil([&] { return !find<PlainLabel>(u"copiedHint"_s)->isVisible(); }));

    // A failed renewal keeps the old code and says why.
    server.scriptNext(ScriptedReply { 500, R"({"success":false,"message":"忙"})" });
    find(u"generate"_s)->click();
    ASSERT_TRUE(waitUntil([&] { return !page->isLoading(); }));
    EXPECT_TRUE(page->errorMessage().value_or(QString()).startsWith(u"生成失败："_s));
    EXPECT_EQ(find<PlainLabel>(u"code"_s)->fullText(), code);
    // The error belongs to the page, not the mode.
    find<QAbstractButton>(u"modeAdd"_s)->click();
    EXPECT_TRUE(find<PlainLabel>(u"addError"_s)->isVisible());
}

TEST_F(FriendCodePage, EveryCopyStartsItsOwnResetAndTheFirstHidesTheHint)
{
    signIn();
    page->show();
    find(u"generate"_s)->click();
    ASSERT_TRUE(waitUntil([&] { return !page->isLoading() && friends->currentVerificationCode(); }));
    auto* hint = find<PlainLabel>(u"copiedHint"_s);
    auto* fade = qobject_cast<QGraphicsOpacityEffect*>(hint->graphicsEffect());
    ASSERT_TRUE(fade);

    struct Step
    {
        int afterMs; // since the step before
        bool click;
        bool shown;
    };
    const Step steps[] = {
        { 0, true, true },
        { 1500, true, true }, // a second click while the hint shows
        { 499, false, true },
        { 1, false, false }, // the first click's reset hides it, though the second was 0.5 s ago
        { 1500, false, false }, // the second click's reset finds it going
        { 0, true, true }, // a click while it fades brings it back whole at once
        { 2000, false, false },
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        timers.advanceMs(steps[i].afterMs);
        if (steps[i].click)
            find(u"copy"_s)->click();
        EXPECT_EQ(page->showingCopiedHint(), steps[i].shown) << "step " << i;
        // Shown, it stands whole; going, it is fading out (the fade runs on the event loop,
        // which these steps never enter, so it is still under way).
        EXPECT_TRUE(hint->isVisible()) << "step " << i;
        if (steps[i].shown) {
            EXPECT_EQ(fade->opacity(), 1.0) << "step " << i;
        }
    }
    EXPECT_FALSE(timers.running().contains(FriendVerificationView::hintMs)) << "every reset ran and went";
}

TEST_F(FriendCodePage, StacksKeepTheirSpacingAndTheMainButtonsAreFilledBlue)
{
    signIn();
    page.reset();
    MenuBarFriendActions actions(*friends, timers, *bubbles);
    actions.showVerificationWindow();
    QWidget* window = actions.verificationWindow();
    auto* shown = window->findChild<FriendVerificationView*>();
    ASSERT_TRUE(shown);
    root = shown;
    find(u"generate"_s)->click();
    ASSERT_TRUE(waitUntil([&] { return !shown->isLoading() && friends->currentVerificationCode(); }));
    find(u"copy"_s)->click();
    server.scriptNext(ScriptedReply { 500, R"({"success":false,"message":"忙"})" });
    find(u"generate"_s)->click();
    ASSERT_TRUE(waitUntil([&] { return !shown->isLoading(); }));
    ASSERT_TRUE(find<PlainLabel>(u"generateError"_s)->isVisible());

    struct Gap
    {
        const char* above;
        const char* below;
        int px;
    };
    const auto item = [](QObject* root, const char* name) {
        QObject* found = root->findChild<QObject*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    };
    const auto checkGaps = [&](QWidget* root, std::initializer_list<Gap> gaps) {
        for (const Gap& gap : gaps) {
            QObject* above = item(root, gap.above);
            QObject* below = item(root, gap.below);
            if (above && below) {
                EXPECT_EQ(verticalGap(root, above, below), gap.px) << gap.above << " / " << gap.below;
            }
        }
    };
    const auto inside = [&](QWidget* root, const char* name) {
        const QRect box = boxIn(root, item(root, name));
        EXPECT_TRUE(root->rect().contains(box)) << name << " ends at " << box.bottom();
    };

    QCoreApplication::processEvents();
    checkGaps(shown,
        { { "header", "divider", 20 }, { "divider", "modeSegments", 20 }, { "modeSegments", "generateIntro", 20 },
            { "generateIntro", "codeBlock", 16 }, { "codeRow", "copiedHint", 6 }, { "codeBlock", "generate", 16 },
            { "generate", "generateError", 16 } });
    inside(shown, "generateError");
    // Only this state needs more than 350 px; the window grows with the page instead of
    // squeezing it.
    EXPECT_GT(shown->height(), FriendVerificationView::pageHeight);
    EXPECT_EQ(window->size(), shown->size());
    auto* code = find<PlainLabel>(u"code"_s);
    EXPECT_EQ(horizontalGap(shown, code, find(u"copy"_s)), 12);
    // The code sits on its tinted box with 24 px beside and 12 px above and below it (the
    // text's box may round up by a pixel).
    const QFontMetrics digits(code->font());
    EXPECT_NEAR(code->width() - digits.horizontalAdvance(code->fullText()), 48, 1);
    EXPECT_NEAR(code->height() - digits.height(), 24, 1);

    find<QAbstractButton>(u"modeAdd"_s)->click();
    QCoreApplication::processEvents();
    checkGaps(shown,
        { { "modeSegments", "addIntro", 20 }, { "addIntro", "codeFieldBlock", 16 },
            { "codeFieldCaption", "codeField", 8 }, { "codeFieldBlock", "add", 16 }, { "add", "addError", 16 } });
    inside(shown, "addError");
    // The field is inset from the width of the page's text.
    const QRect field = boxIn(shown, find<PlainLineEdit>(u"codeField"_s));
    const QRect intro = boxIn(shown, item(shown, "addIntro"));
    EXPECT_EQ(field.left() - intro.left(), 16);
    EXPECT_EQ(intro.right() - field.right(), 16);

    // The main buttons are filled with the prominent accent, as the alarm pages' are.
    find<PlainLineEdit>(u"codeField"_s)->setText(u"123456"_s);
    for (const QString& name : { u"generate"_s, u"add"_s }) {
        QPushButton* button = find(name);
        shown->setMode(name == u"add"_s ? FriendVerificationView::Mode::add : FriendVerificationView::Mode::generate);
        ASSERT_TRUE(button->isEnabled());
        const QImage drawn = button->grab().toImage();
        EXPECT_EQ(QColor(drawn.pixel(6, drawn.height() / 2)), ButtonStyle::prominentFace(button->palette()))
            << name.toStdString();
    }

    // The message sheet: its stack, and the refusal placed in it.
    Friend bob;
    bob.nickname = u"鲍勃"_s;
    bob.avatarEmoji = u"🐶"_s;
    SendMessageSheet sheet(
        bob, [](QString) -> QCoro::Task<> { throw std::runtime_error("对方不是你的好友"); }, nullptr);
    sheet.show();
    checkGaps(&sheet,
        { { "titleRow", "divider", 20 }, { "divider", "editorBlock", 20 }, { "editorBlock", "buttonRow", 20 } });
    sheet.findChild<PlainTextEditor*>(u"messageEditor"_s)->setPlainText(u"在吗"_s);
    sheet.findChild<QPushButton*>(u"sendButton"_s)->click();
    ASSERT_TRUE(waitUntil([&] { return !sheet.errorMessage().isEmpty(); }));
    QCoreApplication::processEvents();
    checkGaps(&sheet, { { "editorBlock", "sendError", 20 }, { "sendError", "buttonRow", 20 } });
    inside(&sheet, "buttonRow");
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
    find<QAbstractButton>(u"modeAdd"_s)->click();
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

    window->findChild<QAbstractButton*>(u"close"_s)->click();
    ASSERT_TRUE(waitUntil([&] { return window.isNull(); }));
    EXPECT_EQ(actions.verificationWindow(), nullptr);
    actions.showVerificationWindow();
    EXPECT_NE(actions.verificationWindow(), nullptr);
}

// Drawn pixels, in a light and a dark palette: the chosen mode stands out, and the grey
// intros, caption and tip, the orange tip title, the blue code on its box, the green copy
// confirmation and the red error line read at 4.5:1.
TEST_F(FriendCodePage, CaptionsAndColouredLinesReadInLightAndDark)
{
    signIn();
    for (const bool dark : { false, true }) {
        SCOPED_TRACE(dark ? "dark" : "light");
        QApplication::setPalette(dark ? darkFusionPalette() : lightPalette());
        page = std::make_unique<FriendVerificationView>(*friends, timers);
        page->show();
        find(u"generate"_s)->click();
        ASSERT_TRUE(waitUntil([&] { return !page->isLoading() && friends->currentVerificationCode(); }));
        find(u"copy"_s)->click();
        server.scriptNext(ScriptedReply { 500, R"({"success":false,"message":"忙"})" });
        find(u"generate"_s)->click();
        ASSERT_TRUE(waitUntil([&] { return !page->isLoading(); }));

        const auto check = [&](const QString& name, const std::string& ink) {
            QImage shot = drawnImage(page.get());
            expectReadable(shot, areaIn(find<PlainLabel>(name), page.get()), name.toStdString(), { ink });
        };
        // The chosen mode stands out from the other, and both titles read on their fills.
        const QImage shot = drawnImage(page.get());
        const QRect chosen = areaIn(find<QAbstractButton>(u"modeGenerate"_s), page.get());
        const QRect other = areaIn(find<QAbstractButton>(u"modeAdd"_s), page.get());
        const QColor chosenFill = dominantColour(shot, chosen);
        const QColor otherFill = dominantColour(shot, other);
        EXPECT_GT(std::hypot(chosenFill.red() - otherFill.red(), chosenFill.green() - otherFill.green(),
                      chosenFill.blue() - otherFill.blue()),
            100.0);
        EXPECT_GE(drawnContrast(shot, chosen.adjusted(3, 3, -3, -3)), 4.5);
        EXPECT_GE(drawnContrast(shot, other.adjusted(3, 3, -3, -3)), 4.5);
        PlainLabel* tipTitle = nullptr;
        for (PlainLabel* label : page->findChildren<PlainLabel*>()) {
            if (label->text() == u"💡 提示"_s)
                tipTitle = label;
        }
        ASSERT_TRUE(tipTitle);
        tipTitle->setObjectName(u"tipTitle"_s);
        for (const auto& [name, ink] : { std::pair { u"generateIntro"_s, "grey" }, { u"tipTitle"_s, "orange" },
                 { u"copiedHint"_s, "green" }, { u"generateError"_s, "red" }, { u"code"_s, "blue" } })
            check(name, ink);
        find<QAbstractButton>(u"modeAdd"_s)->click();
        for (const auto& [name, ink] :
            { std::pair { u"addIntro"_s, "grey" }, { u"codeFieldCaption"_s, "grey" }, { u"addError"_s, "red" } })
            check(name, ink);
        page.reset();
    }
    QApplication::setPalette(lightPalette());
}
