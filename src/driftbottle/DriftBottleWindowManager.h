#pragma once

#include "platform/Lazy.h"

#include <QObject>
#include <QPointer>

class APIClient;
class BottleChatView;
class Clock;
class ConversationManager;
class UserManager;

/// Opens the drift-bottle window, at most one at a time, for a signed-in user; a signed-out
/// user is asked whether to sign in instead. The window's data lives in the conversation
/// manager, so it survives closing and reopening the window.
class DriftBottleWindowManager final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DriftBottleWindowManager)

public:
    static const QString windowTitle;

    /// The conversation manager is made when a window first needs it.
    DriftBottleWindowManager(UserManager& users, Lazy<APIClient> client, Lazy<ConversationManager> conversations,
        const Clock& clock, QObject* parent = nullptr);
    ~DriftBottleWindowManager() override;

    /// Brings the open window to the front, or makes a new one, or asks to sign in.
    void showDriftBottleWindow();
    /// The window while it is open.
    [[nodiscard]] BottleChatView* driftBottleWindow() const;

private:
    void showLoginRequiredAlert();
    void windowWillClose(BottleChatView* window);

    UserManager& m_users;
    Lazy<APIClient> m_client;
    Lazy<ConversationManager> m_conversations;
    const Clock& m_clock;
    QPointer<BottleChatView> m_window;
};
