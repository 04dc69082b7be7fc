#pragma once

#include <QMenu>
#include <QObject>
#include <QPointer>

class FriendManager;
class FriendMessageBubbleWindowManager;
class QAction;
class QWidget;
class TimerSource;
struct Friend;

/// Opens the friend-code window, "好友验证码": one at a time, brought forward when it is
/// open already, built afresh after it was closed. Also fills a friend submenu, when it is
/// given one, with the friends each time it opens; choosing a friend opens a message bubble.
class MenuBarFriendActions final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MenuBarFriendActions)

public:
    MenuBarFriendActions(FriendManager& friends, TimerSource& timers, FriendMessageBubbleWindowManager& bubbles,
        QObject* parent = nullptr);
    ~MenuBarFriendActions() override;

    /// A friend's menu text: avatar and nickname, an "&" in the nickname shown as typed.
    [[nodiscard]] static QString menuLabel(const Friend& friendRecord);

    void showVerificationWindow();
    /// The open friend-code window, or null.
    [[nodiscard]] QWidget* verificationWindow() const { return m_verificationWindow; }

    /// The friend submenu this object fills, or null; no menu offers one yet.
    [[nodiscard]] QMenu* friendSubmenu() const { return m_friendSubmenu; }
    /// Makes `menu` the friend submenu, filled afresh each time it is about to show.
    void setFriendSubmenu(QMenu* menu);
    void menuNeedsUpdate(QMenu* menu);
    /// Replaces the items of `menu` by one per friend, or "暂无好友" without any.
    void loadFriendSubmenu(QMenu* menu);
    /// Opens a message bubble to the friend that `item` carries.
    void sendMessageToFriend(const QAction* item);

private:
    FriendManager& m_friends;
    TimerSource& m_timers;
    FriendMessageBubbleWindowManager& m_bubbles;
    QPointer<QWidget> m_verificationWindow;
    QPointer<QMenu> m_friendSubmenu;
};
