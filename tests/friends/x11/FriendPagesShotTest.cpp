// The friend-code page and the message sheet as drawn on the real X server, in a light and
// a dark palette: the main buttons come out filled blue. With TAMSEL_SHOT_DIR set, each
// screen is saved as a picture to look at.
#include "../FriendsUiFixture.h"

#include "friends/FriendVerificationView.h"
#include "friends/MenuBarFriendActions.h"
#include "friends/SendMessageSheet.h"
#include "support/DarkPalette.h"
#include "support/Screenshots.h"
#include "widgets/PlainLineEdit.h"
#include "widgets/PlainTextEditor.h"

#include "widgets/ButtonStyle.h"
#include <QApplication>

#include <QImage>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

/// Pixels of the prominent buttons' accent (give or take the antialiasing) inside `box`.
int accentPixels(const QImage& image, const QRect& box)
{
    const QColor accent = ButtonStyle::prominentFace(QApplication::palette());
    int n = 0;
    for (int y = std::max(0, box.top()); y <= box.bottom() && y < image.height(); ++y)
        for (int x = std::max(0, box.left()); x <= box.right() && x < image.width(); ++x) {
            const QColor c(image.pixel(x, y));
            n += std::abs(c.red() - accent.red()) < 12 && std::abs(c.green() - accent.green()) < 12
                && std::abs(c.blue() - accent.blue()) < 12;
        }
    return n;
}

/// Pixels clearly bluer than they are red, as the accent and its paler forms are.
int bluishPixels(const QImage& image, const QRect& box)
{
    int n = 0;
    for (int y = std::max(0, box.top()); y <= box.bottom() && y < image.height(); ++y)
        for (int x = std::max(0, box.left()); x <= box.right() && x < image.width(); ++x) {
            const QColor c(image.pixel(x, y));
            n += c.blue() - c.red() > 60;
        }
    return n;
}

} // namespace

TEST_F(FriendsUiFixture, FriendCodePageAndMessageSheetInBothPalettes)
{
    signIn();
    for (const bool dark : { false, true }) {
        // Set first, as a desktop's palette is, so the pages derive their colours from it.
        QApplication::setPalette(dark ? darkDesktopPalette() : QPalette());
        const QString palette = dark ? u"-dark"_s : u"-light"_s;

        MenuBarFriendActions actions(*friends, timers, *bubbles);
        actions.showVerificationWindow();
        QWidget* window = actions.verificationWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        auto* page = window->findChild<FriendVerificationView*>();
        auto* generate = page->findChild<QPushButton*>(u"generate"_s);
        generate->click();
        ASSERT_TRUE(waitUntil([&] { return !page->isLoading() && friends->currentVerificationCode(); }));
        page->findChild<QPushButton*>(u"copy"_s)->click();
        const QImage shot = grabFromScreen(window, u"friend-code-generate"_s + palette);
        const QRect button(generate->mapTo(window, QPoint(0, 0)), generate->size());
        // Most of the button is its fill; the rest its label and rounded corners.
        EXPECT_GT(accentPixels(shot, inFrame(window, button)), button.width() * button.height() / 2) << dark;

        server.scriptNext(ScriptedReply { 500, R"({"success":false,"message":"服务器忙，请稍后再试"})" });
        generate->click();
        ASSERT_TRUE(waitUntil([&] { return !page->isLoading(); }));
        grabFromScreen(window, u"friend-code-generate-error"_s + palette);
        // While the request runs, the button shows a spinner in its label's colour.
        server.scriptNext(ScriptedReply { std::nullopt, {}, 1500 });
        generate->click();
        grabFromScreen(window, u"friend-code-generating"_s + palette, 200);
        ASSERT_TRUE(waitUntil([&] { return !page->isLoading(); }));

        page->setMode(FriendVerificationView::Mode::add);
        page->findChild<PlainLineEdit*>(u"codeField"_s)->setText(u"123456"_s);
        const QImage addShot = grabFromScreen(window, u"friend-code-add"_s + palette);
        auto* add = page->findChild<QPushButton*>(u"add"_s);
        const QRect addBox(add->mapTo(window, QPoint(0, 0)), add->size());
        EXPECT_GT(accentPixels(addShot, inFrame(window, addBox)), addBox.width() * addBox.height() / 2) << dark;
        window->close();

        Friend bob;
        bob.nickname = u"鲍勃"_s;
        bob.avatarEmoji = u"🐶"_s;
        SendMessageSheet sheet(
            bob, [](QString) -> QCoro::Task<> { throw std::runtime_error("对方不是你的好友"); }, nullptr);
        auto* editor = sheet.findChild<PlainTextEditor*>(u"messageEditor"_s);
        auto* send = sheet.findChild<QPushButton*>(u"sendButton"_s);
        sheet.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet));
        const QRect sendBox = inFrame(&sheet, QRect(send->mapTo(&sheet, QPoint(0, 0)), send->size()));
        // With nothing to send the button is a paler blue, without a pixel of the accent.
        const QImage empty = grabFromScreen(&sheet, u"send-message-sheet-empty"_s + palette);
        EXPECT_EQ(accentPixels(empty, sendBox), 0) << dark;
        EXPECT_GT(bluishPixels(empty, sendBox), sendBox.width() * sendBox.height() / 2) << dark;
        editor->setPlainText(u"今晚一起吃饭吗？"_s);
        const QImage typed = grabFromScreen(&sheet, u"send-message-sheet"_s + palette);
        EXPECT_GT(accentPixels(typed, sendBox), sendBox.width() * sendBox.height() / 2) << dark;
        send->click();
        ASSERT_TRUE(waitUntil([&] { return !sheet.errorMessage().isEmpty(); }));
        grabFromScreen(&sheet, u"send-message-sheet-refused"_s + palette);
    }
    QApplication::setPalette(QPalette());
}
