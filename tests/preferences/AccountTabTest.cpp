// The account page against the fake companion server: what it shows for each account
// state, and how saving the profile succeeds, fails and is refused.
#include "PreferencesRig.h"

#include "preferences/AccountPreferencesView.h"
#include "support/DrawnText.h"
#include "support/LogLines.h"
#include "support/Screenshots.h"
#include "support/Wait.h"
#include "widgets/EmojiLabel.h"
#include "widgets/PlainLabel.h"
#include "widgets/PlainLineEdit.h"
#include "widgets/TextStyle.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

using namespace Qt::StringLiterals;
using Content = AccountPreferencesView::Content;

namespace {

struct AccountTab : PreferencesRig
{
    qint64 userId = 0;

    void signIn(const QString& avatar = u"🐶"_s)
    {
        userId = server.state().addUser(u"a@b.io"_s, u"<b>阿猫</b>"_s, avatar, u"pw"_s);
        account->setUserMode(UserMode::online);
        bool done = false;
        [](UserManager& m, bool& flag) -> QCoro::Task<> {
            co_await m.loginOnline(u"a@b.io"_s, {}, u"🐶"_s, u"pw"_s);
            flag = true;
        }(*account, done);
        ASSERT_TRUE(waitUntil([&] { return done; }));
    }

    template<typename T = QPushButton>
    static T* part(QWidget* page, const QString& name)
    {
        T* found = page->findChild<T*>(name);
        EXPECT_TRUE(found) << name.toStdString();
        return found;
    }
};

} // namespace

TEST_F(AccountTab, ShowsWhatTheAccountStateAllows)
{
    AccountPreferencesView page(*account, *client);
    page.show();
    auto* online = part<QWidget>(&page, u"onlineSection"_s);
    EXPECT_EQ(page.content(), Content::standAlone);
    EXPECT_FALSE(online->isVisible());

    account->setUserMode(UserMode::online);
    EXPECT_EQ(page.content(), Content::signedOut);
    EXPECT_TRUE(part(&page, u"loginButton"_s)->isVisible());
    EXPECT_FALSE(part(&page, u"logoutButton"_s)->isVisible());

    signIn();
    EXPECT_EQ(page.content(), Content::profile);
    EXPECT_EQ(part<PlainLabel>(&page, u"nicknameValue"_s)->fullText(), u"<b>阿猫</b>"_s);
    EXPECT_EQ(part<PlainLabel>(&page, u"nicknameValue"_s)->textFormat(), Qt::PlainText);
    EXPECT_EQ(part<PlainLabel>(&page, u"emailValue"_s)->fullText(), u"a@b.io"_s);
    EXPECT_TRUE(part(&page, u"logoutButton"_s)->isVisible());

    part(&page, u"logoutButton"_s)->click();
    EXPECT_EQ(page.content(), Content::signedOut);
    EXPECT_FALSE(account->isLoggedIn());
    EXPECT_TRUE(loggedLines(u"User"_s).contains(u"🚪 用户退出登录"_s));
}

TEST_F(AccountTab, SignInButtonOpensTheFormAsASheetOfTheWindow)
{
    account->setUserMode(UserMode::online);
    QWidget window;
    auto* page = new AccountPreferencesView(*account, *client, &window);
    window.show();
    part(page, u"loginButton"_s)->click();
    auto* sheet = window.findChild<QDialog*>();
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
}

TEST_F(AccountTab, SavingSendsTheProfileAndShowsTheServersAnswer)
{
    signIn(u"🦖"_s);
    AccountPreferencesView page(*account, *client);
    page.show();
    part(&page, u"editProfileButton"_s)->click();
    EXPECT_EQ(page.content(), Content::editing);
    EXPECT_EQ(part<PlainLineEdit>(&page, u"nicknameField"_s)->text(), u"<b>阿猫</b>"_s);
    // An avatar that is not offered still shows as the choice, with no button highlighted.
    EXPECT_EQ(part<EmojiLabel>(&page, u"chosenAvatar"_s)->text(), u"🦖"_s);
    for (QToolButton* button : page.findChildren<QToolButton*>())
        EXPECT_FALSE(button->property("chosen").toBool()) << button->text().toStdString();

    // The last avatar of the one-row strip comes into view with a plain vertical wheel.
    auto* last = part<QToolButton>(&page, u"avatar_"_s + AccountPreferencesView::availableEmojis.constLast());
    QWidget* viewport = last->parentWidget()->parentWidget();
    viewport->parentWidget()->setFixedWidth(500); // as wide as the preferences window gives it
    const auto lastVisible
        = [&] { return viewport->rect().contains(last->geometry().translated(last->parentWidget()->pos())); };
    EXPECT_FALSE(lastVisible());
    for (int notch = 0; notch < int(AccountPreferencesView::availableEmojis.size()) && !lastVisible(); ++notch) {
        QWheelEvent wheel(QPointF(10, 10), viewport->mapToGlobal(QPointF(10, 10)), {},
            QPoint(0, -QWheelEvent::DefaultDeltasPerStep), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &wheel);
    }
    EXPECT_TRUE(lastVisible());

    part<QToolButton>(&page, u"avatar_🦊"_s)->click();
    EXPECT_TRUE(part<QToolButton>(&page, u"avatar_🦊"_s)->property("chosen").toBool());
    part<PlainLineEdit>(&page, u"nicknameField"_s)->setText(u"   "_s);
    part(&page, u"saveProfileButton"_s)->click();
    EXPECT_TRUE(page.isSaving());
    EXPECT_EQ(part(&page, u"saveProfileButton"_s)->text(), u"保存中..."_s);
    EXPECT_FALSE(part(&page, u"cancelEditButton"_s)->isEnabled());
    ASSERT_TRUE(waitUntil([&] { return !page.isSaving(); }));

    const QJsonObject sent = server.lastRequest().jsonBody();
    EXPECT_EQ(sent.value(u"nickname"_s).toString(), u"   "_s) << "blanks are the server's to judge";
    EXPECT_EQ(sent.value(u"avatarEmoji"_s).toString(), u"🦊"_s);
    EXPECT_EQ(page.content(), Content::profile);
    EXPECT_EQ(account->currentUser()->avatarEmoji, u"🦊"_s);
    EXPECT_TRUE(loggedLines(u"User"_s).contains(u"✅ 用户信息已更新"_s));
}

TEST_F(AccountTab, RefusedOrFailedSavesKeepTheInput)
{
    signIn();
    AccountPreferencesView page(*account, *client);
    page.show();
    page.startEditing();
    auto* field = part<PlainLineEdit>(&page, u"nicknameField"_s);
    auto* error = part<PlainLabel>(&page, u"profileError"_s);

    field->clear();
    EXPECT_FALSE(part(&page, u"saveProfileButton"_s)->isEnabled());
    const qsizetype requestsBefore = server.requests().size();
    page.saveProfile();
    EXPECT_EQ(page.errorMessage(), u"昵称不能为空"_s);
    EXPECT_EQ(server.requests().size(), requestsBefore);

    field->setText(u"新名字"_s);
    server.scriptNext({ 500, "<i>维护中</i>" });
    page.saveProfile();
    ASSERT_TRUE(waitUntil([&] { return !page.isSaving(); }));
    EXPECT_EQ(page.content(), Content::editing);
    EXPECT_EQ(page.errorMessage(), u"服务器错误: <i>维护中</i>"_s);
    EXPECT_TRUE(error->isVisible());
    EXPECT_EQ(field->text(), u"新名字"_s);
    EXPECT_EQ(account->currentUser()->nickname, u"<b>阿猫</b>"_s);
    EXPECT_TRUE(loggedLines(u"User"_s).contains(u"❌ 更新用户信息失败: 服务器错误: <i>维护中</i>"_s));

    part(&page, u"cancelEditButton"_s)->click();
    EXPECT_EQ(page.content(), Content::profile);
    EXPECT_FALSE(error->isVisible());
    EXPECT_TRUE(page.errorMessage().isEmpty()) << "取消 clears the error";
}

// Hiding or disabling the control that has the keyboard hands the keyboard to the next one,
// which can be "退出登录": a Space there signs the user out. Opening the form, a failed save
// and leaving the form each put it where the user is working instead.
TEST_F(AccountTab, TheKeyboardFollowsTheFormAndNeverLandsOnSignOut)
{
    signIn();
    AccountPreferencesView page(*account, *client);
    page.show();
    page.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    auto* edit = part(&page, u"editProfileButton"_s);
    auto* field = part<PlainLineEdit>(&page, u"nicknameField"_s);
    auto* save = part(&page, u"saveProfileButton"_s);
    auto* cancel = part(&page, u"cancelEditButton"_s);
    auto* logout = part(&page, u"logoutButton"_s);
    const auto press = [](QWidget* button) {
        button->setFocus(Qt::TabFocusReason);
        QTest::keyClick(button, Qt::Key_Space);
    };

    press(edit);
    ASSERT_EQ(page.content(), Content::editing);
    EXPECT_EQ(QApplication::focusWidget(), field) << "after 修改";

    server.scriptNext({ 500, "维护中" });
    press(save);
    EXPECT_TRUE(page.isSaving());
    EXPECT_NE(QApplication::focusWidget(), logout) << "while saving";
    ASSERT_TRUE(waitUntil([&] { return !page.isSaving(); }));
    EXPECT_EQ(QApplication::focusWidget(), field) << "after a failed save";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_TRUE(account->isLoggedIn());
    EXPECT_EQ(field->text(), u"<b>阿猫</b> "_s) << "the Space went into the field";

    press(cancel);
    ASSERT_EQ(page.content(), Content::profile);
    EXPECT_EQ(QApplication::focusWidget(), edit) << "after 取消";
    press(edit);
    press(save);
    ASSERT_TRUE(waitUntil([&] { return !page.isSaving(); }));
    ASSERT_EQ(page.content(), Content::profile);
    EXPECT_EQ(QApplication::focusWidget(), edit) << "after a save";
    EXPECT_TRUE(account->isLoggedIn());
}

TEST_F(AccountTab, PageClosedDuringASaveIsLeftAlone)
{
    signIn();
    auto page = std::make_unique<AccountPreferencesView>(*account, *client);
    page->startEditing();
    server.scriptNext({ std::nullopt, {}, 300 });
    page->saveProfile();
    page.reset();
    ASSERT_TRUE(waitUntil([&] { return loggedLines(u"User"_s).contains(u"✅ 用户信息已更新"_s); }));
}

// Drawn pixels in a light and a dark palette: the form's error is small red text, the
// signed-in note small green text and the sign-out button's title red, each readable at 4.5:1
// on what it stands on.
TEST_F(AccountTab, TheErrorIsARedCaptionAndTheSignedInNoteAGreenOne)
{
    signIn();
    for (const bool dark : { false, true }) {
        SCOPED_TRACE(dark ? "dark" : "light");
        QApplication::setPalette(dark ? darkFusionPalette() : lightPalette());
        AccountPreferencesView page(*account, *client);
        page.resize(600, 700);
        page.show();
        page.startEditing();
        part<PlainLineEdit>(&page, u"nicknameField"_s)->clear();
        page.saveProfile();
        const QImage shot = drawnImage(&page);
        saveShot(shot, dark ? u"account-error-dark"_s : u"account-error-light"_s);

        const struct
        {
            const char* name;
            int lowestHue;
            int highestHue;
        } notes[] = { { "profileError", -20, 15 }, { "signedInNote", 90, 160 }, { "logoutButton", -20, 15 } };
        for (const auto& note : notes) {
            auto* widget = part<QWidget>(&page, QString::fromLatin1(note.name));
            ASSERT_TRUE(widget->isVisible()) << note.name;
            QRect area = areaIn(widget, &page);
            QColor under;
            if (auto* button = qobject_cast<QPushButton*>(widget)) {
                // The title past its symbol, the two centred together on the button's face.
                const QFontMetrics metrics = button->fontMetrics();
                const int width = metrics.horizontalAdvance(button->text());
                const int lead = button->iconSize().width() + 4;
                area = QRect(
                    area.left() + (area.width() - width - lead) / 2 + lead, area.top() + 4, width, area.height() - 8);
                under = dominantColour(shot, area);
            } else {
                auto* label = static_cast<PlainLabel*>(widget);
                EXPECT_LT(TextStyle::pixelSizeOf(label->font()), TextStyle::pixelSizeOf(page.font()))
                    << note.name << " is a caption";
                under = shot.pixelColor(area.topLeft() - QPoint(0, 2));
            }
            QColor ink = under;
            for (int y = area.top(); y <= area.bottom(); ++y) {
                for (int x = area.left(); x <= area.right(); ++x) {
                    if (contrastRatio(shot.pixelColor(x, y), under) > contrastRatio(ink, under))
                        ink = shot.pixelColor(x, y);
                }
            }
            ASSERT_NE(ink, under) << note.name;
            int hue = ink.hsvHue();
            if (hue > 180)
                hue -= 360;
            EXPECT_GE(hue, note.lowestHue) << note.name << " " << ink.name().toStdString();
            EXPECT_LE(hue, note.highestHue) << note.name << " " << ink.name().toStdString();
            EXPECT_GE(contrastRatio(ink, under), 4.5) << note.name << " " << ink.name().toStdString();
        }

        // The sign-out symbol stands on the same face as the title: 3:1 there, and red.
        auto* logout = part(&page, u"logoutButton"_s);
        const QRect button = areaIn(logout, &page);
        const int width = logout->fontMetrics().horizontalAdvance(logout->text());
        const QSize icon = logout->iconSize();
        const QRect symbol(QPoint(button.left() + (button.width() - width - icon.width() - 4) / 2,
                               button.top() + (button.height() - icon.height()) / 2),
            icon);
        const QColor face = dominantColour(shot, button.adjusted(2, 2, -2, -2));
        QColor glyph = face;
        for (int y = symbol.top(); y <= symbol.bottom(); ++y) {
            for (int x = symbol.left(); x <= symbol.right(); ++x) {
                if (contrastRatio(shot.pixelColor(x, y), face) > contrastRatio(glyph, face))
                    glyph = shot.pixelColor(x, y);
            }
        }
        int hue = glyph.hsvHue();
        if (hue > 180)
            hue -= 360;
        EXPECT_TRUE(hue >= -20 && hue <= 15) << glyph.name().toStdString();
        EXPECT_GE(contrastRatio(glyph, face), 3.0) << glyph.name().toStdString() << " on " << face.name().toStdString();
    }
    QApplication::setPalette(lightPalette());
}

// The nickname field's placeholder as drawn after the desktop switches its palette: at
// 4.5:1 on the field, yet fainter than a typed nickname.
TEST_F(AccountTab, TheNicknamePlaceholderIsSecondaryAfterAPaletteSwitch)
{
    signIn();
    AccountPreferencesView page(*account, *client);
    page.resize(600, 700);
    page.show();
    page.startEditing();
    for (const bool dark : { false, true }) {
        QApplication::setPalette(dark ? darkFusionPalette() : lightPalette());
        QCoreApplication::processEvents();
        expectSecondaryPlaceholder(
            &page, part<PlainLineEdit>(&page, u"nicknameField"_s), dark ? "nickname (dark)" : "nickname (light)");
    }
    QApplication::setPalette(lightPalette());
}
