// Message bubbles beside the pet: placement, the displaced pet, sending and failures.
#include "FriendsUiFixture.h"

#include "friends/MessageBubbleWindow.h"
#include "support/LogLines.h"
#include "widgets/PlainLabel.h"
#include "widgets/PlainLineEdit.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextCursor>

using namespace Qt::StringLiterals;

namespace {

FriendMessage message(
    qint64 id, qint64 senderId = 2, const QString& content = u"喵"_s, const QString& nickname = u"阿花"_s)
{
    FriendMessage m;
    m.id = id;
    m.senderId = senderId;
    m.senderNickname = nickname;
    m.senderAvatar = u"🐶"_s;
    m.receiverId = 1;
    m.content = content;
    return m;
}

Friend friendRecord(qint64 userId, const QString& nickname = u"鲍勃"_s)
{
    Friend f;
    f.id = userId + 1000;
    f.userId = userId;
    f.nickname = nickname;
    f.avatarEmoji = u"🐶"_s;
    return f;
}

class Bubbles : public FriendsUiFixture
{
protected:
    /// Lets the queued openings run.
    void settle() { QCoreApplication::processEvents(); }

    QList<MessageBubbleWindow*> open() const { return bubbles->bubbles(); }

    QRectF petFrame() const { return pet->window.modelFrame(); }

    /// Every bubble sits 20 px right of the pet, the first level with its top, the rest
    /// below with 10 px gaps.
    void expectColumn() const
    {
        double top = petFrame().bottom();
        for (MessageBubbleWindow* bubble : open()) {
            const QRectF frame = bubble->modelFrame();
            EXPECT_DOUBLE_EQ(frame.left(), petFrame().right() + 20) << bubble->bubbleId().toStdString();
            EXPECT_DOUBLE_EQ(frame.bottom(), top) << bubble->bubbleId().toStdString();
            top -= frame.height() + 10;
        }
    }

    void closeAndWait(MessageBubbleWindow* bubble)
    {
        QPointer<MessageBubbleWindow> gone(bubble);
        bubble->closeButton()->click();
        ASSERT_TRUE(waitUntil([&] { return gone.isNull(); }));
    }
};

} // namespace

TEST_F(Bubbles, FirstMessageParksThePetAndTheLastCloseBringsItBack)
{
    for (const bool behaviorWasOn : { true, false }) {
        SCOPED_TRACE(behaviorWasOn);
        pet->behaviorActive = behaviorWasOn;
        pet->starts = 0;
        pet->restoredTo.clear();
        pet->window.setModelOrigin({ 700, 400 });
        const QPointF stored = pet->getCurrentWindowPosition();

        bubbles->showMessage(message(7));
        bubbles->showMessage(message(8));
        settle();
        ASSERT_EQ(open().size(), 2);
        // The dock takes the bottom 40 px: the corner is measured from the visible area.
        EXPECT_EQ(petFrame().topLeft(), QPointF(50, 190));
        EXPECT_TRUE(bubbles->isShowingMessages());
        EXPECT_EQ(open().at(0)->size(), QSize(320, 170));

        // Dragging the pet up takes the column along.
        pet->window.setModelOrigin({ 300, 600 });
        expectColumn();

        closeAndWait(open().at(0));
        EXPECT_TRUE(pet->restoredTo.isEmpty()) << "a bubble is still open";
        expectColumn();
        closeAndWait(open().at(0));
        ASSERT_EQ(pet->restoredTo, QList<QPointF> { stored }) << "back where it was before the first message";
        EXPECT_EQ(pet->starts, behaviorWasOn ? 1 : 0);
        EXPECT_FALSE(bubbles->isShowingMessages());
    }
    EXPECT_EQ(pet->pauses, 2);
}

TEST_F(Bubbles, UnderDoNotDisturbTheLastCloseResumesNothingAndSaysNothingResumed)
{
    doNotDisturb->setDoNotDisturbMode(true);
    const int startsBefore = pet->starts;
    bubbles->showMessage(message(7));
    settle();
    ASSERT_EQ(open().size(), 1);
    closeAndWait(open().at(0));
    EXPECT_EQ(pet->starts, startsBefore);
    const QStringList lines = loggedLines(u"Friend"_s);
    EXPECT_FALSE(lines.contains(u"▶️ 已恢复自动行为系统"_s)) << "the behaviour stays paused";
    EXPECT_TRUE(lines.contains(u"🔄 所有消息已关闭，猫猫已恢复正常"_s));
}

TEST_F(Bubbles, EveryMessageShowsAtOnceInAColumnInsideTheScreen)
{
    // The parked pet's top edge is 318 px above the screen's bottom, 278 above the dock's
    // top. A column too long for that moves up; one taller than the screen leaves the rest
    // waiting, and the newest bubble says how many.
    const struct
    {
        int count;
        QList<double> tops;
        QString waiting;
    } cases[] = {
        { 1, { 318 }, {} },
        { 2, { 390, 210 }, {} },
        { 3, { 570, 390, 210 }, {} },
        { 6, { 750, 570, 390, 210 }, u"还有 2 条消息"_s },
    };
    const std::optional<QRectF> visible = screens.mainVisibleFrame();
    qint64 id = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        const qint64 first = id + 1;
        for (int i = 0; i < c.count; ++i)
            bubbles->showMessage(message(++id));
        settle();
        ASSERT_EQ(open().size(), c.tops.size());
        for (qsizetype i = 0; i < c.tops.size(); ++i) {
            const QRectF frame = open().at(i)->modelFrame();
            EXPECT_EQ(frame.left(), 198);
            EXPECT_EQ(frame.bottom(), c.tops.at(i)) << i;
            EXPECT_TRUE(visible->contains(frame)) << i;
            const auto* waiting = open().at(i)->findChild<PlainLabel*>(u"waiting"_s);
            const bool newest = i == c.tops.size() - 1;
            EXPECT_EQ(waiting->isVisible(), newest && !c.waiting.isEmpty()) << i;
            if (newest && !c.waiting.isEmpty()) {
                EXPECT_EQ(waiting->text(), c.waiting);
            }
        }

        // Closing makes room for the next in line; every message shows once, in order.
        QStringList seen;
        while (!open().isEmpty()) {
            seen.append(open().at(0)->bubbleId());
            open().at(0)->closeButton()->click();
        }
        QStringList expected;
        for (qint64 n = first; n <= id; ++n)
            expected.append(QString::number(n));
        EXPECT_EQ(seen, expected);
        EXPECT_EQ(bubbles->heldMessageCount(), 0);
        EXPECT_FALSE(bubbles->isShowingMessages());
    }
}

TEST_F(Bubbles, WhatWaitsIsBoundedInCountAndSize)
{
    const struct
    {
        qsizetype contentLength;
        qsizetype atMost;
    } cases[] = {
        { 1, FriendMessageBubbleWindowManager::maxHeldMessages },
        { 30000, 140 },
    };
    qint64 id = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.contentLength);
        const FriendMessage big = message(0, 2, QString(c.contentLength, u'喵'));
        qsizetype taken = 0;
        for (FriendMessage m = big; taken <= c.atMost; ++taken) {
            m.id = ++id;
            if (!bubbles->showMessage(m))
                break;
        }
        EXPECT_LE(taken, c.atMost);
        EXPECT_GE(taken, c.atMost - 2);
        EXPECT_LE(bubbles->heldBytes(), FriendMessageBubbleWindowManager::maxHeldBytes);
        bubbles = makeBubbles();
    }
}

TEST_F(Bubbles, AMessageIsAcknowledgedOnceShownAndOneWaitingComesAgainOnlyToItsUser)
{
    const qint64 alice = signIn();
    const qint64 carol = server.state().addUser(u"carol@x.io"_s, u"卡罗尔"_s, u"🐱"_s, u"pw"_s);
    server.state().befriend(alice, carol);
    connectAndAuthenticate();
    std::optional<qint64> sender = carol;
    APIClient carolClient(server.baseUrl(), [&] { return sender; });
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(await(carolClient.sendFriendMessage(alice, QString::number(i))).ok());
    ASSERT_TRUE(waitUntil([&] { return open().size() == 4 && bubbles->heldMessageCount() == 2; }));
    const auto delivered = [&] {
        QList<bool> out;
        for (const auto& m : server.state().messages())
            out.append(m.delivered);
        return out;
    };
    ASSERT_TRUE(waitUntil([&] { return delivered().count(true) == 4; }));
    EXPECT_EQ(delivered(), (QList<bool> { true, true, true, true, false, false }));

    // Alice signs out with two still waiting: her bubbles close, and the next user on this
    // machine sees none of hers.
    users->logout();
    EXPECT_TRUE(open().isEmpty());
    EXPECT_EQ(bubbles->heldMessageCount(), 0);
    signIn(u"dave@x.io"_s);
    connectAndAuthenticate();
    settle();
    EXPECT_TRUE(open().isEmpty());
    users->logout();

    // The program ends and Alice comes back: the two come again.
    bubbles.reset();
    messages = std::make_unique<FriendMessageManager>(
        *client, *users, timers, [this] { return server.messageSocket().url(); });
    QObject::connect(messages.get(), &FriendMessageManager::authenticated, [this] { ++authentications; });
    bubbles = makeBubbles();
    signIn();
    connectAndAuthenticate();
    ASSERT_TRUE(waitUntil([&] { return open().size() == 2; }));
    EXPECT_EQ(open().at(0)->findChild<QPlainTextEdit*>(u"content"_s)->toPlainText(), u"4"_s);
    ASSERT_TRUE(waitUntil([&] { return delivered().count(true) == 6; }));
}

TEST_F(Bubbles, ComposeBubblesLeaveThePetAndShareTheColumn)
{
    pet->window.setModelOrigin({ 300, 600 });
    bubbles->showSendMessageBubble(friendRecord(5));
    bubbles->showSendMessageBubble(friendRecord(5));
    settle();
    ASSERT_EQ(open().size(), 2);
    EXPECT_EQ(petFrame().topLeft(), QPointF(300, 600));
    EXPECT_EQ(pet->pauses, 0);
    EXPECT_EQ(open().at(0)->size(), QSize(320, 110));

    // A message arriving now joins the column below without moving the pet.
    bubbles->showMessage(message(9));
    settle();
    ASSERT_EQ(open().size(), 3);
    EXPECT_EQ(open().at(2)->kind(), MessageBubbleWindow::Kind::Received);
    EXPECT_EQ(petFrame().topLeft(), QPointF(300, 600));
    expectColumn();

    // Closing the middle one moves the last up at once, while the closed one still fades.
    MessageBubbleWindow* middle = open().at(1);
    middle->closeButton()->click();
    EXPECT_FALSE(open().contains(middle));
    expectColumn();
    closeAndWait(open().at(0));
    closeAndWait(open().at(0));
    EXPECT_TRUE(pet->restoredTo.isEmpty());
}

TEST_F(Bubbles, TheColumnOpensAndFollowsOnTheSideWhereItFits)
{
    // The 1440 × 900 screen with its 40 px dock; a compose bubble is 320 × 110, 20 from the pet.
    const struct
    {
        const char* name;
        QPointF pet;
        QPointF bubble;
    } cases[] = {
        { "in the middle", { 600, 500 }, { 748, 518 } },
        { "at the right edge", { 1312, 500 }, { 972, 518 } },
        { "partly above the screen", { 600, 820 }, { 748, 790 } },
        { "partly behind the dock", { 1312, -60 }, { 972, 40 } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        pet->window.setModelOrigin(c.pet);
        bubbles->showSendMessageBubble(friendRecord(5));
        settle();
        ASSERT_EQ(open().size(), 1);
        EXPECT_EQ(open().at(0)->modelFrame(), QRectF(c.bubble, QSizeF(320, 110)));
        closeAndWait(open().at(0));
    }

    // A message parks the pet in the bottom-left corner, its bubble right of it; dragged to
    // the right edge, the pet takes the bubble to its left.
    bubbles->showMessage(message(3));
    settle();
    ASSERT_EQ(open().size(), 1);
    EXPECT_EQ(open().at(0)->modelFrame().left(), 198);
    pet->window.setModelOrigin({ 1312, 500 });
    ASSERT_TRUE(waitUntil([&] { return open().at(0)->modelFrame().left() == 972; }));
}

TEST_F(Bubbles, TwoBubblesOfOneMessageIdStayApart)
{
    bubbles->showMessage(message(42));
    bubbles->showMessage(message(42));
    settle();
    pet->window.setModelOrigin({ 300, 700 }); // out of the corner, with room for both
    ASSERT_EQ(open().size(), 2);
    MessageBubbleWindow* first = open().at(0);
    MessageBubbleWindow* second = open().at(1);

    closeAndWait(second);
    ASSERT_EQ(open(), QList<MessageBubbleWindow*> { first }) << "closing one must not close its twin";
    // Its Return still reaches its own button.
    QTest::keyClicks(first->textField(), u"  "_s);
    QTest::keyClick(first->textField(), Qt::Key_Return);
    EXPECT_EQ(open().size(), 1);
}

// A bubble closed while its send still runs is gone when the send succeeds: both closes
// name the bubble's own id, the second as not found.
TEST_F(Bubbles, ClosingWhileTheSendRunsNamesTheBubbleIdTwice)
{
    const qint64 bob = aliceWithFriendBob();
    pet->window.setModelOrigin({ 300, 700 });
    for (const bool compose : { false, true }) {
        SCOPED_TRACE(compose ? "compose" : "reply");
        if (compose)
            bubbles->showSendMessageBubble(friendRecord(bob));
        else
            bubbles->showMessage(message(42, bob));
        settle();
        ASSERT_EQ(open().size(), 1);
        QPointer<MessageBubbleWindow> bubble = open().at(0);
        const QString id = bubble->bubbleId();
        const LogCapture log;
        bubble->textField()->setText(u"马上到"_s);
        bubble->sendButton()->click();
        bubble->closeButton()->click();
        const QString sent = compose ? u"✅ 消息发送流程完成"_s : u"✅ 回复发送成功"_s;
        ASSERT_TRUE(waitUntil([&] { return log.has(sent, u"Friend"_s) && bubble.isNull(); }));
        const QStringList lines = log.lines(u"Friend"_s);
        EXPECT_EQ(lines.count(u"🔍 尝试关闭窗口 ID: "_s + id), 2) << lines.join(u" | "_s).toStdString();
        EXPECT_TRUE(lines.contains(u"❌ 未找到要关闭的窗口 ID: "_s + id)) << lines.join(u" | "_s).toStdString();
    }
}

TEST_F(Bubbles, ReturnSendsTheTrimmedTextOnceAndClosesTheBubble)
{
    const qint64 bob = aliceWithFriendBob();
    bubbles->showSendMessageBubble(friendRecord(bob));
    settle();
    ASSERT_EQ(open().size(), 1);
    QPointer<MessageBubbleWindow> bubble = open().at(0);

    // Blanks only: nothing goes out and the bubble stays.
    QTest::keyClicks(bubble->textField(), u"   "_s);
    QTest::keyClick(bubble->textField(), Qt::Key_Return);
    EXPECT_TRUE(loggedLines(u"Friend"_s).contains(u"⚠️ 输入内容为空"_s));

    const QString text = u"  晚上一起吃饭？🍜\u200d  "_s;
    bubble->textField()->setText(text);
    QTest::keyClick(bubble->textField(), Qt::Key_Return);
    EXPECT_EQ(bubble->sendButton()->text(), u"发送中..."_s);
    EXPECT_FALSE(bubble->textField()->isEnabled());
    QTest::keyClick(bubble->textField(), Qt::Key_Return);
    bubble->sendButton()->click();
    ASSERT_TRUE(waitUntil([&] { return bubble.isNull(); }));

    ASSERT_EQ(server.state().messages().size(), 1);
    EXPECT_EQ(server.state().messages().at(0).receiverId, bob);
    EXPECT_EQ(server.state().messages().at(0).content, text.trimmed());
    EXPECT_TRUE(loggedLines(u"Friend"_s).contains(u"✅ 消息发送流程完成"_s));
}

TEST_F(Bubbles, AFailedSendKeepsTheTextAndSaysSo)
{
    struct Case
    {
        bool compose;
        QString title;
        QString textStart;
    };
    const Case cases[] = {
        { true, u"发送失败"_s, u"消息发送失败："_s },
        { false, u"回复失败"_s, u"消息发送失败，请重试"_s },
    };
    signIn();
    pet->window.setModelOrigin({ 300, 700 });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title.toStdString());
        Alerts::clearAnsweredAlerts();
        Alerts::setNextAnswers({ 0 });
        // Not a friend: the server refuses the message.
        if (c.compose)
            bubbles->showSendMessageBubble(friendRecord(999));
        else
            bubbles->showMessage(message(1, 999));
        settle();
        MessageBubbleWindow* bubble = open().constLast();
        // The user types in the bubble.
        bubble->activateWindow();
        ASSERT_TRUE(waitUntil([&] { return bubble->isActiveWindow(); }));
        bubble->textField()->setFocus();
        bubble->textField()->setText(u"你好 <b>呀</b>"_s);
        bubble->sendButton()->click();
        ASSERT_TRUE(waitUntil([] { return !Alerts::answeredAlerts().isEmpty(); }));
        const Alerts::Record alert = Alerts::answeredAlerts().at(0);
        EXPECT_EQ(alert.style, Alerts::Style::Warning);
        EXPECT_EQ(alert.title, c.title);
        EXPECT_TRUE(alert.text.startsWith(c.textStart)) << alert.text.toStdString();
        EXPECT_EQ(alert.buttons, QStringList { u"确定"_s });
        EXPECT_TRUE(open().contains(bubble));
        EXPECT_EQ(bubble->textField()->text(), u"你好 <b>呀</b>"_s);
        EXPECT_TRUE(bubble->textField()->isEnabled());
        EXPECT_EQ(bubble->sendButton()->text(), u"发送"_s);
        EXPECT_TRUE(bubble->sendButton()->isEnabled());
        // The keyboard is back in the field for another try, not on the close button.
        EXPECT_TRUE(waitUntil([&] { return bubble->textField()->hasFocus(); }));
        closeAndWait(bubble);
    }
}

TEST_F(Bubbles, AMessageFromTheServerOpensABubbleThatCanBeAnswered)
{
    const qint64 alice = signIn();
    // A friend whose nickname carries markup, right-to-left text and an emoji sequence.
    const QString nickname = u"<i>مرحبا</i> 👨‍👩‍👧"_s;
    const qint64 carol = server.state().addUser(u"carol@x.io"_s, nickname, u"🐱"_s, u"pw"_s);
    server.state().befriend(alice, carol);
    connectAndAuthenticate();
    EXPECT_TRUE(messages->hasMessageCallback()) << "installed on authentication";

    std::optional<qint64> sender = carol;
    APIClient carolClient(server.baseUrl(), [&] { return sender; });
    const QString longText = QString(5000, u'喵');
    ASSERT_TRUE(await(carolClient.sendFriendMessage(alice, longText)).ok());
    ASSERT_TRUE(waitUntil([&] { return open().size() == 1; }));

    MessageBubbleWindow* bubble = open().at(0);
    auto* content = bubble->findChild<QPlainTextEdit*>(u"content"_s);
    EXPECT_EQ(content->toPlainText(), longText);
    EXPECT_EQ(bubble->size(), QSize(320, 170)) << "a long message scrolls inside the bubble";
    // Clear of the reply field, and its last line shows whole once scrolled to the end.
    EXPECT_LE(content->geometry().bottom() + 4, bubble->textField()->geometry().top());
    content->verticalScrollBar()->setValue(content->verticalScrollBar()->maximum());
    QTextCursor end(content->document());
    end.movePosition(QTextCursor::End);
    EXPECT_LE(content->cursorRect(end).bottom(), content->viewport()->height());
    EXPECT_GE(content->cursorRect(end).top(), 0);
    const auto* title = bubble->findChild<PlainLabel*>(u"title"_s);
    EXPECT_EQ(title->fullText(), nickname);
    EXPECT_EQ(title->textFormat(), Qt::PlainText);
    EXPECT_EQ(bubble->receiverId(), carol);

    bubble->textField()->setText(u"收到"_s);
    QTest::keyClick(bubble->textField(), Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] { return open().isEmpty(); }));
    EXPECT_EQ(server.state().messages().last().receiverId, carol);
    EXPECT_EQ(server.state().messages().last().content, u"收到"_s);
}
