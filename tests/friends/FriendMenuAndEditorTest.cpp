// The pet menu's friend entries and the multi-line message editor.
#include "FriendsUiFixture.h"

#include "friends/FriendMenuEntries.h"
#include "friends/MenuBarFriendActions.h"
#include "friends/MessageBubbleWindow.h"
#include "friends/unwired/TextViewWrapper.h"
#include "support/LogLines.h"
#include "widgets/PlainTextEditor.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QStringList titles(const QMenu* menu)
{
    QStringList out;
    for (const QAction* action : menu->actions())
        out.append(action->isSeparator() ? u"---"_s : action->text());
    return out;
}

QAction* actionTitled(const QMenu* menu, const QString& title)
{
    for (QAction* action : menu->actions()) {
        if (action->text() == title)
            return action;
    }
    return nullptr;
}

class FriendMenu : public FriendsUiFixture
{
protected:
    void SetUp() override
    {
        FriendsUiFixture::SetUp();
        actions = std::make_unique<MenuBarFriendActions>(*friends, timers, *bubbles);
        entries
            = std::make_unique<FriendMenuEntries>(*users, *friends, *bubbles, *actions, [this] { ++leftDoNotDisturb; });
    }

    void TearDown() override
    {
        entries.reset();
        actions.reset();
        FriendsUiFixture::TearDown();
    }

    /// The menu as the pet shows it, with the entries between two neighbours.
    std::unique_ptr<QMenu> build()
    {
        auto menu = std::make_unique<QMenu>();
        menu->addAction(u"🐾 互动"_s);
        menu->addSeparator();
        entries->addTo(menu.get());
        menu->addAction(u"🍾 漂流瓶"_s);
        return menu;
    }

    std::unique_ptr<MenuBarFriendActions> actions;
    std::unique_ptr<FriendMenuEntries> entries;
    int leftDoNotDisturb = 0;
};

} // namespace

TEST_F(FriendMenu, ShowsWhatTheAccountAndListHold)
{
    std::unique_ptr<QMenu> menu = build();
    EXPECT_EQ(titles(menu.get()), (QStringList { u"🐾 互动"_s, u"---"_s, u"👥 发私信"_s, u"🍾 漂流瓶"_s }));
    EXPECT_EQ(titles(actionTitled(menu.get(), u"👥 发私信"_s)->menu()), QStringList { u"请先登录"_s });

    const qint64 alice = signIn();
    menu = build();
    EXPECT_EQ(titles(actionTitled(menu.get(), u"👥 发私信"_s)->menu()),
        (QStringList { u"暂无好友"_s, u"---"_s, u"🔑 添加好友"_s, u"🔄 刷新列表"_s }));

    // Two friends, the second pinned: it stands in the submenu and again at the top level.
    const qint64 a = server.state().addUser(u"a@x.io"_s, u"A&B"_s, u"🐶"_s, u"pw"_s);
    const qint64 b = server.state().addUser(u"b@x.io"_s, u"乙"_s, u"🐱"_s, u"pw"_s);
    server.state().befriend(alice, a);
    server.state().befriend(alice, b);
    menu = build();
    actionTitled(actionTitled(menu.get(), u"👥 发私信"_s)->menu(), u"🔄 刷新列表"_s)->trigger();
    ASSERT_TRUE(waitUntil([&] { return friends->friends().size() == 2; }));
    friends->togglePinFriend(friends->friends().at(1).id);
    menu = build();
    EXPECT_EQ(titles(actionTitled(menu.get(), u"👥 发私信"_s)->menu()),
        (QStringList { u"🐶 A&&B"_s, u"🐱 乙"_s, u"---"_s, u"🔑 添加好友"_s, u"🔄 刷新列表"_s }));
    EXPECT_EQ(
        titles(menu.get()), (QStringList { u"🐾 互动"_s, u"---"_s, u"👥 发私信"_s, u"🐱 乙"_s, u"🍾 漂流瓶"_s }));

    // Signed out again: no pinned friends at the top level.
    users->logout();
    menu = build();
    EXPECT_EQ(titles(menu.get()), (QStringList { u"🐾 互动"_s, u"---"_s, u"👥 发私信"_s, u"🍾 漂流瓶"_s }));
}

TEST_F(FriendMenu, OnlyAPinnedFriendLeavesDoNotDisturb)
{
    const qint64 alice = signIn();
    const qint64 b = server.state().addUser(u"b@x.io"_s, u"乙"_s, u"🐱"_s, u"pw"_s);
    server.state().befriend(alice, b);
    ASSERT_TRUE(await(friends->fetchFriendList()).ok());
    friends->togglePinFriend(friends->friends().at(0).id);
    pet->window.setModelOrigin({ 300, 600 });

    struct Case
    {
        QString title;
        bool inSubmenu;
        int leaves;
    };
    const Case cases[] = {
        { u"🐱 乙"_s, true, 0 },
        { u"🔑 添加好友"_s, true, 0 },
        { u"🔄 刷新列表"_s, true, 0 },
        { u"🐱 乙"_s, false, 1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title.toStdString() + (c.inSubmenu ? " in the submenu" : " at the top"));
        leftDoNotDisturb = 0;
        std::unique_ptr<QMenu> menu = build();
        QMenu* where = c.inSubmenu ? actionTitled(menu.get(), u"👥 发私信"_s)->menu() : menu.get();
        actionTitled(where, c.title)->trigger();
        QCoreApplication::processEvents();
        EXPECT_EQ(leftDoNotDisturb, c.leaves);
    }
    // Both friend items opened a compose bubble addressed to the friend's user id.
    ASSERT_EQ(bubbles->bubbles().size(), 2);
    for (MessageBubbleWindow* bubble : bubbles->bubbles()) {
        EXPECT_EQ(bubble->kind(), MessageBubbleWindow::Kind::Compose);
        EXPECT_EQ(bubble->receiverId(), b);
    }
    EXPECT_NE(actions->verificationWindow(), nullptr);
}

TEST_F(FriendMenu, TheFriendSubmenuFillsEachTimeItOpens)
{
    QMenu submenu;
    actions->setFriendSubmenu(&submenu);
    Q_EMIT submenu.aboutToShow();
    EXPECT_EQ(titles(&submenu), QStringList { u"暂无好友"_s });
    EXPECT_FALSE(submenu.actions().at(0)->isEnabled());
    EXPECT_TRUE(loggedLines(u"Friend"_s).contains(u"🔄 刷新好友列表菜单"_s));

    const qint64 bob = aliceWithFriendBob();
    ASSERT_TRUE(await(friends->fetchFriendList()).ok());
    Q_EMIT submenu.aboutToShow();
    EXPECT_EQ(titles(&submenu), QStringList { u"🐶 鲍勃"_s });
    submenu.actions().at(0)->trigger();
    ASSERT_TRUE(waitUntil([&] { return bubbles->bubbles().size() == 1; }));
    EXPECT_EQ(bubbles->bubbles().at(0)->receiverId(), bob);
    EXPECT_TRUE(loggedLines(u"Friend"_s).contains(u"💬 打开给好友 鲍勃 的消息弹框"_s));

    // An item that carries no friend opens nothing.
    QAction stray(u"?"_s);
    stray.setData(42);
    actions->sendMessageToFriend(&stray);
    QCoreApplication::processEvents();
    EXPECT_EQ(bubbles->bubbles().size(), 1);
    EXPECT_TRUE(loggedLines(u"Friend"_s).contains(u"❌ 无法获取好友信息"_s));
}

TEST(MessageEditor, FollowsItsTextAndFocusWithoutMovingTheCaret)
{
    QWidget window;
    auto* other = new QLineEdit(&window);
    auto* editor = new TextViewWrapper(&window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(other);
    layout->addWidget(editor);
    window.show();
    QApplication::setActiveWindow(&window);
    QSignalSpy texts(editor, &TextViewWrapper::textChanged);
    QSignalSpy focus(editor, &TextViewWrapper::focusedChanged);

    editor->setFocused(true);
    ASSERT_TRUE(waitUntil([&] { return editor->isFocused(); }));
    QTest::keyClicks(editor->editor(), u"ab"_s);
    EXPECT_EQ(texts.count(), 2) << "every keystroke reports the text";
    EXPECT_EQ(texts.last().at(0).toString(), u"ab"_s);

    // The same text from outside leaves the caret where the user put it.
    QTextCursor cursor = editor->editor()->textCursor();
    cursor.setPosition(1);
    editor->editor()->setTextCursor(cursor);
    editor->setText(u"ab"_s);
    EXPECT_EQ(editor->editor()->textCursor().position(), 1);
    editor->setText(u"x\"--y"_s);
    EXPECT_EQ(editor->text(), u"x\"--y"_s) << "quotes and dashes stay as typed";

    // False takes focus from nobody; focus moving elsewhere is reported.
    editor->setFocused(false);
    EXPECT_TRUE(editor->isFocused());
    other->setFocus();
    ASSERT_TRUE(waitUntil([&] { return !editor->isFocused(); }));
    EXPECT_EQ(focus.count(), 2);
}
