#include "friends/FriendMessageBubbleWindowManager.h"

#include "friends/FriendMessageManager.h"
#include "friends/MessageBubbleWindow.h"
#include "friends/MessageTextFieldDelegate.h"
#include "pet/DoNotDisturbManager.h"
#include "pet/PetBehaviorControl.h"
#include "pet/PetState.h"
#include "pet/PetWindowHost.h"
#include "platform/Alerts.h"
#include "platform/BubblePlacement.h"
#include "platform/Clock.h"
#include "platform/LogManager.h"
#include "platform/NumberFormat.h"
#include "platform/Screens.h"
#include "server/APIError.h"
#include "widgets/PlainLineEdit.h"

#include <QEvent>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

const QString category = u"Friend"_s;

void log(const QString& line)
{
    LogManager::log(line, category);
}

QString pointText(QPointF p)
{
    return u"("_s + NumberFormat::shortestDouble(p.x()) + u", "_s + NumberFormat::shortestDouble(p.y()) + u")"_s;
}

/// The delay before a compose bubble asks for the keyboard a second time, after the
/// window manager has finished mapping it.
constexpr int refocusDelayMs = 100;

} // namespace

FriendMessageBubbleWindowManager::FriendMessageBubbleWindowManager(
    FriendMessageManager& messages, PetParts pet, Screens& screens, Clock& clock, QObject* parent)
    : QObject(parent)
    , m_messages(messages)
    , m_pet(pet.window)
    , m_behavior(pet.behavior)
    , m_doNotDisturb(pet.doNotDisturb)
    , m_petState(pet.state)
    , m_screens(screens)
    , m_clock(clock)
{
    log(u"💬 FriendMessageBubbleWindowManager 初始化"_s);
    // The connection confirms each (re)authentication; the callback is installed at the first.
    connect(&m_messages, &FriendMessageManager::authenticated, this,
        &FriendMessageBubbleWindowManager::ensureCallbackIsSet);
    connect(&m_messages, &FriendMessageManager::userChanged, this, &FriendMessageBubbleWindowManager::closeEverything);
}

FriendMessageBubbleWindowManager::~FriendMessageBubbleWindowManager()
{
    m_textFieldDelegates.clear();
    for (const MessageWindowWrapper& wrapper : std::as_const(m_messageWindows))
        delete wrapper.window.data();
    // Those still fading out would otherwise wait for a fade that no longer ends.
    for (const QPointer<MessageBubbleWindow>& window : std::as_const(m_closing))
        delete window.data();
}

void FriendMessageBubbleWindowManager::ensureCallbackIsSet()
{
    if (m_messages.hasMessageCallback())
        return;
    m_messages.setOnMessageReceived(
        [self = QPointer(this)](const FriendMessage& message) { return self && self->showMessage(message); });
    log(u"✅ 消息回调已设置"_s);
}

bool FriendMessageBubbleWindowManager::showMessage(const FriendMessage& message)
{
    log(u"💬 显示消息："_s + message.senderNickname);
    const qsizetype bytes = FriendMessageManager::footprint(message);
    if (heldMessageCount() >= maxHeldMessages || m_heldBytes + bytes > maxHeldBytes)
        return false;
    m_held.push_back(message);
    m_heldBytes += bytes;
    QMetaObject::invokeMethod(this, &FriendMessageBubbleWindowManager::showHeldMessages, Qt::QueuedConnection);
    return true;
}

void FriendMessageBubbleWindowManager::showSendMessageBubble(const Friend& friendRecord)
{
    log(u"💬 打开发送消息弹框给："_s + friendRecord.nickname);
    QMetaObject::invokeMethod(
        this, [this, friendRecord] { openCompose(friendRecord); }, Qt::QueuedConnection);
}

QList<MessageBubbleWindow*> FriendMessageBubbleWindowManager::bubbles() const
{
    QList<MessageBubbleWindow*> out;
    for (const MessageWindowWrapper& wrapper : m_messageWindows) {
        if (wrapper.window)
            out.append(wrapper.window.data());
    }
    return out;
}

double FriendMessageBubbleWindowManager::columnHeight() const
{
    double height = 0;
    for (const MessageWindowWrapper& wrapper : m_messageWindows) {
        if (wrapper.window)
            height += (height > 0 ? windowSpacing : 0) + wrapper.window->height();
    }
    return height;
}

bool FriendMessageBubbleWindowManager::hasRoomForReceived() const
{
    // Every message is on screen at once while the column fits the height of the visible
    // frame; beyond that the later ones wait, rather than open where nobody can read or
    // close them.
    const std::optional<QRectF> visible = m_screens.mainVisibleFrame();
    if (m_messageWindows.isEmpty() || !visible)
        return true;
    return columnHeight() + windowSpacing + receiveWindowHeight <= visible->height() + 0.5;
}

void FriendMessageBubbleWindowManager::openReceived(const FriendMessage& message)
{
    if (m_messageWindows.isEmpty())
        movePetToBottomLeft();
    MessageBubbleWindow* window = createNativeMessageView(message, QString::number(message.id));
    addBubble(window);
    // The user's current window keeps the keyboard.
    window->show();
    window->raise();
    m_messages.confirmDelivered(message.id);
    log(u"✅ 消息窗口已显示"_s);
}

void FriendMessageBubbleWindowManager::openCompose(const Friend& friendRecord)
{
    const QString bubbleId = u"send_"_s + QString::number(friendRecord.userId) + u"_"_s
        + NumberFormat::shortestDouble(static_cast<double>(m_clock.nowUtc().toMSecsSinceEpoch()) / 1000.0);
    MessageBubbleWindow* window = createNativeSendMessageView(friendRecord, bubbleId);
    addBubble(window);
    window->show();
    window->raise();
    window->activateWindow();
    window->textField()->setFocus();
    QTimer::singleShot(refocusDelayMs, window, [window] {
        window->activateWindow();
        window->textField()->setFocus();
    });
    log(u"✅ 发送消息窗口已显示"_s);
}

MessageBubbleWindow* FriendMessageBubbleWindowManager::createNativeMessageView(
    const FriendMessage& message, const QString& messageId)
{
    auto* window = new MessageBubbleWindow(MessageBubbleWindow::Kind::Received, m_nextToken++, messageId,
        message.senderId, message.senderAvatar, message.senderNickname, message.content, m_screens);
    wireActions(window);
    connect(window, &MessageBubbleWindow::sendRequested, this, [this, window] { sendReplyAction(QPointer(window)); });
    return window;
}

MessageBubbleWindow* FriendMessageBubbleWindowManager::createNativeSendMessageView(
    const Friend& friendRecord, const QString& messageId)
{
    auto* window = new MessageBubbleWindow(MessageBubbleWindow::Kind::Compose, m_nextToken++, messageId,
        friendRecord.userId, friendRecord.avatarEmoji, u"发送给 "_s + friendRecord.nickname, QString(), m_screens);
    wireActions(window);
    connect(window, &MessageBubbleWindow::sendRequested, this, [this, window] { sendMessageAction(QPointer(window)); });
    return window;
}

void FriendMessageBubbleWindowManager::wireActions(MessageBubbleWindow* window)
{
    connect(
        window, &MessageBubbleWindow::closeRequested, this, [this, window] { closeWindowAction(QPointer(window)); });
    m_textFieldDelegates[window->token()]
        = std::make_unique<MessageTextFieldDelegate>(window->textField(), window->sendButton());
}

void FriendMessageBubbleWindowManager::addBubble(MessageBubbleWindow* window)
{
    m_messageWindows.append(MessageWindowWrapper { window->bubbleId(), QPointer(window) });
    watchPetWindow();
    updateWindowPositions();
}

void FriendMessageBubbleWindowManager::closeWindowAction(const QPointer<MessageBubbleWindow>& bubble)
{
    if (!bubble) {
        log(u"❌ 关闭按钮：无法获取消息ID"_s);
        return;
    }
    closeMessage(bubble->bubbleId(), bubble->token());
}

QCoro::Task<> FriendMessageBubbleWindowManager::sendReplyAction(QPointer<MessageBubbleWindow> bubble)
{
    if (!bubble)
        co_return;
    const QString text = bubble->textField()->text().trimmed();
    if (text.isEmpty() || bubble->bubbleId().isEmpty())
        co_return;
    QPointer self(this);
    const QString bubbleId = bubble->bubbleId();
    const quint64 token = bubble->token();
    const QString failure = co_await deliver(bubble, text, false);
    if (!self)
        co_return;
    if (failure.isNull()) {
        closeMessage(bubbleId, token);
        log(u"✅ 回复发送成功"_s);
        co_return;
    }
    if (bubble)
        bubble->setSending(false);
    Alerts::show(Alerts::Style::Warning, u"回复失败"_s, u"消息发送失败，请重试"_s, { u"确定"_s }, bubble);
    afterFailedSend(bubble);
}

QCoro::Task<> FriendMessageBubbleWindowManager::sendMessageAction(QPointer<MessageBubbleWindow> bubble)
{
    log(u"🔘 点击发送按钮"_s);
    if (!bubble) {
        log(u"❌ 无法获取输入框"_s);
        co_return;
    }
    const QString text = bubble->textField()->text().trimmed();
    log(u"📝 输入内容: ["_s + text + u"]"_s);
    if (text.isEmpty()) {
        log(u"⚠️ 输入内容为空"_s);
        co_return;
    }
    const QString bubbleId = bubble->bubbleId();
    if (bubbleId.isEmpty()) {
        log(u"❌ 无法获取消息ID"_s);
        co_return;
    }
    log(u"💬 准备发送消息给用户: "_s + QString::number(bubble->receiverId()));
    QPointer self(this);
    const quint64 token = bubble->token();
    const QString failure = co_await deliver(bubble, text, true);
    if (!self)
        co_return;
    if (failure.isNull()) {
        log(u"✅ API 返回成功，准备关闭窗口"_s);
        log(u"🚪 关闭消息窗口: "_s + bubbleId);
        closeMessage(bubbleId, token);
        log(u"✅ 消息发送流程完成"_s);
        co_return;
    }
    if (bubble)
        bubble->setSending(false);
    Alerts::show(
        Alerts::Style::Warning, u"发送失败"_s, u"消息发送失败："_s + failure + u"\n\n请重试"_s, { u"确定"_s }, bubble);
    afterFailedSend(bubble);
}

QCoro::Task<QString> FriendMessageBubbleWindowManager::deliver(
    QPointer<MessageBubbleWindow> bubble, QString text, bool compose)
{
    const qint64 receiverId = bubble->receiverId();
    bubble->setSending(true);
    if (compose) {
        log(u"🔒 按钮已禁用，开始异步发送"_s);
        log(u"📡 调用 API 发送消息"_s);
    }
    try {
        co_await m_messages.sendMessage(receiverId, std::move(text));
    } catch (const std::exception& error) {
        if (compose) {
            log(u"❌ 消息发送失败: "_s + APIError::debugDescribe(error));
            log(u"❌ 错误详情: "_s + APIError::describe(error));
        } else {
            log(u"❌ 回复失败: "_s + APIError::debugDescribe(error));
        }
        co_return APIError::describe(error);
    }
    co_return QString();
}

void FriendMessageBubbleWindowManager::afterFailedSend(const QPointer<MessageBubbleWindow>& bubble)
{
    // The field lost the keyboard when it was disabled for the send; the user's next try
    // starts there, with the text still in it.
    if (bubble && bubble->isVisible() && bubble->isEnabled()) {
        bubble->activateWindow();
        bubble->textField()->setFocus(Qt::OtherFocusReason);
    }
}

void FriendMessageBubbleWindowManager::closeMessage(const QString& messageId, quint64 token)
{
    // Found by its token: two bubbles of one message share their id, and the close button
    // of the second must not close the first.
    qsizetype index = -1;
    QStringList ids;
    for (qsizetype i = 0; i < m_messageWindows.size(); ++i) {
        const MessageWindowWrapper& wrapper = m_messageWindows.at(i);
        ids.append(u"\""_s + wrapper.messageId + u"\""_s);
        if (wrapper.window && wrapper.window->token() == token)
            index = i;
    }
    log(u"🔍 尝试关闭窗口 ID: "_s + messageId);
    log(u"🔍 当前窗口列表: ["_s + ids.join(u", "_s) + u"]"_s);
    if (index < 0) {
        log(u"❌ 未找到要关闭的窗口 ID: "_s + messageId);
        return;
    }
    log(u"✅ 找到窗口，索引: "_s + QString::number(index));
    QPointer<MessageBubbleWindow> window = m_messageWindows.takeAt(index).window;
    m_textFieldDelegates.erase(token);
    m_closing.removeAll(nullptr);
    m_closing.append(window);
    window->setEnabled(false);
    window->fadeTo(0.0, fadeOutMs, [window] {
        if (window) {
            window->hide();
            window->deleteLater();
        }
    });
    // The others close the gap while this one fades, and a waiting message takes its place.
    updateWindowPositions();
    showHeldMessages();
    if (m_messageWindows.isEmpty()) {
        restorePetPosition();
        log(u"🔄 所有消息已关闭，猫猫已恢复正常"_s);
    }
    log(u"🚪 消息窗口已关闭"_s);
}

void FriendMessageBubbleWindowManager::closeEverything()
{
    m_held.clear();
    m_heldBytes = 0;
    m_textFieldDelegates.clear();
    const QList<MessageWindowWrapper> windows = std::exchange(m_messageWindows, {});
    for (const MessageWindowWrapper& wrapper : windows) {
        if (wrapper.window) {
            wrapper.window->hide();
            wrapper.window->deleteLater();
        }
    }
    restorePetPosition();
    if (!windows.isEmpty())
        log(u"🚪 用户已切换，消息窗口已全部关闭"_s);
}

void FriendMessageBubbleWindowManager::showHeldMessages()
{
    while (!m_held.empty() && hasRoomForReceived()) {
        const FriendMessage next = std::move(m_held.front());
        m_held.pop_front();
        m_heldBytes -= FriendMessageManager::footprint(next);
        openReceived(next);
    }
    showWaitingCount();
}

void FriendMessageBubbleWindowManager::showWaitingCount()
{
    // The newest received bubble says how many more wait behind it.
    bool newest = true;
    for (qsizetype i = m_messageWindows.size() - 1; i >= 0; --i) {
        MessageBubbleWindow* window = m_messageWindows.at(i).window;
        if (!window || window->kind() != MessageBubbleWindow::Kind::Received)
            continue;
        window->setWaitingCount(newest ? heldMessageCount() : 0);
        newest = false;
    }
}

void FriendMessageBubbleWindowManager::updateWindowPositions()
{
    const FloatingWindow* pet = m_pet.petWindow();
    if (!pet || m_messageWindows.isEmpty())
        return;
    const QRectF frame = pet->modelFrame();
    const std::optional<QRectF> area = BubblePlacement::areaAround(frame, m_screens.visibleFrames());
    // Beside the pet on the side where the column fits, so that no field or button ends
    // up off screen.
    const double x = BubblePlacement::besideX(frame, windowWidth, petGap, area);
    double top = frame.bottom(); // the model's y grows upward
    // A column that would pass the bottom of the visible area moves up as a whole, so its
    // last bubble ends inside it, though never above the area's top; a pet reaching above
    // the area (under a panel) starts the column at the area's top.
    if (area) {
        top = std::min(top, area->bottom());
        const double shortfall = area->top() - (top - columnHeight());
        if (shortfall > 0)
            top = std::min(top + shortfall, area->bottom());
    }
    for (const MessageWindowWrapper& wrapper : std::as_const(m_messageWindows)) {
        MessageBubbleWindow* window = wrapper.window;
        if (!window)
            continue;
        const double h = window->height();
        window->setModelOrigin({ x, top - h });
        top -= h + windowSpacing;
    }
}

void FriendMessageBubbleWindowManager::watchPetWindow()
{
    FloatingWindow* pet = m_pet.petWindow();
    if (pet == m_watchedPet)
        return;
    if (m_watchedPet)
        m_watchedPet->removeEventFilter(this);
    m_watchedPet = pet;
    if (pet)
        pet->installEventFilter(this);
}

bool FriendMessageBubbleWindowManager::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Move)
        petWindowDidMove(watched);
    return QObject::eventFilter(watched, event);
}

void FriendMessageBubbleWindowManager::petWindowDidMove(const QObject* window)
{
    // Only the pet's own window counts, and only while a bubble is there to follow it.
    if (window && window == m_pet.petWindow() && !m_messageWindows.isEmpty())
        updateWindowPositions();
}

void FriendMessageBubbleWindowManager::movePetToBottomLeft()
{
    FloatingWindow* pet = m_pet.petWindow();
    const std::optional<QRectF> visible = m_screens.mainVisibleFrame();
    if (!visible || !pet)
        return;
    if (!m_savedPetPosition) {
        m_savedPetPosition = m_pet.getCurrentWindowPosition();
        log(u"💾 保存猫猫原始位置: "_s + pointText(*m_savedPetPosition));
    }
    m_resumeBehavior = m_behavior.isRunning();
    m_behavior.pauseScheduling();
    log(u"⏸️ 已暂停自动行为系统"_s);
    const QPointF corner(visible->left() + 50, visible->top() + 150);
    watchPetWindow();
    pet->setModelOrigin(corner);
    log(u"📍 猫猫已移动到左下角: "_s + pointText(corner));
    m_isShowingMessages = true;
}

void FriendMessageBubbleWindowManager::restorePetPosition()
{
    if (!m_isShowingMessages)
        return;
    // The pet goes back, also from where the user dragged it, before its behaviour starts
    // again, so that the next walk sets out from there.
    const std::optional<QPointF> saved = std::exchange(m_savedPetPosition, std::nullopt);
    if (saved) {
        m_pet.updateWindowPosition(*saved);
        // Where the window really went (do-not-disturb may have bent the point onto its
        // line) becomes the pet's own position.
        if (m_pet.petWindow())
            m_petState.updatePosition(m_pet.getCurrentWindowPosition());
    }
    // Only a behaviour that ran before the messages came starts again: not one that
    // do-not-disturb, the game or the user's switch holds still.
    const bool resume = std::exchange(m_resumeBehavior, false) && !m_doNotDisturb.isDoNotDisturbMode();
    if (resume && m_behavior.isActive()) {
        m_behavior.startBehaviorSystem();
        LogManager::log(u"自动行为系统已恢复"_s, u"AutoBehavior"_s);
    }
    // Switched off by the user, the behaviour's resumption is still reported; held still by
    // do-not-disturb or the game, nothing resumed.
    if (resume || !m_behavior.isActive())
        log(u"▶️ 已恢复自动行为系统"_s);
    if (saved)
        log(u"📍 猫猫已恢复到原始位置: "_s + pointText(*saved));
    m_isShowingMessages = false;
}
