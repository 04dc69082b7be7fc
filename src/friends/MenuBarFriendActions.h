#pragma once

#include <QObject>
#include <QPointer>

class FriendManager;
class QWidget;
class TimerSource;

/// Opens the friend-code window, "好友验证码": one at a time, brought forward when it is
/// open already, built afresh after it was closed.
class MenuBarFriendActions final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MenuBarFriendActions)

public:
    MenuBarFriendActions(FriendManager& friends, TimerSource& timers, QObject* parent = nullptr);
    ~MenuBarFriendActions() override;

    void showVerificationWindow();
    /// The open friend-code window, or null.
    [[nodiscard]] QWidget* verificationWindow() const { return m_verificationWindow; }

private:
    FriendManager& m_friends;
    TimerSource& m_timers;
    QPointer<QWidget> m_verificationWindow;
};
