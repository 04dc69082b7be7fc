// The chat pane's replies and the throw sheet: what is sent in which order, and that typed
// text is never lost to a refusal nor sent twice after a reply the server stored.
#include "BottleWindowRig.h"

#include "driftbottle/ChatBubbleView.h"
#include "driftbottle/ThrowNewBottleSheet.h"
#include "platform/Alerts.h"
#include "support/DrawnText.h"
#include "support/LogLines.h"
#include "widgets/BannerRow.h"
#include "widgets/PlainLabel.h"
#include "widgets/PlainTextEditor.h"

#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextCursor>
#include <QTextDocumentFragment>

using namespace Qt::StringLiterals;

namespace {

const QString conversation = u"Conversation"_s;

QMessageBox* openAlert()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == u"sensitiveWordAlert"_s && w->isVisible())
            return qobject_cast<QMessageBox*>(w);
    }
    return nullptr;
}

/// Alice has picked Bob's bottle and the window shows that conversation.
class ChatRig : public BottleWindowRig
{
protected:
    void SetUp() override
    {
        BottleWindowRig::SetUp();
        bottle = server.state().addBottle(bob, u"有人吗"_s);
        server.state().pickBottle(bottle, alice);
        window = openWindow();
        ASSERT_TRUE(window);
        conversations->selectConversation(conversations->conversations().first());
        ASSERT_TRUE(waitUntil([&] { return conversations->chatMessages().size() == 1; }));
        chat = window->chatView();
        ASSERT_TRUE(chat);
        editor = find<PlainTextEditor>(chat, u"chatInput"_s);
        send = find<QPushButton>(chat, u"sendButton"_s);
        error = find<BannerRow>(chat, u"chatError"_s);
    }

    void TearDown() override
    {
        if (QMessageBox* alert = openAlert())
            alert->close();
        BottleWindowRig::TearDown();
    }

    void type(const QString& text)
    {
        editor->setPlainText(text);
        ASSERT_TRUE(send->isEnabled());
        send->click();
    }

    QString bottle;
    BottleChatView* window = nullptr;
    ChatView* chat = nullptr;
    PlainTextEditor* editor = nullptr;
    QPushButton* send = nullptr;
    BannerRow* error = nullptr;
};

} // namespace

TEST_F(ChatRig, ReplyIsSentThenLinesAndListReloadAndTheListFollowsIt)
{
    EXPECT_FALSE(send->isEnabled());
    QListView* list = find<QListView>(chat, u"chatMessages"_s);
    const qsizetype before = server.requests().size();

    type(u"   "_s); // blanks are a reply too, sent unchanged
    EXPECT_TRUE(editor->text().isEmpty());
    EXPECT_TRUE(chat->isSending());
    EXPECT_FALSE(editor->isEnabled());
    EXPECT_FALSE(send->isEnabled());
    ASSERT_TRUE(waitUntil([&] { return !chat->isSending(); }));
    EXPECT_EQ(pathsSince(before),
        (QStringList {
            u"/api/bottles/reply"_s, u"/api/bottles/conversation-history"_s, u"/api/bottles/conversations"_s }));
    const QJsonObject body = server.requests().at(before).jsonBody();
    EXPECT_EQ(body.value(u"content"_s).toString(), u"   "_s);
    EXPECT_EQ(body.value(u"receiverId"_s).toInteger(), bob);
    EXPECT_EQ(conversations->chatMessages().size(), 2);
    EXPECT_TRUE(editor->text().isEmpty());

    // A long history: the list ends at the newest line once it grows.
    for (int i = 0; i < 60; ++i)
        server.state().addReply(bottle, bob, alice, u"第 "_s + QString::number(i) + u" 条"_s);
    type(u"好的"_s);
    ASSERT_TRUE(waitUntil([&] { return !chat->isSending(); }));
    ASSERT_EQ(conversations->chatMessages().size(), 63);
    QScrollBar* bar = list->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_TRUE(waitUntil([&] { return bar->value() == bar->maximum(); }));
    // It glided there from where it was rather than jumping.
    const auto* follow = chat->findChild<QPropertyAnimation*>();
    ASSERT_TRUE(follow);
    EXPECT_EQ(follow->targetObject(), bar);
    EXPECT_EQ(follow->propertyName(), "value");
    EXPECT_LT(follow->startValue().toInt(), follow->endValue().toInt());
    EXPECT_EQ(follow->endValue().toInt(), bar->maximum());

    // The same number of lines again (another refresh of the same history) leaves the scroll alone.
    bar->setValue(0);
    conversations->selectConversation(*conversations->currentConversation());
    QTest::qWait(200);
    EXPECT_EQ(bar->value(), 0);
}

TEST_F(ChatRig, PageKeysInTheEditorScrollTheHistoryAndLeaveTheTypedTextAlone)
{
    for (int i = 0; i < 60; ++i)
        server.state().addReply(bottle, bob, alice, u"第 "_s + QString::number(i) + u" 条"_s);
    conversations->selectConversation(*conversations->currentConversation());
    ASSERT_TRUE(waitUntil([&] { return conversations->chatMessages().size() == 61; }));
    QScrollBar* bar = find<QListView>(chat, u"chatMessages"_s)->verticalScrollBar();
    ASSERT_TRUE(waitUntil([&] { return bar->maximum() > 2 * bar->pageStep() && bar->value() == bar->maximum(); }));
    editor->setPlainText(u"第一行\n第二行"_s);
    QTextCursor cursor = editor->textCursor();
    cursor.setPosition(2);
    editor->setTextCursor(cursor);

    const int newest = bar->value();
    QTest::keyClick(editor, Qt::Key_PageUp);
    EXPECT_EQ(bar->value(), newest - bar->pageStep());
    QTest::keyClick(editor, Qt::Key_PageUp);
    EXPECT_EQ(bar->value(), newest - 2 * bar->pageStep());
    QTest::keyClick(editor, Qt::Key_PageDown);
    EXPECT_EQ(bar->value(), newest - bar->pageStep());
    EXPECT_EQ(editor->text(), u"第一行\n第二行"_s);
    EXPECT_EQ(editor->textCursor().position(), 2) << "the page keys moved the caret instead";
    // With a modifier the keys stay the editor's own.
    QTest::keyClick(editor, Qt::Key_PageDown, Qt::ShiftModifier);
    EXPECT_EQ(bar->value(), newest - bar->pageStep());
}

TEST_F(ChatRig, TheListKeepsItsPaddingAroundItsLines)
{
    // Bob's bottle stands at the left, his name above it: nothing is drawn in the list's
    // padding, above the first line or at either side.
    QListView* list = find<QListView>(chat, u"chatMessages"_s);
    list->verticalScrollBar()->setValue(0);
    const QImage image = list->viewport()->grab().toImage();
    const QList<QRect> lines = inkLines(image, image.rect());
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_GE(lines.first().top(), ChatBubbleView::margin);
    const QColor ground = dominantColour(image, image.rect());
    for (int y = 0; y < image.height(); ++y) {
        for (const int x : { ChatBubbleView::margin - 1, image.width() - ChatBubbleView::margin }) {
            if (image.pixelColor(x, y) != ground) {
                ADD_FAILURE() << "ink in the padding at " << x << ", " << y;
                return;
            }
        }
    }
}

TEST_F(ChatRig, ALongAvatarTextKeepsTheHeaderInsideThePane)
{
    // Whatever a user set as an avatar reaches the header: a few glyphs show, the name stays.
    Conversation odd = *conversations->currentConversation();
    odd.otherUserEmoji = QString(500, u'A') + u"🐙"_s.repeated(200);
    chat->setConversation(odd);
    QCoreApplication::processEvents();
    auto* emoji = find<QLabel>(chat, u"chatEmoji"_s);
    auto* name = find<PlainLabel>(chat, u"chatName"_s);
    EXPECT_LE(emoji->sizeHint().width(), ChatView::maxEmojiWidths * emoji->fontMetrics().height());
    EXPECT_LE(chat->minimumSizeHint().width(), chat->width());
    EXPECT_GT(name->width(), 100);
}

// A view hands its delegate rows at most 32,767 pixels tall; a reply of tens of thousands
// of characters is taller. Its bubble is drawn with every line down to the last.
TEST_F(ChatRig, RepliesOfAnyLengthAreDrawnToTheirLastLine)
{
    QListView* list = find<QListView>(chat, u"chatMessages"_s);
    QScrollBar* bar = list->verticalScrollBar();
    for (const int length : { 60'000, 200'000 }) {
        SCOPED_TRACE(length);
        QString content;
        while (content.size() < length)
            content += u"海浪拍岸，远方的朋友你好。"_s;
        content.truncate(length);
        const qsizetype count = conversations->chatMessages().size();
        server.state().addReply(bottle, bob, alice, content);
        conversations->selectConversation(*conversations->currentConversation());
        ASSERT_TRUE(waitUntil([&] { return conversations->chatMessages().size() == count + 1; }));
        ASSERT_TRUE(waitUntil([&] { return bar->maximum() > 32'767; }));

        // At its end and in its middle the bubble fills the list, and is full of lines of
        // text (the other side's bubble stands at the left; its time is under its end).
        for (const int from : { bar->maximum(), bar->maximum() / 2 }) {
            SCOPED_TRACE(from);
            bar->setValue(from);
            const QImage image = list->viewport()->grab().toImage();
            const QRect column(20, 10, 200, list->viewport()->height() - 70);
            const QList<QRect> lines = inkLines(image, column);
            EXPECT_GE(lines.size(), column.height() / (2 * list->fontMetrics().lineSpacing()));
            EXPECT_GT(lines.value(lines.size() - 1).bottom(), column.bottom() - 3 * list->fontMetrics().lineSpacing());
        }
    }
}

TEST_F(ChatRig, ReplyEditorLetsTheBarShowThroughInsideRoundedCorners)
{
    // Drawn over red: whatever stays red the editor and its box did not paint.
    QWidget* box = find<QWidget>(chat, u"chatInputBox"_s);
    ASSERT_TRUE(box);
    QImage image(box->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::red);
    box->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    const QColor red(Qt::red);
    const int w = image.width();
    const int h = image.height();
    EXPECT_EQ(image.pixelColor(w / 2, h / 2), red) << "no face of its own";
    for (const QPoint corner : { QPoint(1, 1), QPoint(w - 2, 1), QPoint(1, h - 2), QPoint(w - 2, h - 2) })
        EXPECT_EQ(image.pixelColor(corner), red) << "a rounded corner leaves its corner clear";
    EXPECT_NE(image.pixelColor(w / 2, 0), red) << "its outline runs straight along the edge";
    EXPECT_NE(image.pixelColor(8, 0), red) << "and the curve of radius 8 meets it there";
}

TEST_F(ChatRig, RefusedRepliesComeBackToTheEditorStoredOnesDoNot)
{
    const QString refused = u"包含违禁词的回复"_s;
    type(refused);
    ASSERT_TRUE(waitUntil([&] { return !chat->isSending(); }));
    EXPECT_EQ(editor->text(), refused);
    ASSERT_TRUE(openAlert());
    EXPECT_TRUE(chat->showSensitiveWordAlert());
    EXPECT_EQ(openAlert()->informativeText(), u"您的内容包含敏感词，请修改后再发送"_s);
    // As wide as the other alerts, which keep a short Chinese sentence on one line.
    const auto* sentence = openAlert()->findChild<QLabel*>(u"qt_msgbox_informativelabel"_s);
    ASSERT_TRUE(sentence);
    EXPECT_GE(sentence->width(), Alerts::minimumWidth);
    EXPECT_FALSE(error->isVisible());
    openAlert()->close();

    // The server fails the reply itself: the text returns and the reason shows for a while.
    server.scriptNext({ 500, "<i>busy</i>" });
    type(u"第二次"_s);
    ASSERT_TRUE(waitUntil([&] { return !chat->isSending(); }));
    EXPECT_EQ(editor->text(), u"第二次"_s);
    EXPECT_TRUE(error->isVisible());
    EXPECT_EQ(error->message(), u"服务器错误: <i>busy</i>"_s);
    EXPECT_TRUE(loggedLines(conversation).contains(u"❌ 发送消息失败: 服务器错误: <i>busy</i>"_s));
    EXPECT_TRUE(waitUntil([&] { return !error->isVisible(); }, 4000));

    // Stored, then the reload fails: the text must not come back for a duplicate send.
    const qsizetype before = server.requests().size();
    server.scriptNext({});
    server.scriptNext({ 500, "reload" });
    editor->clear();
    type(u"第三次"_s);
    ASSERT_TRUE(waitUntil([&] { return !chat->isSending(); }));
    EXPECT_TRUE(editor->text().isEmpty());
    EXPECT_EQ(server.requests().at(before).jsonBody().value(u"content"_s).toString(), u"第三次"_s);
    EXPECT_TRUE(error->isVisible());
}

// A sent or refused reply leaves the keyboard in the editor, not on the first button of the
// window, where the next Space would open the throw sheet.
TEST_F(ChatRig, TheKeyboardGoesBackToTheEditorAfterASendAndAfterTheRefusalAlert)
{
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    const auto focusName = [] {
        const QWidget* focus = QApplication::focusWidget();
        return focus ? focus->objectName() : QString();
    };

    // Sent by Tab and Space, then by a click.
    editor->setFocus(Qt::TabFocusReason);
    editor->setPlainText(u"好的"_s);
    QTest::keyClick(editor, Qt::Key_Tab);
    ASSERT_TRUE(send->hasFocus());
    QTest::keyClick(send, Qt::Key_Space);
    ASSERT_TRUE(chat->isSending());
    ASSERT_TRUE(waitUntil([&] { return !chat->isSending(); }));
    EXPECT_EQ(focusName(), u"chatInput"_s) << "after a send by the keyboard";
    EXPECT_EQ(conversations->chatMessages().size(), 2);

    editor->setPlainText(u"再来一句"_s);
    QTest::mouseClick(send, Qt::LeftButton);
    ASSERT_TRUE(chat->isSending());
    ASSERT_TRUE(waitUntil([&] { return !chat->isSending(); }));
    EXPECT_EQ(focusName(), u"chatInput"_s) << "after a send by a click";

    // Refused: the alert closes and the window comes back, as the window manager brings it.
    editor->setPlainText(u"包含违禁词的回复"_s);
    QTest::mouseClick(send, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return openAlert() != nullptr; }));
    openAlert()->buttons().constFirst()->click();
    ASSERT_TRUE(waitUntil([&] { return !chat->showSensitiveWordAlert(); }));
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    EXPECT_EQ(focusName(), u"chatInput"_s) << "after the alert";
    EXPECT_EQ(editor->text(), u"包含违禁词的回复"_s);
    EXPECT_EQ(editor->textCursor().position(), editor->text().size()) << "typing goes on at the end";
}

TEST_F(ChatRig, ABottleNobodyPickedCannotBeAnsweredAndKeepsTheText)
{
    const QString mine = server.state().addBottle(alice, u"我的瓶子"_s);
    ASSERT_TRUE(await(conversations->refreshConversations()).ok());
    for (const Conversation& c : conversations->conversations()) {
        if (c.bottleId == mine)
            conversations->selectConversation(c);
    }
    ASSERT_EQ(chat->conversation().bottleId, mine);
    EXPECT_EQ(find<PlainLabel>(chat, u"chatName"_s)->fullText(), ChatView::noNameYet);
    EXPECT_EQ(find<QLabel>(chat, u"chatEmoji"_s)->text(), ChatView::noEmoji);

    const qsizetype before = server.requests().size();
    type(u"有人吗"_s);
    ASSERT_TRUE(waitUntil([&] { return !chat->isSending(); }));
    QTest::qWait(50);
    EXPECT_TRUE(pathsSince(before).filter(u"reply"_s).isEmpty());
    EXPECT_EQ(editor->text(), u"有人吗"_s);
    EXPECT_TRUE(loggedLines(conversation).contains(u"❌ 发送消息失败: 瓶子还未被捡起，无法回复"_s));
}

TEST_F(BottleWindowRig, ThrowSheetSizesButtonsAndOutcomes)
{
    BottleChatView* window = openWindow();
    ASSERT_TRUE(window);
    find<QPushButton>(window, u"throwButton"_s)->click();
    auto* sheet = window->findChild<ThrowNewBottleSheet*>();
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_TRUE(window->showThrowBottleSheet());
    EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
    EXPECT_EQ(sheet->size(), QSize(400, 300));
    auto* editor = find<PlainTextEditor>(sheet, u"bottleText"_s);
    auto* send = find<QPushButton>(sheet, u"sendButton"_s);
    auto* cancel = find<QPushButton>(sheet, u"cancelButton"_s);
    auto* error = find<PlainLabel>(sheet, u"throwError"_s);
    EXPECT_FALSE(send->isEnabled());

    // Too long: the bottle manager refuses, the reason shows in red and the sheet grows.
    editor->setPlainText(QString(1001, u'浪'));
    ASSERT_TRUE(send->isEnabled());
    send->click();
    ASSERT_TRUE(waitUntil([&] { return !sheet->isSending(); }));
    EXPECT_FALSE(sheet->errorMessage().isEmpty());
    EXPECT_TRUE(error->isVisible());
    EXPECT_EQ(sheet->size(), QSize(400, 350));
    EXPECT_EQ(editor->text().size(), 1001);

    // A long answer of the server: two lines at most, the second ending in "…", the whole in
    // the tool tip.
    const QString page = u"服务器正忙，"_s.repeated(15);
    server.scriptNext({ 500, page.toUtf8() });
    editor->setPlainText(u"你好"_s);
    send->click();
    ASSERT_TRUE(waitUntil([&] { return !sheet->isSending(); }));
    EXPECT_EQ(sheet->errorMessage(), u"服务器错误: "_s + page);
    const QStringList lines = error->text().split(u'\n');
    EXPECT_LE(lines.size(), 2);
    EXPECT_TRUE(error->text().endsWith(u"…"_s)) << error->text().toStdString();
    for (const QString& line : lines)
        EXPECT_LE(error->fontMetrics().horizontalAdvance(line), error->width()) << line.toStdString();
    EXPECT_EQ(QTextDocumentFragment::fromHtml(error->toolTip()).toPlainText(), sheet->errorMessage());

    // Sensitive words: the alert instead of red text; the text stays.
    editor->setPlainText(u"违禁词"_s);
    server.scriptNext({ std::nullopt, {}, 300 }); // answered late, so the sending state can be seen
    send->click();
    EXPECT_EQ(send->text(), u"发送中..."_s);
    EXPECT_FALSE(send->isEnabled());
    EXPECT_FALSE(cancel->isEnabled());
    EXPECT_EQ(sheet->size(), QSize(400, 300));
    sheet->reject(); // no way out while the throw is out
    EXPECT_TRUE(sheet->isVisible());
    ASSERT_TRUE(waitUntil([&] { return !sheet->isSending(); }));
    EXPECT_TRUE(sheet->errorMessage().isEmpty());
    EXPECT_EQ(editor->text(), u"违禁词"_s);
    ASSERT_TRUE(openAlert());
    EXPECT_TRUE(sheet->showSensitiveWordAlert());
    openAlert()->close();
    EXPECT_FALSE(sheet->showSensitiveWordAlert());

    // A bottle that goes out closes the sheet and shows in the list.
    const qsizetype before = server.requests().size();
    QPointer<ThrowNewBottleSheet> gone(sheet);
    editor->setPlainText(u"你好，陌生人"_s);
    send->click();
    ASSERT_TRUE(waitUntil([&] { return gone.isNull(); }));
    EXPECT_FALSE(window->showThrowBottleSheet());
    EXPECT_EQ(pathsSince(before), (QStringList { u"/api/bottles/throw"_s, u"/api/bottles/conversations"_s }));
    EXPECT_EQ(conversations->conversations().size(), 1);
    EXPECT_TRUE(loggedLines(conversation).contains(u"🚀 开始丢瓶子，内容长度: 6"_s));

    // A fresh sheet starts empty.
    find<QPushButton>(window, u"throwButton"_s)->click();
    auto* fresh = window->findChild<ThrowNewBottleSheet*>();
    ASSERT_TRUE(fresh);
    EXPECT_TRUE(find<PlainTextEditor>(fresh, u"bottleText"_s)->text().isEmpty());
}

TEST_F(BottleWindowRig, PickSheetFollowsItsFlagAndClosesItselfAfterHalfASecond)
{
    BottleChatView* window = openWindow();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->findChild<PickBottleSheet*>(), nullptr) << "no control of the window opens it";
    for (int round = 0; round < 2; ++round) {
        window->setShowPickBottleSheet(true);
        QPointer<PickBottleSheet> sheet = window->findChild<PickBottleSheet*>();
        ASSERT_TRUE(sheet);
        EXPECT_EQ(sheet->size(), QSize(300, 200));
        QSignalSpy finished(sheet.data(), &QDialog::finished);
        QTest::qWait(300);
        EXPECT_TRUE(sheet->isVisible());
        EXPECT_TRUE(finished.wait(1000));
        EXPECT_FALSE(window->showPickBottleSheet());
        ASSERT_TRUE(waitUntil([&] { return sheet.isNull(); }));
    }
}
