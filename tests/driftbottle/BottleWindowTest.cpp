// The drift-bottle window and its manager: one window at a time, the sign-in question for a
// signed-out user, the refresh that runs only while the window is open, picking and deleting.
#include "BottleWindowRig.h"

#include "account/UserRegistrationView.h"
#include "driftbottle/ConversationListModel.h"
#include "driftbottle/WrappedLabel.h"
#include "platform/Alerts.h"
#include "support/DrawnText.h"
#include "support/LogLines.h"
#include "widgets/BannerRow.h"
#include "widgets/OverlayCard.h"
#include "widgets/PlainLabel.h"

#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString driftBottle = u"DriftBottle"_s;
const QString conversation = u"Conversation"_s;

QList<UserRegistrationView*> signInWindows()
{
    QList<UserRegistrationView*> out;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* form = qobject_cast<UserRegistrationView*>(w); form && form->isVisible())
            out.append(form);
    }
    return out;
}

} // namespace

TEST_F(BottleWindowRig, OneWindowWhoseRefreshRunsOnlyWhileItIsOpen)
{
    BottleChatView* window = openWindow();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->windowTitle(), u"漂流瓶"_s);
    EXPECT_EQ(window->size(), QSize(900, 650));
    EXPECT_EQ(timers.running(), QList<int> { 5000 });
    EXPECT_EQ(requestsTo(u"/api/bottles/conversations"_s), 1);

    // Each tick asks once more.
    refreshTick();
    ASSERT_TRUE(waitUntil([&] { return requestsTo(u"/api/bottles/conversations"_s) == 2; }));

    // Asking again brings the same window forward.
    windows->showDriftBottleWindow();
    EXPECT_EQ(windows->driftBottleWindow(), window);
    EXPECT_TRUE(loggedLines(driftBottle).contains(u"🍾 漂流瓶窗口已存在，置于最前"_s));

    // Closing stops the refresh and drops the window.
    QPointer<BottleChatView> closed(window);
    window->close();
    EXPECT_TRUE(timers.running().isEmpty());
    EXPECT_EQ(windows->driftBottleWindow(), nullptr);
    EXPECT_TRUE(loggedLines(driftBottle).contains(u"🚪 漂流瓶窗口关闭，清除引用"_s));
    ASSERT_TRUE(waitUntil([&] { return closed.isNull(); }));

    // A new window reloads the list and starts the refresh again.
    BottleChatView* second = openWindow();
    ASSERT_TRUE(second);
    EXPECT_EQ(requestsTo(u"/api/bottles/conversations"_s), 3);
    EXPECT_EQ(timers.running(), QList<int> { 5000 });

    // A window that is held but hidden is freed, with its refresh, before a new one is made.
    QPointer<BottleChatView> hidden(second);
    second->hide();
    EXPECT_TRUE(timers.running().isEmpty());
    windows->showDriftBottleWindow();
    EXPECT_TRUE(hidden.isNull());
    EXPECT_TRUE(windows->driftBottleWindow());
    EXPECT_EQ(timers.running(), QList<int> { 5000 });

    // The manager going at quit takes its open window and the refresh with it.
    windows.reset();
    EXPECT_TRUE(timers.running().isEmpty());
}

TEST_F(BottleWindowRig, AtQuitTheConversationsMayGoBeforeTheOpenWindowThatShowsThem)
{
    // Made on first use, the conversations are made after the window manager, and freed
    // before it.
    QPointer<BottleChatView> window = openWindow();
    ASSERT_TRUE(window);
    ASSERT_EQ(timers.running(), QList<int> { 5000 });
    conversations.reset();
    windows.reset();
    EXPECT_TRUE(window.isNull());
}

TEST_F(BottleWindowRig, SignedOutUserIsAskedToSignIn)
{
    users->setUserMode(UserMode::offline);
    ASSERT_FALSE(users->isLoggedIn());
    const qsizetype before = server.requests().size();

    Alerts::setNextAnswers({ 1 }); // "取消"
    windows->showDriftBottleWindow();
    ASSERT_EQ(Alerts::answeredAlerts().size(), 1);
    const Alerts::Record alert = Alerts::answeredAlerts().first();
    EXPECT_EQ(alert.title, u"需要登录"_s);
    EXPECT_EQ(alert.text, u"漂流瓶功能需要登录后才能使用。\n是否现在登录？"_s);
    EXPECT_EQ(alert.buttons, (QStringList { u"去登录"_s, u"取消"_s }));
    EXPECT_TRUE(signInWindows().isEmpty());

    // "去登录" opens a fresh sign-in window each time; the drift-bottle window stays shut.
    Alerts::setNextAnswers({ 0, 0 });
    windows->showDriftBottleWindow();
    windows->showDriftBottleWindow();
    const QList<UserRegistrationView*> forms = signInWindows();
    ASSERT_EQ(forms.size(), 2);
    EXPECT_EQ(forms.first()->windowTitle(), u"登录/注册"_s);
    EXPECT_EQ(loggedLines(driftBottle).count(u"🔑 打开登录窗口（从漂流瓶）"_s), 2);
    EXPECT_EQ(windows->driftBottleWindow(), nullptr);
    EXPECT_EQ(server.requests().size(), before);
    qDeleteAll(forms);
}

TEST_F(BottleWindowRig, PickShowsTheCardThenSelectsThePickedConversation)
{
    const QString bottle = server.state().addBottle(bob, QString(60, u'海'));
    BottleChatView* window = openWindow();
    ASSERT_TRUE(window);
    auto* pick = find<QPushButton>(window, u"pickButton"_s);
    const qsizetype before = server.requests().size();

    // Pressed by the keyboard: while it picks the keyboard waits rather than going on to the
    // next control, and then it is back on the button.
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    pick->setFocus(Qt::TabFocusReason);
    QTest::keyClick(pick, Qt::Key_Space);
    pick->click(); // a second press while picking starts nothing
    EXPECT_TRUE(window->isPicking());
    EXPECT_FALSE(pick->isEnabled());
    EXPECT_EQ(pick->text().trimmed(), u"捡取中..."_s);
    const QWidget* waiting = QApplication::focusWidget();
    EXPECT_TRUE(waiting == nullptr || waiting->focusPolicy() == Qt::NoFocus)
        << "waits on " << (waiting ? waiting->objectName() : QString()).toStdString();
    ASSERT_TRUE(waitUntil([&] { return !window->isPicking(); }));
    EXPECT_TRUE(pick->hasFocus());
    EXPECT_EQ(pathsSince(before), (QStringList { u"/api/bottles/pick"_s, u"/api/bottles/conversations"_s }));

    auto* overlay = find<OverlayCard>(window, u"pickOverlay"_s);
    EXPECT_TRUE(overlay->isVisible());
    EXPECT_TRUE(window->showPickSuccess());
    EXPECT_EQ(find<WrappedLabel>(window, u"pickPreview"_s)->text(), QString(50, u'海') + u"..."_s);
    EXPECT_FALSE(conversations->currentConversation());

    // A second later the picked conversation is selected and its lines load.
    ASSERT_TRUE(waitUntil([&] { return conversations->currentConversation().has_value(); }, 3000));
    EXPECT_EQ(conversations->currentConversation()->bottleId, bottle);
    ASSERT_TRUE(waitUntil([&] { return !overlay->isVisible(); }, 3000));
    EXPECT_FALSE(window->showPickSuccess());
    ASSERT_TRUE(window->pickedBottle()) << "the picked bottle stays after its card goes";
    EXPECT_EQ(window->pickedBottle()->id, bottle);
    ASSERT_TRUE(waitUntil([&] { return conversations->chatMessages().size() == 1; }));
    EXPECT_TRUE(window->chatView());
    EXPECT_TRUE(
        loggedLines(conversation).contains(u"✅ 捡到瓶子: "_s + bottle + u" - "_s + QString(20, u'海') + u"..."_s));
}

TEST_F(BottleWindowRig, ThePickCardHoldsAllItShowsInAtMostThreeLines)
{
    const struct
    {
        QString content;
        QString shownEnd; ///< how the shown text ends
    } cases[] = {
        { QString(51, u'海'), u"..."_s },
        { QString(51, u'x'), u"..."_s },
        { QString(29, u'浪'), QString(3, u'浪') },
        { u"一\n二\n三\n四"_s, u"…"_s },
    };
    BottleChatView* window = openWindow();
    ASSERT_TRUE(window);
    auto* overlay = find<OverlayCard>(window, u"pickOverlay"_s);
    auto* preview = find<WrappedLabel>(window, u"pickPreview"_s);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content.toStdString());
        server.state().addBottle(bob, c.content);
        find<QPushButton>(window, u"pickButton"_s)->click();
        ASSERT_TRUE(waitUntil([&] { return !window->isPicking() && overlay->isVisible(); }));

        // Once laid out, the card holds each of its parts whole.
        const QWidget* card = overlay->card();
        EXPECT_TRUE(waitUntil([&] {
            const QList<QWidget*> parts = card->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
            return std::ranges::all_of(parts, [&](const QWidget* part) {
                const int needed
                    = part->hasHeightForWidth() ? part->heightForWidth(part->width()) : part->sizeHint().height();
                return card->rect().contains(part->geometry()) && part->height() >= needed;
            });
        }));
        const QStringList lines = preview->shownLines();
        EXPECT_LE(lines.size(), 3);
        for (const QString& line : lines)
            EXPECT_LE(preview->fontMetrics().horizontalAdvance(line), preview->contentsRect().width());
        EXPECT_TRUE(lines.join(QString()).endsWith(c.shownEnd));
        // The breaks are only drawn: a screen reader and a copy get the preview as it is.
        EXPECT_EQ(preview->text(), BottleChatView::preview(c.content));
        QAccessibleInterface* named = QAccessible::queryAccessibleInterface(preview);
        ASSERT_TRUE(named);
        EXPECT_EQ(named->text(QAccessible::Name), BottleChatView::preview(c.content));
    }
}

TEST_F(BottleWindowRig, AnotherAccountSeesNothingOfTheLastOnesChat)
{
    const QString id = server.state().addBottle(bob, u"瓶子"_s);
    server.state().pickBottle(id, alice);
    BottleChatView* window = openWindow();
    ASSERT_TRUE(window);
    ASSERT_EQ(conversations->conversations().size(), 1);
    conversations->selectConversation(conversations->conversations().at(0));
    ASSERT_TRUE(waitUntil([&] { return window->chatView() && !conversations->chatMessages().isEmpty(); }));

    users->logout();
    signIn(u"carol@x.io"_s);
    EXPECT_FALSE(conversations->currentConversation());
    EXPECT_TRUE(conversations->chatMessages().isEmpty());
    EXPECT_TRUE(conversations->conversations().isEmpty());
    EXPECT_FALSE(window->chatView()) << "the chat and its draft go with the account";
}

TEST_F(BottleWindowRig, FailedPickShowsItsReasonForThreeSecondsUnlessReplaced)
{
    BottleChatView* window = openWindow();
    ASSERT_TRUE(window);
    auto* banner = find<BannerRow>(window, u"listError"_s);
    auto* pick = find<QPushButton>(window, u"pickButton"_s);

    // Nothing to pick: the server's 404.
    pick->click();
    ASSERT_TRUE(waitUntil([&] { return !window->isPicking(); }));
    const QString notFound = u"没有挖到瓶子，你先丢个瓶子出去吧！"_s;
    EXPECT_EQ(window->errorMessage(), notFound);
    EXPECT_TRUE(banner->isVisible());
    EXPECT_TRUE(loggedLines(conversation).contains(u"❌ 捡瓶子失败: "_s + notFound));
    ASSERT_TRUE(waitUntil([&] { return !window->errorMessage(); }, 4000));
    EXPECT_FALSE(banner->isVisible());

    // A bottle that was picked but whose list reload failed is a failed pick, and a later
    // reason is not cleared by the earlier pick's timer.
    server.state().addBottle(bob, u"瓶子"_s);
    server.scriptNext({}); // the pick goes through
    server.scriptNext({ 500, "<html><b>down</b></html>" });
    pick->click();
    ASSERT_TRUE(waitUntil([&] { return !window->isPicking(); }));
    const QString down = u"服务器错误: <html><b>down</b></html>"_s;
    EXPECT_EQ(window->errorMessage(), down);
    EXPECT_FALSE(find<OverlayCard>(window, u"pickOverlay"_s)->isVisible());
    EXPECT_EQ(banner->message(), down); // shown literally

    server.scriptNext({ 500, "second" });
    QTest::qWait(1500);
    pick->click();
    ASSERT_TRUE(waitUntil([&] { return !window->isPicking(); }));
    QTest::qWait(1800); // the first failure's timer has run by now
    EXPECT_EQ(window->errorMessage(), u"服务器错误: second"_s);
}

TEST_F(BottleWindowRig, DeleteMenuKeepsItsConversationThroughARefresh)
{
    const QStringList ids = bottlesPickedByAlice(5);
    BottleChatView* window = openWindow();
    ASSERT_TRUE(window);
    QListView* list = window->conversationList();
    auto* model = static_cast<ConversationListModel*>(list->model());
    const QString target = ids.at(2);
    conversations->selectConversation(model->conversationAt(model->rowOf(target)));
    ASSERT_TRUE(waitUntil([&] { return !conversations->chatMessages().isEmpty(); }));

    QMenu* menu = window->openRowMenu(list->visualRect(model->index(model->rowOf(target))).center());
    ASSERT_TRUE(menu);
    // While the menu is open another conversation moves to the top: the rows shift.
    server.state().addReply(ids.first(), bob, alice, u"新消息"_s);
    refreshTick();
    ASSERT_TRUE(waitUntil([&] { return model->conversationAt(0).bottleId == ids.first(); }));
    ASSERT_NE(model->conversationAt(2).bottleId, target);

    const qsizetype before = server.requests().size();
    menu->actions().first()->trigger();
    ASSERT_TRUE(waitUntil([&] { return model->rowOf(target) == -1; }));
    EXPECT_EQ(server.requests().at(before).jsonBody().value(u"bottleId"_s).toString(), target);
    // It was the selected one: the chat pane goes back to its placeholder.
    EXPECT_FALSE(conversations->currentConversation());
    EXPECT_TRUE(conversations->chatMessages().isEmpty());
    EXPECT_TRUE(waitUntil([&] { return window->chatView() == nullptr; }));

    // A failed delete says why above the list and keeps the row.
    server.scriptNext({ 500, "nope" });
    window->openRowMenu(list->visualRect(model->index(0)).center())->actions().first()->trigger();
    ASSERT_TRUE(waitUntil([&] { return window->errorMessage().has_value(); }));
    EXPECT_EQ(*window->errorMessage(), u"服务器错误: nope"_s);
    EXPECT_EQ(model->rowCount(), 4);
}

TEST_F(BottleWindowRig, AConversationTheServerNoLongerListsLeavesTheChatPane)
{
    const QStringList ids = bottlesPickedByAlice(2);
    BottleChatView* window = openWindow();
    ASSERT_TRUE(window);
    ASSERT_EQ(conversations->conversations().size(), 2);
    const auto selectAndOpen = [&](const QString& id) {
        for (const Conversation& c : conversations->conversations()) {
            if (c.bottleId == id)
                conversations->selectConversation(c);
        }
        return waitUntil([&] { return window->chatView() && !conversations->chatMessages().isEmpty(); });
    };
    ASSERT_TRUE(selectAndOpen(ids.at(0)));

    // Removed elsewhere (another client of the same account): the next refresh lists the other only.
    const auto removeElsewhere = [&](const QString& id) {
        RecordedRequest remove;
        remove.method = "POST";
        remove.path = u"/api/bottles/delete-conversation"_s;
        remove.body = QJsonDocument(QJsonObject { { u"bottleId"_s, id }, { u"userId"_s, alice } }).toJson();
        ASSERT_EQ(server.state().handle(remove).status, 200);
    };
    removeElsewhere(ids.at(1));
    refreshTick();
    ASSERT_TRUE(waitUntil([&] { return conversations->conversations().size() == 1; }));
    EXPECT_TRUE(window->chatView()) << "another conversation going leaves the open one";

    removeElsewhere(ids.at(0));
    refreshTick();
    ASSERT_TRUE(waitUntil([&] { return conversations->conversations().isEmpty(); }));
    EXPECT_FALSE(conversations->currentConversation());
    EXPECT_TRUE(conversations->chatMessages().isEmpty());
    EXPECT_TRUE(waitUntil([&] { return window->chatView() == nullptr; })) << "no input for a conversation gone";
    EXPECT_TRUE(find<QWidget>(window, u"chatPlaceholder"_s)->isVisible());
}

TEST_F(BottleWindowRig, TheKeyboardAloneReachesAndOpensAConversation)
{
    bottlesPickedByAlice(2);
    BottleChatView* window = openWindow();
    ASSERT_TRUE(window);
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QListView* list = window->conversationList();
    auto* model = static_cast<ConversationListModel*>(list->model());
    ASSERT_EQ(model->rowCount(), 2);

    // Tab from button to button until the list has the focus; its first row is marked.
    for (int i = 0; i < 5 && !list->hasFocus(); ++i)
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window, Qt::Key_Tab);
    ASSERT_TRUE(list->hasFocus());
    const QRect first = list->visualRect(model->index(0));
    const QColor accent = list->palette().color(QPalette::Highlight);
    const auto marked = [&](const QRect& row) {
        const QImage image = list->viewport()->grab().toImage();
        return contrastRatio(image.pixelColor(row.left() + 1, row.center().y()), accent) < 1.2;
    };
    EXPECT_TRUE(marked(first));

    // Down, then Return opens the second row; Return again loads nothing more.
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_FALSE(marked(first));
    QTest::keyClick(list, Qt::Key_Return);
    ASSERT_TRUE(conversations->currentConversation());
    EXPECT_EQ(conversations->currentConversation()->bottleId, model->conversationAt(1).bottleId);
    ASSERT_TRUE(waitUntil([&] { return !conversations->chatMessages().isEmpty(); }));
    const qsizetype before = server.requests().size();
    QTest::keyClick(list, Qt::Key_Return);
    QTest::qWait(100);
    EXPECT_EQ(server.requests().size(), before);

    // The mouse still opens a row with one click.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_EQ(conversations->currentConversation()->bottleId, model->conversationAt(0).bottleId);
}

TEST_F(BottleWindowRig, TheMenuKeyOffersToDeleteTheRowTheKeyboardIsAt)
{
    bottlesPickedByAlice(3);
    BottleChatView* window = openWindow();
    ASSERT_TRUE(window);
    QListView* list = window->conversationList();
    auto* model = static_cast<ConversationListModel*>(list->model());
    ASSERT_EQ(model->rowCount(), 3);
    list->setFocus(Qt::TabFocusReason);
    list->setCurrentIndex(model->index(2));
    const QString target = model->conversationAt(2).bottleId;

    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(5, 5), list->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(list, &key);
    QMenu* menu = nullptr;
    ASSERT_TRUE(waitUntil([&] {
        menu = window->findChild<QMenu*>(u"rowMenu"_s);
        return menu && menu->isVisible();
    }));
    const qsizetype before = server.requests().size();
    menu->actions().first()->trigger();
    ASSERT_TRUE(waitUntil([&] { return model->rowOf(target) == -1; }));
    EXPECT_EQ(server.requests().at(before).jsonBody().value(u"bottleId"_s).toString(), target);
    EXPECT_EQ(model->rowCount(), 2);
}

// Without a menu key, Delete offers the same, asking first: "取消" keeps the conversation.
TEST_F(BottleWindowRig, DeleteAsksBeforeItThrowsTheConversationInFocusAway)
{
    bottlesPickedByAlice(2);
    BottleChatView* window = openWindow();
    ASSERT_TRUE(window);
    QListView* list = window->conversationList();
    auto* model = static_cast<ConversationListModel*>(list->model());
    ASSERT_EQ(model->rowCount(), 2);
    list->setFocus(Qt::TabFocusReason);
    QTest::keyClick(list, Qt::Key_Down);
    const Conversation target = model->conversationAt(1);

    const qsizetype before = server.requests().size();
    Alerts::setNextAnswers({ 0 });
    QTest::keyClick(list, Qt::Key_Delete);
    ASSERT_EQ(Alerts::answeredAlerts().size(), 1);
    const Alerts::Record asked = Alerts::answeredAlerts().constFirst();
    EXPECT_EQ(asked.title, u"删除对话"_s);
    EXPECT_EQ(asked.text, u"确定要删除与「"_s + ConversationListModel::displayName(target) + u"」的对话吗？"_s);
    EXPECT_EQ(asked.buttons.constFirst(), u"取消"_s);
    EXPECT_EQ(asked.destructiveButton, 1);
    QTest::qWait(50);
    EXPECT_EQ(server.requests().size(), before);
    EXPECT_EQ(model->rowCount(), 2);

    Alerts::setNextAnswers({ 1 });
    QTest::keyClick(list, Qt::Key_Delete);
    ASSERT_TRUE(waitUntil([&] { return model->rowOf(target.bottleId) == -1; }));
    EXPECT_EQ(server.requests().at(before).jsonBody().value(u"bottleId"_s).toString(), target.bottleId);
    EXPECT_EQ(model->rowCount(), 1);
}
