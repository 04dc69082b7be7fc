// The friends' windows on the real X server: bubbles sit beside the pet where the window
// system put them, and the pages fit their sizes. With TAMSEL_SHOT_DIR set, each is also
// saved as a picture to look at.
#include "../FriendsUiFixture.h"

#include "friends/FriendListView.h"
#include "friends/MenuBarFriendActions.h"
#include "friends/MessageBubbleWindow.h"
#include "friends/SendMessageSheet.h"
#include "support/Screenshots.h"
#include "widgets/PlainLineEdit.h"
#include "widgets/PlainTextEditor.h"

#include <QGuiApplication>
#include <QListView>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

void save(const QPixmap& picture, const QString& name)
{
    saveShot(picture.toImage(), name);
}

class FriendScreens : public FriendsUiFixture
{
protected:
    void SetUp() override
    {
        FriendsUiFixture::SetUp();
        // The real screen, so the windows land where the numbers say.
        const QRect full = QGuiApplication::primaryScreen()->geometry();
        screens.setGeometries({ ScreenGeometry { full, full.adjusted(0, 0, 0, -40) } });
    }
};

} // namespace

TEST_F(FriendScreens, BubblesSitBesideThePetOnScreen)
{
    const qint64 alice = signIn();
    const qint64 bob = server.state().addUser(u"bob@x.io"_s, u"鲍勃 <b>Bob</b>"_s, u"🐶"_s, u"pw"_s);
    server.state().befriend(alice, bob);
    ASSERT_TRUE(await(friends->fetchFriendList()).ok());

    FriendMessage m;
    m.id = 1;
    m.senderId = bob;
    m.senderNickname = u"鲍勃 <b>Bob</b>"_s;
    m.senderAvatar = u"🐶"_s;
    m.content = u"晚上一起吃饭吗？مرحبا 👨‍👩‍👧 "_s + QString(300, u'喵');
    bubbles->showMessage(m);
    QCoreApplication::processEvents();
    pet->window.setModelOrigin({ 300, 600 });
    bubbles->showSendMessageBubble(friends->friends().at(0));
    ASSERT_TRUE(waitUntil([&] { return bubbles->bubbles().size() == 2; }));
    MessageBubbleWindow* received = bubbles->bubbles().at(0);
    MessageBubbleWindow* compose = bubbles->bubbles().at(1);
    compose->textField()->setText(u"好呀 🍜"_s);

    // Wait for the window system to place them, then read back where they are.
    const QRect petRect = pet->window.geometry();
    ASSERT_TRUE(waitUntil([&] {
        return received->geometry().topLeft() == QPoint(petRect.right() + 1 + 20, petRect.top())
            && compose->geometry().top() == received->geometry().bottom() + 1 + 10;
    })) << received->geometry().x()
        << "," << received->geometry().y();
    EXPECT_EQ(received->geometry().size(), QSize(320, 170));
    EXPECT_EQ(compose->geometry().size(), QSize(320, 110));

    QTest::qWait(200);
    save(received->grab(), u"bubble-received"_s);
    save(compose->grab(), u"bubble-compose"_s);
    save(QGuiApplication::primaryScreen()->grabWindow(0), u"bubbles-screen"_s);
}

TEST_F(FriendScreens, PagesFitTheirSizes)
{
    const qint64 alice = signIn();
    for (int i = 0; i < 4; ++i) {
        const qint64 other = server.state().addUser(u"f"_s + QString::number(i) + u"@x.io"_s,
            i == 0 ? u"<b>一个非常非常长的昵称，长到放不下</b> 👨‍👩‍👧"_s
                   : u"朋友"_s + QString::number(i),
            u"🐱"_s, u"pw"_s);
        server.state().befriend(alice, other);
    }
    MenuBarFriendActions actions(*friends, timers, *bubbles);
    actions.showVerificationWindow();
    QWidget* window = actions.verificationWindow();
    ASSERT_TRUE(waitUntil([&] { return window->isVisible(); }));
    EXPECT_EQ(window->size(), QSize(400, 350));
    QTest::qWait(200);
    save(window->grab(), u"friend-code-window"_s);

    FriendListView page(*friends, *messages, timers);
    page.resize(560, 480);
    page.show();
    ASSERT_TRUE(waitUntil([&] { return page.listView()->model()->rowCount() == 4; }));
    friends->togglePinFriend(friends->friends().at(1).id);
    messages->connect();
    ASSERT_TRUE(waitUntil([&] { return authentications == 1; }));
    QTest::qWait(200);
    save(page.grab(), u"friend-list-page"_s);

    // The message sheet with the longest name and a refusal keeps everything inside it.
    page.showSendMessage(friends->friends().at(0));
    auto* sheet = page.findChild<SendMessageSheet*>();
    ASSERT_TRUE(sheet);
    sheet->findChild<PlainTextEditor*>(u"messageEditor"_s)->setPlainText(u"在吗？"_s);
    server.scriptNext(ScriptedReply { 200, R"({"success":false,"message":"对方不是你的好友，请先添加好友再发消息"})" });
    sheet->findChild<QPushButton*>(u"sendButton"_s)->click();
    ASSERT_TRUE(waitUntil([&] { return !sheet->errorMessage().isEmpty(); }));
    QTest::qWait(200);
    for (const QWidget* part : sheet->findChildren<QWidget*>()) {
        if (part->isVisible() && part->parentWidget() == sheet) {
            EXPECT_TRUE(sheet->rect().contains(part->geometry())) << part->objectName().toStdString();
        }
    }
    save(sheet->grab(), u"send-message-sheet"_s);
}

TEST_F(FriendScreens, BubblesBesideAPetAtTheRightEdgeStayOnScreen)
{
    const qint64 alice = signIn();
    const qint64 bob = server.state().addUser(u"bob@x.io"_s, u"鲍勃"_s, u"🐶"_s, u"pw"_s);
    server.state().befriend(alice, bob);
    ASSERT_TRUE(await(friends->fetchFriendList()).ok());

    FriendMessage m;
    m.id = 1;
    m.senderId = bob;
    m.senderNickname = u"鲍勃"_s;
    m.senderAvatar = u"🐶"_s;
    m.content = u"晚上一起吃饭吗？"_s;
    bubbles->showMessage(m);
    QCoreApplication::processEvents();
    // The user drags the parked pet to the right edge, then writes to Bob.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    pet->window.setModelOrigin({ screen.width() - 128.0, 400 });
    bubbles->showSendMessageBubble(friends->friends().at(0));
    ASSERT_TRUE(waitUntil([&] { return bubbles->bubbles().size() == 2; }));
    MessageBubbleWindow* received = bubbles->bubbles().at(0);
    MessageBubbleWindow* compose = bubbles->bubbles().at(1);

    // Where the window system put them: left of the pet, whole on the screen.
    const QRect petRect = pet->window.geometry();
    const bool placed = waitUntil([&] {
        return received->geometry().topLeft() == QPoint(petRect.left() - 20 - 320, petRect.top())
            && compose->geometry().top() == received->geometry().bottom() + 1 + 10
            && compose->geometry().left() == received->geometry().left();
    });
    QTest::qWait(200);
    save(QGuiApplication::primaryScreen()->grabWindow(0), u"bubbles-right-edge"_s);
    ASSERT_TRUE(placed) << received->geometry().x() << "," << received->geometry().y();
    EXPECT_TRUE(screen.contains(received->geometry()));
    EXPECT_TRUE(screen.contains(compose->geometry()));
}
