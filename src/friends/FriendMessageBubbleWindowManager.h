#pragma once

#include "server/FriendModels.h"

#include <QList>
#include <QObject>
#include <QPointF>
#include <QPointer>

#include <QCoroTask>

#include <deque>
#include <map>
#include <memory>
#include <optional>

class Clock;
class DoNotDisturbManager;
class FloatingWindow;
class FriendMessageManager;
class MessageBubbleWindow;
class MessageTextFieldDelegate;
class PetBehaviorControl;
class PetState;
class PetWindowHost;
class Screens;

/// Friend messages as bubbles beside the pet: one per received message, with a reply
/// field, and compose bubbles opened from the menus. Bubbles stack downward from the pet's
/// top edge, 20 px to its right (to its left where the screen ends first), and follow every
/// move of the pet; a column that would pass the bottom of the screen moves up as a whole,
/// and one never starts above its top. While received messages are shown
/// the pet waits in the bottom-left corner with its behaviour paused.
///
/// A received message is acknowledged to the server only once its bubble is on screen:
/// those still waiting for room when the program ends, or refused because too many wait,
/// are sent again at the next connection. A change of user closes every bubble and drops
/// what waits, unacknowledged, so nothing of one account shows to the next.
class FriendMessageBubbleWindowManager final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FriendMessageBubbleWindowManager)

public:
    static constexpr int windowWidth = 320;
    static constexpr int receiveWindowHeight = 170;
    static constexpr int sendWindowHeight = 110;
    static constexpr int windowSpacing = 10;
    static constexpr int petGap = 20;
    static constexpr int fadeOutMs = 300;
    /// What may wait for room in the column; a message beyond either bound is refused.
    static constexpr qsizetype maxHeldMessages = 500;
    static constexpr qsizetype maxHeldBytes = 8 * 1024 * 1024;

    /// What the bubbles work on of the pet: its window, its behaviour (paused while
    /// messages are shown), do-not-disturb (which keeps it paused) and its stored position.
    struct PetParts
    {
        PetWindowHost& window;
        PetBehaviorControl& behavior;
        DoNotDisturbManager& doNotDisturb;
        PetState& state;
    };

    FriendMessageBubbleWindowManager(
        FriendMessageManager& messages, PetParts pet, Screens& screens, Clock& clock, QObject* parent = nullptr);
    ~FriendMessageBubbleWindowManager() override;

    /// Installs this manager as the receiver of friend messages unless one is installed.
    void ensureCallbackIsSet();
    /// Takes a received message: its bubble opens on the next turn of the event loop, or
    /// once there is room in the column. False when too many wait: the message is refused.
    bool showMessage(const FriendMessage& message);
    /// Opens a compose bubble for `friendRecord` on the next turn of the event loop and
    /// gives it the keyboard.
    void showSendMessageBubble(const Friend& friendRecord);

    /// The open bubbles in stacking order.
    [[nodiscard]] QList<MessageBubbleWindow*> bubbles() const;
    /// Received messages waiting for room in the column.
    [[nodiscard]] qsizetype heldMessageCount() const { return static_cast<qsizetype>(m_held.size()); }
    [[nodiscard]] qsizetype heldBytes() const { return m_heldBytes; }
    [[nodiscard]] bool isShowingMessages() const { return m_isShowingMessages; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// One open bubble: its bubble id and its window, which the manager owns.
    struct MessageWindowWrapper
    {
        QString messageId;
        QPointer<MessageBubbleWindow> window;
    };

    void openReceived(const FriendMessage& message);
    [[nodiscard]] double columnHeight() const;
    void openCompose(const Friend& friendRecord);
    /// The received bubble for `message`, its buttons wired to their actions.
    MessageBubbleWindow* createNativeMessageView(const FriendMessage& message, const QString& messageId);
    /// The compose bubble for `friendRecord`, its buttons wired to their actions.
    MessageBubbleWindow* createNativeSendMessageView(const Friend& friendRecord, const QString& messageId);
    void wireActions(MessageBubbleWindow* window);
    void addBubble(MessageBubbleWindow* window);
    void closeWindowAction(const QPointer<MessageBubbleWindow>& bubble);
    QCoro::Task<> sendReplyAction(QPointer<MessageBubbleWindow> bubble);
    QCoro::Task<> sendMessageAction(QPointer<MessageBubbleWindow> bubble);
    /// Sends the bubble's text; the error's text when it failed, a null string otherwise.
    QCoro::Task<QString> deliver(QPointer<MessageBubbleWindow> bubble, QString text, bool compose);
    void afterFailedSend(const QPointer<MessageBubbleWindow>& bubble);
    [[nodiscard]] bool hasRoomForReceived() const;
    void showHeldMessages();
    void showWaitingCount();
    /// Closes the bubble `token`, which was opened under the bubble id `messageId`; the log
    /// names the id. A bubble closed already is only logged as not found.
    void closeMessage(const QString& messageId, quint64 token);
    void closeEverything();
    void updateWindowPositions();
    void watchPetWindow();
    /// Every move of the pet window, by a drag, the scheduler or this manager, takes the column along.
    void petWindowDidMove(const QObject* window);
    void movePetToBottomLeft();
    void restorePetPosition();

    FriendMessageManager& m_messages;
    PetWindowHost& m_pet;
    PetBehaviorControl& m_behavior;
    DoNotDisturbManager& m_doNotDisturb;
    PetState& m_petState;
    Screens& m_screens;
    Clock& m_clock;
    QList<MessageWindowWrapper> m_messageWindows;
    /// Return in each open bubble's field, by the bubble's token: unlike bubble ids,
    /// which two bubbles of one message share, a token is never reused.
    std::map<quint64, std::unique_ptr<MessageTextFieldDelegate>> m_textFieldDelegates;
    /// Closed bubbles still fading out; each deletes itself when its fade ends.
    QList<QPointer<MessageBubbleWindow>> m_closing;
    std::deque<FriendMessage> m_held;
    qsizetype m_heldBytes = 0;
    bool m_isShowingMessages = false;
    /// Whether the pet's behaviour ran when the first message parked it: only then is it
    /// started again when the last bubble closes.
    bool m_resumeBehavior = false;
    std::optional<QPointF> m_savedPetPosition;
    QPointer<FloatingWindow> m_watchedPet;
    quint64 m_nextToken = 1;
};
