// The bottle detail and its reply sheet: who may answer, what each outcome shows, the
// sheet's and the banner's timers, and an answer kept after a failure.
#include "ScreensRig.h"

#include "driftbottle/unwired/BottleDetailView.h"
#include "driftbottle/unwired/ReplySheetView.h"
#include "driftbottle/unwired/SensitiveWordAlertView.h"
#include "widgets/BannerRow.h"
#include "widgets/PlainLabel.h"
#include "widgets/PlainTextEditor.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>

using namespace Qt::StringLiterals;

namespace {

bool bannerShown(const QWidget* view, const char* name)
{
    const auto* banner = view->findChild<BannerRow*>(QString::fromLatin1(name));
    return banner && !banner->isHidden();
}

} // namespace

class DetailRig : public ScreensRig
{
protected:
    void SetUp() override
    {
        ScreensRig::SetUp();
        bottle = bobsBottle();
        view = std::make_unique<BottleDetailView>(bottle, *bottles, *users);
        view->show();
    }
    void TearDown() override
    {
        view.reset();
        ScreensRig::TearDown();
    }

    /// Opens the sheet, types `text` and presses Send.
    QPointer<ReplySheetView> send(const QString& text)
    {
        view->openReplySheet();
        QPointer<ReplySheetView> sheet = view->replySheet();
        EXPECT_TRUE(sheet);
        sheet->findChild<PlainTextEditor*>()->setPlainText(text);
        part(sheet, "sendButton")->click();
        return sheet;
    }

    [[nodiscard]] qsizetype replyRequests() const
    {
        return std::count_if(server.requests().begin(), server.requests().end(),
            [](const RecordedRequest& r) { return r.target == "/api/bottles/reply"; });
    }

    DriftBottle bottle;
    std::unique_ptr<BottleDetailView> view;
};

TEST_F(DetailRig, ReplyButtonFollowsWhoIsSignedIn)
{
    EXPECT_TRUE(view->canReply());
    EXPECT_TRUE(part(view.get(), "replyButton")->isVisible());

    // Signed out while the screen is open: the button goes.
    users->setUserMode(UserMode::offline);
    EXPECT_FALSE(view->canReply());
    EXPECT_FALSE(part(view.get(), "replyButton")->isVisible());
    EXPECT_TRUE(part(view.get(), "closeButton")->isVisible());

    // The sender's own bottle: no reply.
    DriftBottle own = bottle;
    own.senderId = alice;
    users->setUserMode(UserMode::online);
    signIn();
    {
        BottleDetailView ownView(own, *bottles, *users);
        EXPECT_FALSE(ownView.canReply());
    }

    // An account marked signed in whose user record is missing may still answer.
    view.reset();
    defaults->remove(UserManager::currentUserKey);
    defaults->setValue(UserManager::isLoggedInKey, true);
    defaults->setValue(UserManager::userModeKey, u"online"_s);
    launch();
    ASSERT_TRUE(users->isLoggedIn());
    ASSERT_FALSE(users->currentUser());
    BottleDetailView recordless(own, *bottles, *users);
    EXPECT_TRUE(recordless.canReply());
}

TEST_F(DetailRig, DetailShowsTheBottleAsItCarriesIt)
{
    struct Case
    {
        BottleType type;
        QString name;
    };
    for (const Case& c : { Case { BottleType::normal, u"普通瓶子"_s }, Case { BottleType::colorful, u"彩色瓶子"_s },
             Case { BottleType::wish, u"许愿瓶"_s }, Case { BottleType::lucky, u"幸运瓶"_s } }) {
        DriftBottle b = bottle;
        b.bottleType = c.type;
        b.isAnonymous = true; // the name and emoji it carries still show
        b.content = u"<b>不是粗体</b>"_s;
        BottleDetailView detail(b, *bottles, *users);
        EXPECT_EQ(part<PlainLabel>(&detail, "typeName")->fullText(), c.name);
        EXPECT_EQ(part<PlainLabel>(&detail, "senderName")->fullText(), u"鲍勃"_s);
        EXPECT_EQ(part<QTextEdit>(&detail, "bottleContent")->toPlainText(), b.content) << "markup shows as typed";
        EXPECT_EQ(part<PlainLabel>(&detail, "thrownAt")->fullText(), u"2026-03-04 05:06"_s);
        EXPECT_EQ(detail.size(), QSize(500, 550));
    }
}

TEST_F(DetailRig, BottleTextKeepsSixPixelsBetweenItsLines)
{
    const auto heightOf = [&](const QString& text) {
        DriftBottle b = bottle;
        b.content = text;
        BottleDetailView detail(b, *bottles, *users);
        detail.show();
        const auto* content = part<QTextEdit>(&detail, "bottleContent");
        // The same lines set without extra spacing, for the height of a line itself.
        QTextDocument plain;
        plain.setDefaultFont(content->font());
        plain.setDocumentMargin(0);
        plain.setPlainText(text);
        return std::pair(content->height(), qRound(plain.size().height()));
    };
    const auto [one, plainOne] = heightOf(u"一行"_s);
    const auto [three, plainThree] = heightOf(u"一行\n两行\n三行"_s);
    EXPECT_EQ(three - one, plainThree - plainOne + 2 * BottleDetailView::contentLineSpacing);
    // A long text wraps inside the card and is shown whole: the screen scrolls, not the text.
    const auto [wrapped, unused] = heightOf(QString(u"很长的瓶子内容"_s).repeated(60));
    EXPECT_GT(wrapped, 5 * plainOne);
}

TEST_F(DetailRig, SheetSendsOnceAsTypedAndClosesHalfASecondLaterWhateverTheServerDoes)
{
    view->openReplySheet();
    QPointer<ReplySheetView> sheet = view->replySheet();
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(view->showReplySheet());
    EXPECT_EQ(sheet->size(), QSize(400, 320));
    // The text sits 150 high inside its box, 12 in from every edge.
    const auto* editor = sheet->findChild<PlainTextEditor*>();
    EXPECT_EQ(editor->height(), 150);
    EXPECT_EQ(editor->geometry(), editor->parentWidget()->rect().adjusted(12, 12, -12, -12));
    EXPECT_FALSE(part(sheet, "sendButton")->isEnabled());
    sheet->findChild<PlainTextEditor*>()->setPlainText(u"  \n"_s);
    EXPECT_TRUE(part(sheet, "sendButton")->isEnabled()) << "spaces count as text";

    server.scriptNext(ScriptedReply { std::nullopt, {}, 1500 });
    QElapsedTimer clock;
    clock.start();
    part(sheet, "sendButton")->click();
    part(sheet, "sendButton")->click();
    EXPECT_TRUE(sheet->isSending());
    EXPECT_FALSE(part(sheet, "cancelButton")->isEnabled());
    ASSERT_TRUE(waitUntil([&] { return sheet.isNull(); }));
    EXPECT_GE(clock.elapsed(), ReplySheetView::closeAfterSendMs - 10);
    EXPECT_LT(clock.elapsed(), 1400) << "the sheet does not wait for the answer";
    EXPECT_FALSE(view->showReplySheet());
    EXPECT_FALSE(bannerShown(view.get(), "successBanner"));
    EXPECT_FALSE(view->showSuccessMessage());

    ASSERT_TRUE(waitUntil([&] { return bannerShown(view.get(), "successBanner"); }));
    EXPECT_TRUE(view->showSuccessMessage());
    EXPECT_EQ(replyRequests(), 1);
    // The banner spans the card's width with its tick and words in the middle.
    const auto* banner = view->findChild<BannerRow*>(u"successBanner"_s);
    QCoreApplication::processEvents();
    QRect content;
    for (const QWidget* part : banner->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        content |= part->geometry();
    EXPECT_LE(std::abs(content.center().x() - banner->rect().center().x()), 2);
    EXPECT_GT(content.left(), 40) << "not started at the banner's left";
    EXPECT_EQ(server.lastRequest().jsonBody().value(u"content"_s).toString(), u"  \n"_s);
    EXPECT_EQ(server.lastRequest().jsonBody().value(u"receiverId"_s).toInteger(), bob);
}

TEST_F(DetailRig, SuccessBannerHidesTwoSecondsAfterTheFirstSuccessNotTheLast)
{
    QElapsedTimer clock;
    clock.start();
    send(u"第一句"_s);
    ASSERT_TRUE(waitUntil([&] { return bannerShown(view.get(), "successBanner"); }));
    const qint64 firstShown = clock.elapsed();
    QTest::qWait(1200);
    send(u"第二句"_s);
    ASSERT_TRUE(waitUntil([&] { return replyRequests() == 2; }));
    ASSERT_TRUE(waitUntil([&] { return !bannerShown(view.get(), "successBanner"); }, 4000));
    const qint64 hiddenAt = clock.elapsed();
    EXPECT_GE(hiddenAt - firstShown, BottleDetailView::successBannerMs - 20);
    EXPECT_LT(hiddenAt - firstShown, BottleDetailView::successBannerMs + 1000)
        << "the second success did not extend it";
}

TEST_F(DetailRig, FailedAnswerIsKeptForTheNextSheetUntilOneSucceeds)
{
    server.scriptNext(ScriptedReply { 500, "<b>内部错误</b>" });
    send(u"写了很久的回复"_s);
    ASSERT_TRUE(waitUntil([&] { return bannerShown(view.get(), "errorBanner"); }));
    EXPECT_EQ(view->errorMessage(), u"服务器错误: <b>内部错误</b>"_s);
    EXPECT_EQ(view->replyDraft(), u"写了很久的回复"_s);
    ASSERT_TRUE(waitUntil([&] { return !view->replySheet(); }));

    // The next sheet offers the answer again; sending it clears the red banner at once.
    view->openReplySheet();
    ASSERT_TRUE(view->replySheet());
    EXPECT_EQ(view->replySheet()->content(), u"写了很久的回复"_s);
    part(view->replySheet(), "sendButton")->click();
    EXPECT_FALSE(bannerShown(view.get(), "errorBanner"));
    EXPECT_TRUE(view->errorMessage().isEmpty());
    ASSERT_TRUE(waitUntil([&] { return bannerShown(view.get(), "successBanner"); }));
    EXPECT_TRUE(view->replyDraft().isEmpty());
    ASSERT_TRUE(waitUntil([&] { return !view->replySheet(); }));
    view->openReplySheet();
    EXPECT_TRUE(view->replySheet()->content().isEmpty());
}

TEST_F(DetailRig, SensitiveWordsCloseTheSheetAndShowTheCardInsteadOfABanner)
{
    server.scriptNext(ScriptedReply { std::nullopt, {}, 200 });
    QPointer<ReplySheetView> sheet = send(u"含有违禁词的回复"_s);
    ASSERT_TRUE(waitUntil([&] { return view->findChild<SensitiveWordAlertView*>() != nullptr; }));
    EXPECT_TRUE(view->showSensitiveWordAlert());
    EXPECT_FALSE(bannerShown(view.get(), "errorBanner"));
    EXPECT_TRUE(view->replyDraft().isEmpty());
    EXPECT_TRUE(waitUntil([&] { return sheet.isNull(); }));
    view->findChild<SensitiveWordAlertView*>()->button()->click();
    EXPECT_FALSE(view->showSensitiveWordAlert());
}

TEST_F(DetailRig, AnswerThatArrivesAfterTheScreenClosedIsDropped)
{
    server.scriptNext(ScriptedReply { std::nullopt, {}, 300 });
    send(u"晚到的回复"_s);
    view.reset();
    ASSERT_TRUE(waitUntil([&] { return replyRequests() == 1; }));
    QTest::qWait(500); // the answer comes back to a screen that is gone
}

// Below a long text (as at a larger font) the banners lie under the visible part of the page,
// which shows no scroll bar: each outcome is scrolled into view when it shows.
TEST_F(DetailRig, ANewBannerIsScrolledIntoView)
{
    bottle.content = QString(u"很长的瓶子内容"_s).repeated(120);
    view = std::make_unique<BottleDetailView>(bottle, *bottles, *users);
    view->show();
    const auto* scroll = view->findChild<QScrollArea*>(u"detailScroll"_s);
    ASSERT_TRUE(scroll);
    const auto inView = [&](const char* name) {
        const auto* banner = view->findChild<BannerRow*>(QString::fromLatin1(name));
        const QRect place(banner->mapTo(scroll->viewport(), QPoint(0, 0)), banner->size());
        return banner->isVisible() && scroll->viewport()->rect().contains(place);
    };
    server.scriptNext({ 500, "down" });
    send(u"第一句"_s);
    ASSERT_TRUE(waitUntil([&] { return bannerShown(view.get(), "errorBanner"); }));
    EXPECT_TRUE(inView("errorBanner"));

    scroll->verticalScrollBar()->setValue(0);
    ASSERT_TRUE(waitUntil([&] { return !view->replySheet() || !view->replySheet()->isVisible(); }));
    send(u"第二句"_s);
    ASSERT_TRUE(waitUntil([&] { return bannerShown(view.get(), "successBanner"); }));
    EXPECT_TRUE(inView("successBanner"));
}

TEST_F(DetailRig, ABottleWithoutAnEmojiShowsNoneAndStaysInsideItsWindow)
{
    bottle.senderEmoji.clear();
    BottleDetailView detail(bottle, *bottles, *users);
    detail.show();
    QCoreApplication::processEvents();
    const auto* scroll = detail.findChild<QScrollArea*>(u"detailScroll"_s);
    EXPECT_LE(scroll->widget()->width(), scroll->viewport()->width());
    EXPECT_FALSE(part<QLabel>(&detail, "senderMark")->isVisible());
    EXPECT_TRUE(part<PlainLabel>(&detail, "senderName")->isVisible());
}

// Tab goes between the buttons and never rests on the scroller, which shows no mark; Page
// Down and Page Up pressed on a button still scroll a long bottle.
TEST_F(DetailRig, TabPassesOverTheScrollerAndPagesStillScrollTheBottle)
{
    bottle.content = QString(u"很长的瓶子内容\n"_s).repeated(80);
    view = std::make_unique<BottleDetailView>(bottle, *bottles, *users);
    view->show();
    QCoreApplication::processEvents();
    QApplication::setActiveWindow(view.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    QWidget* close = part(view.get(), "closeButton");
    close->setFocus(Qt::TabFocusReason);
    QStringList stops;
    for (int i = 0; i < 10 && (stops.isEmpty() || stops.constLast() != close->objectName()); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        stops.append(QApplication::focusWidget()->objectName());
    }
    EXPECT_EQ(stops, (QStringList { u"replyButton"_s, u"closeIconButton"_s, u"closeButton"_s }));

    const QScrollBar* bar = view->findChild<QScrollArea*>(u"detailScroll"_s)->verticalScrollBar();
    ASSERT_TRUE(waitUntil([&] { return bar->maximum() > bar->pageStep(); })) << "the bottle fits; nothing to scroll";
    QTest::keyClick(close, Qt::Key_PageDown);
    EXPECT_EQ(bar->value(), bar->pageStep());
    QTest::keyClick(close, Qt::Key_PageUp);
    EXPECT_EQ(bar->value(), 0);
}
