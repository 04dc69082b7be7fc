#pragma once

#include "platform/TimerSource.h"
#include "server/FriendModels.h"
#include "widgets/FocusHold.h"

#include <QWidget>

#include <QCoroTask>

#include <memory>
#include <optional>

class ConnectionDot;
class FriendListModel;
class FriendManager;
class FriendMessageManager;
class PlainLabel;
class QListView;
class QPushButton;
class QStackedWidget;
class RefreshButton;

/// The friends page of the preferences: the list as cards with pin switches and delete
/// buttons, the state of the message connection with a reconnect button and the count of
/// received messages, and a refresh button. It holds no data of its own and reloads the
/// list each time it comes on screen.
class FriendListView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FriendListView)

public:
    /// The refresh button stays disabled this long after the reload returned.
    static constexpr int refreshSettleMs = 500;

    FriendListView(
        FriendManager& friends, FriendMessageManager& messages, TimerSource& timers, QWidget* parent = nullptr);
    ~FriendListView() override;

    [[nodiscard]] bool isRefreshing() const { return m_isRefreshing; }
    /// The friend waiting for the delete confirmation, if any.
    [[nodiscard]] const std::optional<Friend>& pendingDelete() const { return m_showingDeleteConfirm; }
    [[nodiscard]] QListView* listView() const { return m_list; }
    /// The friend whose message sheet is open, if any.
    [[nodiscard]] const std::optional<Friend>& showingSendMessage() const { return m_showingSendMessage; }

    /// A card's send action, which no card control offers yet: opens the message sheet for
    /// `friendRecord`, unless one is open already.
    void showSendMessage(const Friend& friendRecord);
    /// Sends `content` to the friend and logs the outcome; a failure is passed on to the
    /// sheet, which keeps the text and says why.
    QCoro::Task<> sendMessage(Friend to, QString content);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QWidget* headerView();
    QWidget* connectionStatusView();
    QWidget* loadingView();
    QWidget* emptyStateView();
    QWidget* friendsListView();
    void tintBlock();
    void updateConnection();
    void updateContent();
    /// Each time the page comes on screen: the list is fetched again.
    void loadFriends();
    void refreshFriends();
    QCoro::Task<> runRefresh();
    void confirmDelete(const Friend& friendRecord);
    QCoro::Task<> deleteFriend(Friend friendRecord);
    void setRefreshing(bool refreshing);

    FriendManager& m_friendManager;
    FriendMessageManager& m_messageManager;
    TimerSource& m_timers;
    FriendListModel* m_model = nullptr;
    bool m_isRefreshing = false;
    FocusHold m_refreshFocus;
    std::optional<Friend> m_showingDeleteConfirm;
    std::optional<Friend> m_showingSendMessage;
    std::unique_ptr<TimerSource::Timer> m_settleTimer;

    QWidget* m_block = nullptr;
    RefreshButton* m_refresh = nullptr;
    ConnectionDot* m_dot = nullptr;
    PlainLabel* m_status = nullptr;
    QPushButton* m_reconnect = nullptr;
    QWidget* m_unreadRow = nullptr;
    PlainLabel* m_unread = nullptr;
    QStackedWidget* m_content = nullptr;
    QListView* m_list = nullptr;
};
