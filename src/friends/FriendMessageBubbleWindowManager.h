#pragma once

#include "server/FriendModels.h"

#include <QList>
#include <QObject>
#include <QPointF>
#include <QPointer>

#include <QCoroTask>

#include <deque>
#include <optional>

class Clock;
class FloatingWindow;
class FriendMessageManager;
class MessageBubbleWindow;
class PetBehaviorControl;
class PetWindowHost;
class Screens;

/// Friend messages as bubbles beside the pet: one per received message, with a reply
/// field, and compose bubbles opened from the menus. Bubbles stack downward from the pet's
/// top edge, 20 px to its right, and follow every move of the pet. While received
/// messages are shown the pet waits in the bottom-left corner with its behaviour paused.
class FriendMessageBubbleWindowManager final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FriendMessageBubbleWindowManager)

public:
    static constexpr int windowSpacing = 10;
    static constexpr int petGap = 20;
    static constexpr int fadeOutMs = 300;

    FriendMessageBubbleWindowManager(FriendMessageManager& messages, PetWindowHost& pet, PetBehaviorControl& behavior,
        Screens& screens, Clock& clock, QObject* parent = nullptr);
    ~FriendMessageBubbleWindowManager() override;

    /// Installs this manager as the receiver of friend messages unless one is installed.
    void ensureCallbackIsSet();
    /// Shows a received message; the bubble opens on the next turn of the event loop.
    void showMessage(const FriendMessage& message);
    /// Opens a compose bubble for `friendRecord` on the next turn of the event loop and
    /// gives it the keyboard.
    void showSendMessageBubble(const Friend& friendRecord);

    /// The open bubbles in stacking order.
    [[nodiscard]] QList<MessageBubbleWindow*> bubbles() const;
    /// Received messages waiting for room in the column.
    [[nodiscard]] qsizetype heldMessageCount() const { return static_cast<qsizetype>(m_held.size()); }
    [[nodiscard]] bool isShowingMessages() const { return m_isShowingMessages; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openReceived(const FriendMessage& message);
    void openCompose(const Friend& friendRecord);
    MessageBubbleWindow* addBubble(MessageBubbleWindow* window);
    [[nodiscard]] bool hasRoomForReceived() const;
    void showHeldMessages();
    void closeMessage(quint64 token);
    void updateWindowPositions();
    void watchPetWindow();
    void movePetToBottomLeft();
    void restorePetPosition();
    QCoro::Task<> send(QPointer<MessageBubbleWindow> bubble);

    FriendMessageManager& m_messages;
    PetWindowHost& m_pet;
    PetBehaviorControl& m_behavior;
    Screens& m_screens;
    Clock& m_clock;
    QList<QPointer<MessageBubbleWindow>> m_messageWindows;
    std::deque<FriendMessage> m_held;
    bool m_isShowingMessages = false;
    std::optional<QPointF> m_savedPetPosition;
    QPointer<FloatingWindow> m_watchedPet;
    quint64 m_nextToken = 1;
};
