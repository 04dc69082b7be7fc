#include "friends/FriendMenuEntries.h"

#include "friends/FriendManager.h"
#include "friends/FriendMessageBubbleWindowManager.h"
#include "friends/MenuBarFriendActions.h"
#include "server/Tasks.h"
#include "server/UserManager.h"

#include <QMenu>
#include <QWidgetAction>

#include "widgets/PlainLabel.h"
#include "widgets/SecondaryText.h"

using namespace Qt::StringLiterals;

namespace {

/// An inert line in the secondary colour, neither enabled nor choosable.
void addNote(QMenu* menu, const QString& text)
{
    auto* action = new QWidgetAction(menu);
    auto* note = new PlainLabel(text);
    note->setObjectName(u"menuNote"_s);
    note->setContentsMargins(24, 4, 24, 4);
    SecondaryText::apply(note);
    action->setDefaultWidget(note);
    action->setText(text);
    menu->addAction(action);
}

} // namespace

FriendMenuEntries::FriendMenuEntries(UserManager& users, FriendManager& friends,
    FriendMessageBubbleWindowManager& bubbles, MenuBarFriendActions& friendActions,
    std::function<void()> leaveDoNotDisturb, QObject* parent)
    : QObject(parent)
    , m_users(users)
    , m_friends(friends)
    , m_bubbles(bubbles)
    , m_friendActions(friendActions)
    , m_leaveDoNotDisturb(std::move(leaveDoNotDisturb))
{
}

void FriendMenuEntries::addTo(QMenu* menu)
{
    createFriendListMenu(menu);
    createPinnedFriendsMenu(menu);
}

QMenu* FriendMenuEntries::createFriendListMenu(QMenu* menu)
{
    QMenu* submenu = menu->addMenu(u"👥 发私信"_s);
    submenu->setObjectName(u"friendsMenu"_s);
    if (!m_users.isLoggedIn()) {
        addNote(submenu, u"请先登录"_s);
        return submenu;
    }
    if (m_friends.friends().isEmpty())
        addNote(submenu, u"暂无好友"_s);
    // Friends inside the submenu leave do-not-disturb alone; pinned ones end it.
    for (const Friend& f : m_friends.friends())
        submenu->addAction(MenuBarFriendActions::menuLabel(f), this, [this, f] { m_bubbles.showSendMessageBubble(f); });
    submenu->addSeparator();
    submenu->addAction(u"🔑 添加好友"_s, this, [this] { m_friendActions.showVerificationWindow(); });
    submenu->addAction(
        u"🔄 刷新列表"_s, this, [this] { Tasks::start(m_friends.fetchFriendList(), u"Friend"_s, u"刷新好友列表"_s); });
    return submenu;
}

void FriendMenuEntries::createPinnedFriendsMenu(QMenu* menu)
{
    if (!m_users.isLoggedIn())
        return;
    for (const Friend& f : m_friends.getPinnedFriends()) {
        menu->addAction(MenuBarFriendActions::menuLabel(f), this, [this, f] {
            if (m_leaveDoNotDisturb)
                m_leaveDoNotDisturb();
            m_bubbles.showSendMessageBubble(f);
        });
    }
}
