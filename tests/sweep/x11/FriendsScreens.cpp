// The friends' screens of the sweep, on the friends tests' rig.
#include "SweptRigs.h"

#include "friends/FriendListView.h"
#include "friends/FriendMenuEntries.h"
#include "friends/FriendVerificationView.h"
#include "friends/MenuBarFriendActions.h"
#include "friends/MessageBubbleWindow.h"
#include "friends/SendMessageSheet.h"
#include "menus/PetContextMenu.h"
#include "pet/MultiPetManager.h"
#include "widgets/PlainLineEdit.h"
#include "widgets/PlainTextEditor.h"

#include "friends/FriendsUiFixture.h"
#include "menus/MenuParts.h"
#include "support/Wait.h"

#include <QMenu>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

class FriendsScreen final : public Hosted<FriendsUiFixture>, public BuiltScreen
{
public:
    explicit FriendsScreen(Friends which)
    {
        switch (which) {
        case Friends::codeGenerated:
        case Friends::codeAdd: {
            aliceWithFriendBob();
            m_actions = std::make_unique<MenuBarFriendActions>(*friends, timers, *bubbles);
            m_actions->showVerificationWindow();
            m_root = m_actions->verificationWindow();
            auto* page = m_root->findChild<FriendVerificationView*>();
            if (which == Friends::codeGenerated) {
                named<QPushButton>(page, u"generate"_s)->click();
                EXPECT_TRUE(waitUntil([&] { return !page->isLoading() && friends->currentVerificationCode(); }));
                named<QPushButton>(page, u"copy"_s)->click();
            } else {
                named<QAbstractButton>(page, u"modeAdd"_s)->click();
                named<PlainLineEdit>(page, u"codeField"_s)->setText(u"123456"_s);
                named<QPushButton>(page, u"add"_s)->click();
                EXPECT_TRUE(waitUntil([&] { return !page->isLoading(); }));
            }
            break;
        }
        case Friends::received:
        case Friends::compose: {
            const bool received = which == Friends::received;
            m_bubble = std::make_unique<MessageBubbleWindow>(
                received ? MessageBubbleWindow::Kind::Received : MessageBubbleWindow::Kind::Compose, 1, u"1"_s, 2,
                u"🐶"_s, received ? u"阿花"_s : u"发送给 阿花"_s, received ? u"今天一起去海边玩吗？"_s : QString(),
                screens);
            if (received)
                m_bubble->setWaitingCount(3);
            named<PlainLineEdit>(m_bubble.get(), u"input"_s)->setText(u"好呀"_s);
            m_bubble->show();
            m_root = m_bubble.get();
            break;
        }
        case Friends::list:
        case Friends::listOffline: {
            aliceWithFriendBob();
            const qint64 carol = server.state().addUser(u"carol@x.io"_s, u"卡罗尔"_s, u"🐰"_s, u"pw"_s);
            server.state().befriend(users->currentUser()->id, carol);
            // A message waits unread; no bubble takes it, so none opens beside the page.
            bubbles.reset();
            connectAndAuthenticate();
            server.messageSocket().pushFriendMessage(messageData(77));
            EXPECT_TRUE(waitUntil([&] { return messages->unreadCount() == 1; }));
            if (which == Friends::listOffline)
                messages->disconnect();
            m_list = std::make_unique<FriendListView>(*friends, *messages, timers);
            m_list->resize(560, 480);
            m_list->show();
            EXPECT_TRUE(waitUntil([&] { return !friends->isLoading() && friends->friends().size() == 2; }));
            if (!friends->friends().isEmpty())
                friends->togglePinFriend(friends->friends().constFirst().id);
            m_root = m_list.get();
            break;
        }
        case Friends::sendSheet: {
            Friend bob;
            bob.nickname = u"鲍勃"_s;
            bob.avatarEmoji = u"🐶"_s;
            m_sheet = std::make_unique<SendMessageSheet>(
                bob, [](QString) -> QCoro::Task<> { co_return; }, nullptr);
            m_sheet->show();
            if (auto* editor = m_sheet->findChild<PlainTextEditor*>())
                editor->setPlainText(u"周末一起玩吗？"_s);
            m_root = m_sheet.get();
            break;
        }
        }
        QCoreApplication::processEvents();
    }

    ~FriendsScreen() override
    {
        m_bubble.reset();
        if (m_actions && m_actions->verificationWindow())
            delete m_actions->verificationWindow();
        m_actions.reset();
        m_list.reset();
        m_sheet.reset();
        TearDown();
    }

    [[nodiscard]] QWidget* root() const override { return m_root; }

private:
    QPointer<QWidget> m_root;
    std::unique_ptr<MessageBubbleWindow> m_bubble;
    std::unique_ptr<MenuBarFriendActions> m_actions;
    std::unique_ptr<FriendListView> m_list;
    std::unique_ptr<SendMessageSheet> m_sheet;
};

/// The pet's menu as a signed-in or signed-out user sees it, built by the pet's own menu
/// with the friends' entries the program puts into it.
class PetMenuScreen final : public Hosted<FriendsUiFixture>, public BuiltScreen
{
public:
    explicit PetMenuScreen(PetMenu which)
    {
        m_parts.windowManager.createPetWindow();
        if (which == PetMenu::noFriends) {
            signIn();
        } else if (which != PetMenu::signedOut) {
            // Two friends, bob pinned: he also stands at the menu's top level.
            aliceWithFriendBob();
            const qint64 carol = server.state().addUser(u"carol@x.io"_s, u"卡罗尔"_s, u"🐰"_s, u"pw"_s);
            server.state().befriend(users->currentUser()->id, carol);
        }
        if (users->isLoggedIn()) {
            EXPECT_TRUE(await(friends->fetchFriendList()).ok());
            for (const Friend& f : friends->friends()) {
                if (f.nickname == u"鲍勃"_s)
                    friends->togglePinFriend(f.id);
            }
        }
        m_actions = std::make_unique<MenuBarFriendActions>(*friends, timers, *bubbles);
        m_entries = std::make_unique<FriendMenuEntries>(*users, *friends, *bubbles, *m_actions, [] {});
        m_petMenu.setFriendsSection([this](QMenu* menu) { m_entries->addTo(menu); });
        m_menu.reset(m_petMenu.createAnimationContextMenu());
        QMenu* shown = m_menu.get();
        if (which == PetMenu::interactions)
            shown = m_menu->actions().constFirst()->menu();
        else if (which != PetMenu::signedInWithPinnedFriend)
            shown = named<QMenu>(m_menu.get(), u"friendsMenu"_s);
        if (shown) {
            shown->popup(QPoint(200, 200));
            m_root = shown;
        }
        QCoreApplication::processEvents();
    }

    ~PetMenuScreen() override
    {
        if (m_root)
            m_root->close();
        m_menu.reset();
        m_entries.reset();
        m_actions.reset();
        TearDown();
    }

    [[nodiscard]] QWidget* root() const override { return m_root; }

private:
    MenuParts m_parts;
    MultiPetManager m_clones { m_parts.defaults, m_parts.screens, m_parts.windowManager, m_parts.animations,
        &m_parts.random };
    PetContextMenu m_petMenu { m_parts.doNotDisturb, m_parts.animations, m_parts.scheduler, m_clones };
    std::unique_ptr<MenuBarFriendActions> m_actions;
    std::unique_ptr<FriendMenuEntries> m_entries;
    std::unique_ptr<QMenu> m_menu;
    QPointer<QWidget> m_root;
};

} // namespace

std::unique_ptr<BuiltScreen> petMenuScreen(PetMenu which)
{
    return std::make_unique<PetMenuScreen>(which);
}

std::unique_ptr<BuiltScreen> friendsScreen(Friends which)
{
    return std::make_unique<FriendsScreen>(which);
}
