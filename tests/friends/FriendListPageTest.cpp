// The friends page of the preferences, hosted on its own.
#include "FriendsUiFixture.h"

#include "friends/FriendListModel.h"
#include "friends/FriendListView.h"
#include "friends/FriendRowView.h"
#include "friends/FriendVerificationView.h"
#include "friends/MessageBubbleWindow.h"
#include "friends/RefreshButton.h"
#include "friends/SendMessageSheet.h"
#include "platform/SystemColours.h"
#include "support/DrawnText.h"
#include "support/LogLines.h"
#include "support/Screenshots.h"
#include "widgets/EmojiLabel.h"
#include "widgets/PlainLabel.h"
#include "widgets/PlainLineEdit.h"
#include "widgets/PlainTextEditor.h"
#include "widgets/Symbols.h"
#include "widgets/TextStyle.h"

#include <QApplication>
#include <QFontInfo>
#include <QHelpEvent>
#include <QListView>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>
#include <QToolTip>
#include <QVariantAnimation>

using namespace Qt::StringLiterals;

namespace {

class FriendListPage : public FriendsUiFixture
{
protected:
    /// Signs Alice in with `count` friends, the first named with markup.
    void aliceWithFriends(int count)
    {
        const qint64 alice = signIn();
        for (int i = 0; i < count; ++i) {
            const QString nickname = i == 0 ? u"<b>阿花</b>"_s : u"朋友"_s + QString::number(i);
            const qint64 other
                = server.state().addUser(u"f"_s + QString::number(i) + u"@x.io"_s, nickname, u"🐶"_s, u"pw"_s);
            server.state().befriend(alice, other);
        }
    }

    void openPage()
    {
        page = std::make_unique<FriendListView>(*friends, *messages, timers);
        page->resize(560, 480);
        page->show();
        ASSERT_TRUE(waitUntil([&] { return !friends->isLoading(); }));
    }

    QWidget* currentContent() const { return page->findChild<QStackedWidget*>()->currentWidget(); }

    /// Clicks the middle of `rect` inside the row `row` of the list.
    void clickRow(int row, QRect (*rect)(const QRect&))
    {
        QListView* list = page->listView();
        const QRect rowRect = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect(rowRect).center());
    }

    void TearDown() override
    {
        page.reset();
        FriendsUiFixture::TearDown();
    }

    std::unique_ptr<FriendListView> page;
};

/// The box around the strongly coloured pixels of `area` in `image`: where a colour emoji
/// was drawn.
QRect colourBox(const QImage& image, const QRect& area)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y).hsvSaturation() > 120)
                box |= QRect(x, y, 1, 1);
    return box;
}

/// How many pixels of two pictures of one size tell apart.
int differingPixels(const QImage& a, const QImage& b)
{
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += contrastRatio(a.pixelColor(x, y), b.pixelColor(x, y)) > 1.2 ? 1 : 0;
    return count;
}

} // namespace

TEST_F(FriendListPage, ShowsLoadingEmptyOrListAndTheConnection)
{
    signIn();
    openPage();
    EXPECT_EQ(currentContent()->objectName(), u"emptyState"_s);
    EXPECT_EQ(page->findChild<PlainLabel*>(u"connectionStatus"_s)->fullText(), u"离线"_s);
    EXPECT_TRUE(page->findChild<QPushButton*>(u"reconnect"_s)->isVisible());
    EXPECT_FALSE(page->findChild<PlainLabel*>(u"unread"_s)->isVisible());

    // The reconnect button opens the connection; a message then counts as unread.
    page->findChild<QPushButton*>(u"reconnect"_s)->click();
    ASSERT_TRUE(waitUntil([&] { return authentications == 1; }));
    EXPECT_EQ(page->findChild<PlainLabel*>(u"connectionStatus"_s)->fullText(), u"在线"_s);
    EXPECT_FALSE(page->findChild<QPushButton*>(u"reconnect"_s)->isVisible());
    server.messageSocket().pushFriendMessage(messageData(77));
    ASSERT_TRUE(waitUntil([&] { return messages->unreadCount() == 1; }));
    EXPECT_TRUE(page->findChild<PlainLabel*>(u"unread"_s)->isVisible());
    EXPECT_EQ(page->findChild<PlainLabel*>(u"unread"_s)->fullText(), u"📨 未读消息: 1 条"_s);

    // While a load runs the list gives way to the loading state, even with friends listed.
    const qint64 other = server.state().addUser(u"b@x.io"_s, u"乙"_s, u"🐱"_s, u"pw"_s);
    server.state().befriend(users->currentUser()->id, other);
    server.scriptNext(ScriptedReply { std::nullopt, {}, 300 });
    page->findChild<QPushButton*>(u"refresh"_s)->click();
    EXPECT_EQ(currentContent()->objectName(), u"loadingState"_s);
    ASSERT_TRUE(waitUntil([&] { return !friends->isLoading(); }));
    EXPECT_EQ(page->listView()->model()->rowCount(), 1);
    EXPECT_NE(currentContent()->objectName(), u"loadingState"_s);
    EXPECT_NE(currentContent()->objectName(), u"emptyState"_s);
}

// Signed out, the page asks the server nothing, on showing or on a refresh: it shows the
// empty state and no refusal reaches the log.
TEST_F(FriendListPage, SignedOutThePageAsksTheServerNothing)
{
    const LogCapture log;
    openPage();
    page->findChild<QPushButton*>(u"refresh"_s)->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(currentContent()->objectName(), u"emptyState"_s);
    EXPECT_TRUE(server.requests().isEmpty()) << server.requests().constFirst().path.toStdString();
    EXPECT_FALSE(log.anyContains(u"401"_s)) << log.lines().join(u" | "_s).toStdString();
}

TEST_F(FriendListPage, RefreshStaysDisabledUntilHalfASecondAfterTheReload)
{
    for (const bool fails : { false, true }) {
        SCOPED_TRACE(fails);
        if (!users->currentUser())
            aliceWithFriends(2);
        if (!page)
            openPage();
        if (fails)
            server.scriptNext(ScriptedReply { 500, R"({"success":false,"message":"忙"})" });
        auto* refresh = page->findChild<RefreshButton*>(u"refresh"_s);
        ASSERT_TRUE(refresh);
        // The plain button draws no face: the arrow is seen on the page.
        const auto drawnArrow = [&] { return drawnImage(page.get()).copy(areaIn(refresh, page.get())); };
        // Disabled, it gives its focus away, and with it the focus ring: compare without.
        refresh->clearFocus();
        const QImage atRest = drawnArrow();
        refresh->click();
        EXPECT_FALSE(refresh->isEnabled());
        EXPECT_TRUE(page->isRefreshing());

        // The arrow spins a turn a second for as long as the refresh lasts, about its centre:
        // a quarter of a second in it is the upright arrow turned a quarter turn.
        QVariantAnimation* spin = refresh->spin();
        EXPECT_EQ(spin->state(), QAbstractAnimation::Running);
        EXPECT_EQ(spin->loopCount(), -1);
        EXPECT_EQ(spin->duration(), 1000);
        EXPECT_EQ(spin->easingCurve().type(), QEasingCurve::Linear);
        spin->pause();
        spin->setCurrentTime(0);
        const QImage upright = drawnArrow();
        spin->setCurrentTime(250);
        EXPECT_DOUBLE_EQ(refresh->angle(), 90.0);
        const QImage quarter = drawnArrow();
        spin->resume();
        // The ring looks alike at any angle; the head and the gap tell the turn, clockwise.
        const int turned = differingPixels(upright, quarter);
        const int clockwise = differingPixels(upright.transformed(QTransform().rotate(90)), quarter);
        const int anticlockwise = differingPixels(upright.transformed(QTransform().rotate(-90)), quarter);
        EXPECT_GT(turned, 20) << "the arrow did not turn";
        EXPECT_LT(clockwise * 4, turned);
        EXPECT_LT(clockwise * 4, anticlockwise);

        ASSERT_TRUE(waitUntil([&] { return !friends->isLoading(); }));
        timers.advanceMs(499);
        EXPECT_FALSE(refresh->isEnabled());
        EXPECT_EQ(spin->state(), QAbstractAnimation::Running);
        timers.advanceMs(1);
        EXPECT_TRUE(refresh->isEnabled());
        EXPECT_EQ(friends->friends().size(), 2) << "a failed reload keeps the list";
        // It comes to rest upright, drawn as before the press.
        ASSERT_TRUE(waitUntil([&] { return spin->state() == QAbstractAnimation::Stopped; }));
        EXPECT_EQ(refresh->angle(), 0.0);
        EXPECT_EQ(differingPixels(drawnArrow(), atRest), 0);
    }

    // Pressed by the keyboard, the button has it back once it is on again; while it spins
    // the keyboard waits rather than going on to the cards.
    auto* refresh = page->findChild<RefreshButton*>(u"refresh"_s);
    QApplication::setActiveWindow(page->window());
    ASSERT_TRUE(QTest::qWaitForWindowActive(page->window()));
    refresh->setFocus(Qt::TabFocusReason);
    QTest::keyClick(refresh, Qt::Key_Space);
    ASSERT_FALSE(refresh->isEnabled());
    EXPECT_FALSE(page->listView()->hasFocus());
    ASSERT_TRUE(waitUntil([&] { return !friends->isLoading(); }));
    timers.advanceMs(500);
    ASSERT_TRUE(refresh->isEnabled());
    EXPECT_TRUE(refresh->hasFocus());
}

TEST_F(FriendListPage, PinsAndDeletesThroughTheCards)
{
    aliceWithFriends(3);
    openPage();
    QListView* list = page->listView();
    ASSERT_EQ(list->model()->rowCount(), 3);
    const qint64 firstId = friends->friends().at(0).id;

    clickRow(0, &FriendRowView::pinSwitchRect);
    EXPECT_EQ(friends->pinnedFriendIds(), QSet<qint64> { firstId });
    EXPECT_TRUE(list->model()->index(0, 0).data(FriendListModel::PinnedRole).toBool());
    clickRow(0, &FriendRowView::pinSwitchRect);
    EXPECT_TRUE(friends->pinnedFriendIds().isEmpty());

    // Cancelling asks nothing of the server; the confirmation names the friend as typed.
    const qsizetype before = server.requests().size();
    Alerts::setNextAnswers({ 0 });
    clickRow(0, &FriendRowView::deleteRect);
    ASSERT_EQ(Alerts::answeredAlerts().size(), 1);
    EXPECT_EQ(Alerts::answeredAlerts().at(0).title, u"删除好友"_s);
    EXPECT_EQ(Alerts::answeredAlerts().at(0).text, u"确定要删除好友「<b>阿花</b>」吗？删除后将无法互发消息。"_s);
    EXPECT_EQ(Alerts::answeredAlerts().at(0).buttons, (QStringList { u"取消"_s, u"删除"_s }));
    EXPECT_EQ(Alerts::answeredAlerts().at(0).destructiveButton, 1) << "\"删除\" throws the friend away";
    EXPECT_FALSE(page->pendingDelete().has_value());
    EXPECT_EQ(server.requests().size(), before);

    // A refused deletion says so and keeps the friend listed and pending.
    QSignalSpy removed(list->model(), &QAbstractItemModel::rowsRemoved);
    server.scriptNext(ScriptedReply { 500, R"({"success":false,"message":"忙"})" });
    Alerts::setNextAnswers({ 1, 0 });
    clickRow(0, &FriendRowView::deleteRect);
    ASSERT_TRUE(waitUntil([&] { return Alerts::answeredAlerts().size() == 3; }));
    const Alerts::Record failed = Alerts::answeredAlerts().at(2);
    EXPECT_EQ(failed.style, Alerts::Style::Warning);
    EXPECT_EQ(failed.title, u"删除失败"_s);
    EXPECT_TRUE(failed.text.startsWith(u"删除好友「<b>阿花</b>」失败：服务器错误"_s)) << failed.text.toStdString();
    EXPECT_EQ(failed.buttons, QStringList { u"确定"_s });
    EXPECT_EQ(loggedLines(u"Friend"_s).filter(u"❌ 删除好友失败: 服务器错误"_s).size(), 1);
    EXPECT_EQ(list->model()->rowCount(), 3);
    ASSERT_TRUE(page->pendingDelete().has_value());
    EXPECT_EQ(page->pendingDelete()->id, firstId);

    // A deletion removes exactly its own row.
    Alerts::setNextAnswers({ 1 });
    clickRow(1, &FriendRowView::deleteRect);
    ASSERT_TRUE(waitUntil([&] { return list->model()->rowCount() == 2; }));
    EXPECT_FALSE(page->pendingDelete().has_value());
    ASSERT_EQ(removed.count(), 1);
    EXPECT_EQ(removed.at(0).at(1).toInt(), 1);
    EXPECT_EQ(removed.at(0).at(2).toInt(), 1);
}

TEST_F(FriendListPage, TheMessageSheetSendsTrimmedTextAndKeepsARefusedOne)
{
    aliceWithFriends(1);
    openPage();
    // Help for the delete button only, not the whole card.
    QListView* list = page->listView();
    const QRect row = list->visualRect(list->model()->index(0, 0));
    for (const auto& [at, help] : { std::pair { row.topLeft() + QPoint(20, 20), QString() },
             std::pair { FriendRowView::deleteRect(row).center(), u"删除好友"_s } }) {
        QHelpEvent event(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(list->viewport(), &event);
        EXPECT_EQ(QToolTip::text(), help);
    }

    const Friend flower = friends->friends().at(0);
    page->showSendMessage(flower);
    auto* sheet = page->findChild<SendMessageSheet*>();
    ASSERT_TRUE(sheet);
    EXPECT_EQ(page->showingSendMessage(), flower);
    EXPECT_EQ(sheet->size(), QSize(400, 300));
    EXPECT_EQ(sheet->findChild<PlainLabel*>(u"sheetTitle"_s)->fullText(), u"发送消息给 <b>阿花</b>"_s);
    auto* editor = sheet->findChild<PlainTextEditor*>(u"messageEditor"_s);
    auto* send = sheet->findChild<QPushButton*>(u"sendButton"_s);
    EXPECT_EQ(sheet->focusWidget(), editor);
    editor->setPlainText(u" \n\t "_s);
    EXPECT_FALSE(send->isEnabled());

    // Refused: the text stays as typed and the sheet says why.
    editor->setPlainText(u"  在吗？\n"_s);
    QApplication::setActiveWindow(sheet); // shortcuts work in the active window
    server.scriptNext(ScriptedReply { 200, R"({"success":false,"message":"对方不是你的好友"})" });
    QTest::keyClick(sheet, Qt::Key_Return, Qt::ControlModifier); // clicks the button a moment later
    ASSERT_TRUE(waitUntil([&] { return !sheet->errorMessage().isEmpty(); }));
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(editor->text(), u"  在吗？\n"_s);
    EXPECT_TRUE(sheet->errorMessage().contains(u"对方不是你的好友"_s)) << sheet->errorMessage().toStdString();
    EXPECT_TRUE(loggedLines(u"Friend"_s).contains(u"❌ 消息发送失败: 服务器错误: 对方不是你的好友"_s));

    // Sent: trimmed, logged, and the sheet closes.
    QPointer<SendMessageSheet> open(sheet);
    send->click();
    ASSERT_TRUE(waitUntil([&] { return open.isNull(); }));
    ASSERT_FALSE(server.state().messages().isEmpty());
    EXPECT_EQ(server.state().messages().constLast().content, u"在吗？"_s);
    EXPECT_EQ(server.state().messages().constLast().receiverId, flower.userId);
    EXPECT_TRUE(loggedLines(u"Friend"_s).contains(u"✅ 消息发送成功"_s));
    EXPECT_FALSE(page->showingSendMessage());

    // A fresh sheet starts empty; Ctrl+Esc closes it.
    page->showSendMessage(flower);
    open = page->findChild<SendMessageSheet*>();
    ASSERT_TRUE(open);
    QApplication::setActiveWindow(open);
    EXPECT_TRUE(open->findChild<PlainTextEditor*>(u"messageEditor"_s)->text().isEmpty());
    QTest::keyClick(open, Qt::Key_Escape, Qt::ControlModifier);
    ASSERT_TRUE(waitUntil([&] { return open.isNull(); }));
    EXPECT_FALSE(page->showingSendMessage());
}

TEST(FriendCardDate, IsWrittenTheChineseWay)
{
    // Dates show as Chinese dates do, in local time.
    EXPECT_EQ(FriendRowView::formatDate(QDateTime(QDate(2024, 5, 1), QTime(12, 0))), u"2024年5月1日"_s);
    EXPECT_EQ(FriendRowView::formatDate(QDateTime()), QString());
}

// Drawn pixels, in a light and a dark palette: the connection line on its grey block, the
// orange unread count and the empty state's grey texts read at 4.5:1.
TEST_F(FriendListPage, TheConnectionLineAndTheEmptyStateReadInLightAndDark)
{
    signIn();
    messages->connect();
    ASSERT_TRUE(waitUntil([&] { return authentications == 1; }));
    server.messageSocket().pushFriendMessage(messageData(77));
    ASSERT_TRUE(waitUntil([&] { return messages->unreadCount() == 1; }));
    for (const bool dark : { false, true }) {
        SCOPED_TRACE(dark ? "dark" : "light");
        QApplication::setPalette(dark ? darkFusionPalette() : lightPalette());
        openPage();
        ASSERT_EQ(currentContent()->objectName(), u"emptyState"_s);
        const QImage shot = drawnImage(page.get());
        saveShot(shot, dark ? u"friend-list-empty-dark"_s : u"friend-list-empty-light"_s);
        const auto labelArea = [&](const QString& text) {
            for (PlainLabel* label : page->findChildren<PlainLabel*>()) {
                if (label->fullText() == text)
                    return areaIn(label, page.get());
            }
            ADD_FAILURE() << text.toStdString();
            return QRect();
        };
        expectReadable(shot, labelArea(u"在线"_s), "status", { "grey" });
        // The count past its 📨.
        expectReadable(shot, labelArea(u"📨 未读消息: 1 条"_s).adjusted(24, 0, 0, 0), "unread", { "orange" });
        // The desktop's orange, its hue kept, as the reminder pages draw it.
        const QColor orange
            = strongestInkOfKind(shot, labelArea(u"📨 未读消息: 1 条"_s).adjusted(24, 0, 0, 0), "orange");
        EXPECT_NEAR(orange.hsvHue(), SystemColours::orange().hsvHue(), 5) << orange.name().toStdString();
        expectReadable(shot, labelArea(u"还没有好友"_s), "empty title", { "grey" });
        expectReadable(shot, labelArea(u"通过验证码添加好友，开始聊天吧"_s), "empty hint", { "grey" });

        // The empty state's symbol: 60 px square, grey alone, reading as a symbol must at 3:1.
        const QRect symbol = areaIn(page->findChild<SymbolView*>(u"emptySymbol"_s), page.get());
        EXPECT_EQ(symbol.size(), QSize(60, 60));
        EXPECT_GE(inkIn(shot, symbol.adjusted(-4, -4, 4, 4), 1.2).box.height(), 40);
        const std::map<std::string, double> symbolInks = inkContrasts(shot, symbol);
        ASSERT_TRUE(symbolInks.contains("grey")) << "no symbol";
        EXPECT_EQ(symbolInks.size(), 1U);
        EXPECT_GE(symbolInks.at("grey"), 3.0);
        // The refresh arrow in the button's text colour.
        auto* refresh = page->findChild<RefreshButton*>(u"refresh"_s);
        const QRect button = areaIn(refresh, page.get());
        const QColor arrow = strongestInk(shot, button, button.topLeft());
        EXPECT_LT(contrastRatio(arrow, refresh->palette().color(QPalette::ButtonText)), 1.1)
            << arrow.name().toStdString();
        page.reset();
    }
    QApplication::setPalette(lightPalette());
}

// Drawn pixels, in a light and a dark palette: the card is filled light or dark with the
// palette, its avatar is the emoji at 40 px inside its column; a card's date, pin caption and
// hints and the message sheet's caption read at 4.5:1 and fainter than the nickname and the
// sheet's title.
TEST_F(FriendListPage, CardAndSheetCaptionsAreSecondaryInLightAndDark)
{
    aliceWithFriends(2);
    QFont avatarFont = EmojiLabel::emojiFont(QApplication::font());
    avatarFont.setPixelSize(40);
    QImage alone(120, 120, QImage::Format_RGB32);
    alone.fill(Qt::white);
    {
        QPainter painter(&alone);
        painter.setFont(avatarFont);
        painter.drawText(alone.rect(), Qt::AlignCenter, u"🐶"_s);
    }
    const QRect avatarAlone = colourBox(alone, alone.rect());
    ASSERT_FALSE(avatarAlone.isEmpty()) << "no colour emoji font";

    const struct
    {
        bool dark;
        int fillLightnessFrom;
        int fillLightnessTo;
    } palettes[] = { { false, 230, 255 }, { true, 0, 60 } };
    for (const auto& [dark, fillLightnessFrom, fillLightnessTo] : palettes) {
        SCOPED_TRACE(dark ? "dark" : "light");
        QApplication::setPalette(dark ? darkFusionPalette() : lightPalette());
        openPage();
        const QImage pageShot = drawnImage(page.get());
        saveShot(pageShot, dark ? u"friend-row-dark"_s : u"friend-row-light"_s);
        QListView* list = page->listView();
        const QRect row = list->visualRect(list->model()->index(0, 0));
        const auto inPage = [&](const QRect& inRow) {
            return QRect(list->viewport()->mapTo(page.get(), inRow.topLeft()), inRow.size());
        };
        // The card's text column starts past its avatar; its pin column is centred on the switch.
        const QRect track = FriendRowView::pinSwitchRect(row);
        const QRect avatar = FriendRowView::avatarRect(row, list->font());
        const int textLeft = avatar.right() + 13;

        // The fill between the date and the pin column, and the avatar past the card's edge.
        const QColor fill = dominantColour(pageShot, inPage(QRect(textLeft, row.top() + 66, 60, 14)));
        EXPECT_GE(fill.lightness(), fillLightnessFrom) << fill.name().toStdString();
        EXPECT_LE(fill.lightness(), fillLightnessTo) << fill.name().toStdString();
        const QRect drawnAvatar = colourBox(pageShot, inPage(QRect(row.left() + 2, row.top() + 2, textLeft, 80)));
        EXPECT_EQ(drawnAvatar.size(), avatarAlone.size());
        EXPECT_TRUE(inPage(avatar).contains(drawnAvatar));
        // The delete button's trash can: red (not the blue of the emoji bin), as tall as the
        // body text, and readable against the card as a symbol must be.
        const QRect trash = inPage(FriendRowView::deleteRect(row));
        const std::map<std::string, double> inks = inkContrasts(pageShot, trash);
        ASSERT_TRUE(inks.contains("red")) << "no trash can";
        EXPECT_GE(inks.at("red"), 3.0);
        EXPECT_FALSE(inks.contains("blue"));
        EXPECT_LE(colourBox(pageShot, trash).height(), QFontInfo(TextStyle::font(TextStyle::Style::body)).pixelSize());
        // The off track of an unpinned friend's switch stands out from the card, quieter than its text.
        const QColor offTrack = pageShot.pixelColor(inPage(track).center() + QPoint(6, 0));
        const double trackContrast = contrastRatio(offTrack, fill);
        EXPECT_GE(trackContrast, 1.3) << offTrack.name().toStdString();
        EXPECT_LT(trackContrast, 3.0) << offTrack.name().toStdString();
        const int pinLeft = track.center().x() - 50;

        // While the list refreshes the disabled button's arrow, caught a quarter turn in,
        // still reads on the page as a symbol must.
        auto* refresh = page->findChild<RefreshButton*>(u"refresh"_s);
        refresh->click();
        ASSERT_TRUE(waitUntil([&] { return !friends->isLoading(); }));
        ASSERT_FALSE(refresh->isEnabled());
        refresh->spin()->pause();
        refresh->spin()->setCurrentTime(250);
        const QImage refreshing = drawnImage(page.get());
        saveShot(refreshing, dark ? u"friend-list-refreshing-dark"_s : u"friend-list-refreshing-light"_s);
        const std::map<std::string, double> arrow = inkContrasts(refreshing, areaIn(refresh, page.get()));
        ASSERT_TRUE(arrow.contains("grey")) << "no arrow";
        EXPECT_GE(arrow.at("grey"), 3.0);
        const QRect nickname = inPage(QRect(textLeft, row.top() + 18, pinLeft - 8 - textLeft, 22));

        page->showSendMessage(friends->friends().at(0));
        auto* sheet = page->findChild<SendMessageSheet*>();
        ASSERT_TRUE(sheet);
        const QImage sheetShot = drawnImage(sheet);
        saveShot(sheetShot, dark ? u"message-sheet-dark"_s : u"message-sheet-light"_s);
        const auto label = [&](const QString& text) {
            for (PlainLabel* found : sheet->findChildren<PlainLabel*>()) {
                if (found->fullText() == text)
                    return areaIn(found, sheet);
            }
            ADD_FAILURE() << text.toStdString();
            return QRect();
        };

        const struct
        {
            const char* what;
            const QImage& shot;
            QRect area;
            QRect primary;
        } texts[] = {
            { "date", pageShot, inPage(QRect(textLeft, row.top() + 44, pinLeft - 8 - textLeft, 18)), nickname },
            { "pin caption", pageShot, inPage(QRect(pinLeft, int(track.bottom()) + 2, 100, 14)), nickname },
            { "hints", pageShot, inPage(QRect(pinLeft, int(track.bottom()) + 18, 100, 26)), nickname },
            { "sheet caption", sheetShot, label(u"消息内容"_s), label(u"发送消息给 <b>阿花</b>"_s) },
        };
        for (const auto& text : texts)
            expectSecondary(text.shot, text.area, text.primary, text.what);
        sheet->reject();
        page.reset();
    }
    QApplication::setPalette(lightPalette());
}

// The placeholders of the friends' fields as drawn after the desktop switches its palette:
// at 4.5:1 on the field, yet fainter than text typed into it. (The cards' captions are
// measured above.)
TEST_F(FriendListPage, FieldPlaceholdersAreSecondaryAfterAPaletteSwitch)
{
    FriendVerificationView codes(*friends, timers);
    codes.show();
    codes.findChild<QAbstractButton*>(u"modeAdd"_s)->click();
    MessageBubbleWindow received(
        MessageBubbleWindow::Kind::Received, 1, u"7"_s, 2, u"🐶"_s, u"阿花"_s, u"喵"_s, screens);
    MessageBubbleWindow compose(
        MessageBubbleWindow::Kind::Compose, 2, u"8"_s, 2, u"🐶"_s, u"发送给 阿花"_s, {}, screens);
    const std::pair<QWidget*, QString> fields[]
        = { { &codes, u"codeField"_s }, { &received, u"input"_s }, { &compose, u"input"_s } };
    received.show();
    compose.show();
    for (const bool dark : { false, true }) {
        SCOPED_TRACE(dark ? "dark" : "light");
        QApplication::setPalette(dark ? darkFusionPalette() : lightPalette());
        QCoreApplication::processEvents();
        for (const auto& [window, name] : fields)
            expectSecondaryPlaceholder(window, window->findChild<QWidget*>(name), window->objectName().toStdString());
    }
    QApplication::setPalette(lightPalette());
}

// A nickname of thousands of characters, or of several lines, stays inside the screens that
// quote it: the success line of the code page keeps to the page, and the delete
// confirmation stays short enough for its buttons to be on screen.
TEST_F(FriendListPage, ALongNicknameStaysInsideTheScreensThatQuoteIt)
{
    signIn();
    struct Case
    {
        QString nickname;
        QString quoted; ///< as the confirmation quotes it
    };
    const QString endless = QString(u"超长名字"_s).repeated(1500);
    const Case cases[] = {
        { u"<b>阿花</b>"_s, u"<b>阿花</b>"_s },
        { endless, endless.left(40) + u"…"_s },
        { u"第一行\n第二行\r\n第三行"_s, u"第一行 第二行  第三行"_s },
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.quoted.toStdString());
        const qint64 other
            = server.state().addUser(u"long"_s + QString::number(++n) + u"@x.io"_s, c.nickname, u"🐼"_s, u"pw"_s);
        std::optional<qint64> sender = other;
        APIClient otherClient(server.baseUrl(), [&] { return sender; });
        const auto code = await(otherClient.generateFriendCode());
        ASSERT_TRUE(code.ok());

        FriendVerificationView codePage(*friends, timers);
        codePage.show();
        codePage.setMode(FriendVerificationView::Mode::add);
        codePage.findChild<PlainLineEdit*>(u"codeField"_s)->setText(*code.value);
        codePage.findChild<QPushButton*>(u"add"_s)->click();
        ASSERT_TRUE(waitUntil([&] { return !codePage.isLoading(); }));
        ASSERT_EQ(codePage.successMessage(), u"已添加好友："_s + c.nickname);
        QCoreApplication::processEvents();
        for (const QString& name : { u"success"_s, u"successSymbol"_s }) {
            const QWidget* part = codePage.findChild<QWidget*>(name);
            ASSERT_TRUE(part && part->isVisible()) << name.toStdString();
            const QRect box(part->mapTo(&codePage, QPoint(0, 0)), part->size());
            EXPECT_TRUE(codePage.rect().contains(box))
                << name.toStdString() << " at " << box.x() << ".." << box.right() << " of " << codePage.width();
        }
        EXPECT_TRUE(codePage.findChild<PlainLabel*>(u"success"_s)->text().startsWith(u"已添加好友："_s));

        openPage();
        const QList<Friend>& listed = friends->friends();
        const auto row
            = std::find_if(listed.cbegin(), listed.cend(), [&](const Friend& f) { return f.userId == other; });
        ASSERT_NE(row, listed.cend());
        Alerts::clearAnsweredAlerts();
        Alerts::setNextAnswers({ 0 });
        clickRow(int(row - listed.cbegin()), &FriendRowView::deleteRect);
        ASSERT_EQ(Alerts::answeredAlerts().size(), 1);
        EXPECT_EQ(
            Alerts::answeredAlerts().at(0).text, u"确定要删除好友「"_s + c.quoted + u"」吗？删除后将无法互发消息。"_s);
        page.reset();
    }
}

// The keyboard alone reaches every card: Tab enters the list on the first card, the arrows
// move on, Space flips the pin of the card in focus and Delete asks to delete that friend.
TEST_F(FriendListPage, TheKeyboardAlonePinsAndDeletes)
{
    aliceWithFriends(3);
    openPage();
    QListView* list = page->listView();
    ASSERT_EQ(list->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
    page->activateWindow();
    list->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(waitUntil([&] { return list->hasFocus(); }));
    EXPECT_EQ(list->currentIndex().row(), 0);

    QTest::keyClick(list, Qt::Key_Down);
    const Friend second = friends->friends().at(1);
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_EQ(friends->pinnedFriendIds(), QSet<qint64> { second.id });
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_TRUE(friends->pinnedFriendIds().isEmpty());

    Alerts::setNextAnswers({ 0 });
    QTest::keyClick(list, Qt::Key_Delete);
    ASSERT_EQ(Alerts::answeredAlerts().size(), 1);
    EXPECT_TRUE(Alerts::answeredAlerts().at(0).text.contains(second.nickname));
    EXPECT_EQ(list->model()->rowCount(), 3) << "cancelled";
}

// Once the server has let a friend go, the keyboard stays on the cards: on the card that took
// the deleted one's place, on the new last card, and with none left on the page's next stop
// rather than anywhere in the window; but a user who clicked elsewhere meanwhile keeps that.
TEST_F(FriendListPage, AfterADeleteByKeyTheFocusStaysInPlace)
{
    aliceWithFriends(4);
    openPage();
    QListView* list = page->listView();
    page->activateWindow();
    list->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(waitUntil([&] { return list->hasFocus(); }));
    const auto idAt = [&](int row) { return friends->friends().value(row).id; };
    const auto deleteInFocus = [&](int left) {
        Alerts::setNextAnswers({ 1 });
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
        return waitUntil([&] { return list->model()->rowCount() == left; });
    };

    QWidget* refresh = page->findChild<QWidget*>(u"refresh"_s);
    ASSERT_TRUE(refresh);
    Alerts::setNextAnswers({ 1 });
    QTest::keyClick(list, Qt::Key_Delete);
    refresh->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(waitUntil([&] { return list->model()->rowCount() == 3; }));
    QTest::qWait(50);
    EXPECT_TRUE(refresh->hasFocus()) << "the focus was called back from where the user took it";
    list->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(waitUntil([&] { return list->hasFocus(); }));

    QTest::keyClick(list, Qt::Key_Down);
    const qint64 below = idAt(2);
    ASSERT_TRUE(deleteInFocus(2));
    ASSERT_TRUE(waitUntil([&] { return list->hasFocus() && list->currentIndex().row() == 1; }))
        << "at row " << list->currentIndex().row();
    EXPECT_EQ(idAt(1), below);
    ASSERT_TRUE(deleteInFocus(1));
    ASSERT_TRUE(waitUntil([&] { return list->hasFocus() && list->currentIndex().row() == 0; }))
        << "the new last card, not row " << list->currentIndex().row();
    ASSERT_TRUE(deleteInFocus(0));
    ASSERT_TRUE(waitUntil([&] {
        const QWidget* focus = QApplication::focusWidget();
        return focus && focus != list && page->isAncestorOf(focus) && focus->isVisible();
    })) << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "nothing");
}
