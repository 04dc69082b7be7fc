#pragma once

#include <QObject>

#include <functional>

class FriendManager;
class FriendMessageBubbleWindowManager;
class MenuBarFriendActions;
class QMenu;
class UserManager;

/// The friends' part of the pet's right-click menu: the "👥 发私信" submenu (the friends,
/// adding one by code, refreshing the list) and, at the top level, one item per pinned
/// friend. Built from the current state each time the menu opens.
class FriendMenuEntries final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FriendMenuEntries)

public:
    /// `leaveDoNotDisturb` runs before a pinned friend's bubble opens: picking a friend
    /// from the top level means the user wants the pet back.
    FriendMenuEntries(UserManager& users, FriendManager& friends, FriendMessageBubbleWindowManager& bubbles,
        MenuBarFriendActions& friendActions, std::function<void()> leaveDoNotDisturb, QObject* parent = nullptr);

    /// Appends the submenu and then the pinned friends to `menu`.
    void addTo(QMenu* menu);
    /// Appends the "👥 发私信" submenu to `menu`: the friends, adding one by code and
    /// refreshing the list, or the note that nobody is signed in. Returns the submenu.
    QMenu* createFriendListMenu(QMenu* menu);
    /// Appends one item per pinned friend to `menu`; nothing while nobody is signed in.
    void createPinnedFriendsMenu(QMenu* menu);

private:
    UserManager& m_users;
    FriendManager& m_friends;
    FriendMessageBubbleWindowManager& m_bubbles;
    MenuBarFriendActions& m_friendActions;
    std::function<void()> m_leaveDoNotDisturb;
};
