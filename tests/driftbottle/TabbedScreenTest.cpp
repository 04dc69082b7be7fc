// The tabbed screen and its pick and throw pages: pages start afresh on every switch, the
// throw page's counter and cut, its outcomes and timer, and the pick page's one request.
#include "ScreensRig.h"

#include "driftbottle/unwired/BottleDetailView.h"
#include "driftbottle/unwired/BottleListTabView.h"
#include "driftbottle/unwired/DriftBottleMainView.h"
#include "driftbottle/unwired/PickBottleTabView.h"
#include "driftbottle/unwired/SegmentedSwitch.h"
#include "driftbottle/unwired/SensitiveWordAlertView.h"
#include "driftbottle/unwired/ThrowBottleTabView.h"
#include "support/DrawnText.h"
#include "support/Screenshots.h"
#include "widgets/OverlayCard.h"
#include "widgets/PlainTextEditor.h"
#include "widgets/Symbols.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using Tab = DriftBottleMainView::BottleTab;

class TabsRig : public ScreensRig
{
protected:
    QList<PetBehavior> animations;
    PickBottleTabView::PlayBehavior play = [this](PetBehavior b) { animations.append(b); };

    [[nodiscard]] qsizetype requestsTo(const QByteArray& prefix) const
    {
        return std::count_if(server.requests().begin(), server.requests().end(),
            [&](const RecordedRequest& r) { return r.target.startsWith(prefix); });
    }
};

TEST_F(TabsRig, EverySwitchBuildsThePageAfresh)
{
    DriftBottleMainView screen(*bottles, *users, play);
    screen.show();
    EXPECT_EQ(screen.size(), QSize(700, 650));
    const QStringList titles { u"捡瓶子"_s, u"丢瓶子"_s, u"我丢出的"_s, u"我收到的"_s };
    const QList<Symbols::Symbol> symbols { Symbols::Symbol::handPointUpBrailleFill, Symbols::Symbol::paperplaneFill,
        Symbols::Symbol::paperplane, Symbols::Symbol::trayAndArrowDown };
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(screen.segments()->segmentText(i), titles[i]);
        EXPECT_EQ(screen.segments()->segmentSymbol(i), symbols[i]);
    }
    EXPECT_TRUE(qobject_cast<PickBottleTabView*>(screen.currentTabView()));

    part(screen.segments(), "segment1")->click();
    auto* throwPage = qobject_cast<ThrowBottleTabView*>(screen.currentTabView());
    ASSERT_TRUE(throwPage);
    throwPage->editor()->setPlainText(u"写到一半"_s);
    QPointer<QWidget> oldPage = throwPage;

    for (auto [segment, type] : { std::pair { "segment2", BottleListTabView::ListType::sent },
             std::pair { "segment3", BottleListTabView::ListType::received } }) {
        part(screen.segments(), segment)->click();
        auto* list = qobject_cast<BottleListTabView*>(screen.currentTabView());
        ASSERT_TRUE(list);
        EXPECT_EQ(list->listType(), type);
        EXPECT_TRUE(list->isVisible());
    }
    EXPECT_TRUE(oldPage.isNull()) << "a page left behind is freed";

    part(screen.segments(), "segment1")->click();
    throwPage = qobject_cast<ThrowBottleTabView*>(screen.currentTabView());
    ASSERT_TRUE(throwPage);
    EXPECT_TRUE(throwPage->editor()->text().isEmpty());
    EXPECT_EQ(throwPage->counterText(), u"0/1000"_s);

    // Choosing the segment already shown keeps the page.
    part(screen.segments(), "segment1")->click();
    EXPECT_EQ(screen.currentTabView(), throwPage);
    ASSERT_TRUE(waitUntil([&] { return requestsTo("/api/bottles/") >= 2; }));
}

TEST_F(TabsRig, CounterCountsWhatPeopleSeeAndTheCutNeverSplitsACharacter)
{
    ThrowBottleTabView page(*bottles, *users);
    PlainTextEditor* editor = page.editor();
    const QString family = u"👨‍👩‍👧‍👦"_s;
    const QString accented = u"e\u0301"_s;

    struct Case
    {
        QString typed;
        QString kept;
        QString counter;
    };
    const QList<Case> cases {
        { family.repeated(3) + accented, family.repeated(3) + accented, u"4/1000"_s },
        { family.repeated(1000), family.repeated(1000), u"1000/1000"_s },
        { family.repeated(1001), family.repeated(1000), u"1000/1000"_s },
        { accented.repeated(999) + family + family, accented.repeated(999) + family, u"1000/1000"_s },
        { u"字"_s.repeated(1500), u"字"_s.repeated(1000), u"1000/1000"_s },
    };
    for (const Case& c : cases) {
        editor->setPlainText(c.typed);
        EXPECT_EQ(editor->text(), c.kept);
        EXPECT_EQ(page.counterText(), c.counter);
        EXPECT_TRUE(part(&page, "throwButton")->isEnabled());
    }

    // Typing at the end of a full editor changes nothing and leaves the cursor at the end.
    editor->setPlainText(u"字"_s.repeated(1000));
    editor->moveCursor(QTextCursor::End);
    editor->insertPlainText(u"多"_s);
    EXPECT_EQ(editor->text(), u"字"_s.repeated(1000));
    EXPECT_EQ(editor->textCursor().position(), 1000);

    editor->clear();
    EXPECT_FALSE(part(&page, "throwButton")->isEnabled());
    EXPECT_EQ(page.counterText(), u"0/1000"_s);
}

TEST_F(TabsRig, ThrowOutcomesKeepOrClearTheTextAsTheyShould)
{
    ThrowBottleTabView page(*bottles, *users);
    page.resize(700, 600);
    page.show();

    // Only spaces: sent exactly as written, then the editor empties and the card shows.
    page.editor()->setPlainText(u"  \n "_s);
    part(&page, "throwButton")->click();
    EXPECT_TRUE(page.isSending());
    EXPECT_FALSE(part(&page, "throwButton")->isEnabled());
    ASSERT_TRUE(waitUntil([&] { return !page.isSending(); }));
    EXPECT_EQ(server.lastRequest().jsonBody().value(u"content"_s).toString(), u"  \n "_s);
    EXPECT_TRUE(page.showSuccess());
    EXPECT_TRUE(page.editor()->text().isEmpty());

    // A refusal for sensitive words: the card, no error row, and the text stays.
    page.editor()->setPlainText(u"这里有违禁词"_s);
    part(&page, "throwButton")->click();
    ASSERT_TRUE(waitUntil([&] { return !page.isSending(); }));
    auto* alert = page.findChild<SensitiveWordAlertView*>();
    ASSERT_TRUE(alert);
    EXPECT_TRUE(page.showSensitiveWordAlert());
    EXPECT_TRUE(page.errorMessage().isEmpty());
    alert->button()->click();
    EXPECT_FALSE(page.showSensitiveWordAlert());
    EXPECT_EQ(page.editor()->text(), u"这里有违禁词"_s);

    // Any other failure: the error row, verbatim and as plain text, and the text stays.
    server.scriptNext(ScriptedReply { 500, "<i>维护中</i>" });
    page.editor()->setPlainText(u"再试一次"_s);
    part(&page, "throwButton")->click();
    ASSERT_TRUE(waitUntil([&] { return !page.isSending(); }));
    EXPECT_EQ(page.errorMessage(), u"服务器错误: <i>维护中</i>"_s);
    EXPECT_EQ(page.editor()->text(), u"再试一次"_s);

    // The next throw clears the row at once.
    part(&page, "throwButton")->click();
    EXPECT_TRUE(page.errorMessage().isEmpty());
    ASSERT_TRUE(waitUntil([&] { return !page.isSending(); }));
}

TEST_F(TabsRig, ThrowButtonFloatsOverThePageWhoseEndScrollsClearOfIt)
{
    ThrowBottleTabView page(*bottles, *users);
    page.resize(700, 420); // shorter than the page's content
    page.show();
    QCoreApplication::processEvents();
    QAbstractButton* button = part(&page, "throwButton");
    auto* scroll = page.findChild<QScrollArea*>();
    ASSERT_TRUE(scroll);
    const QRect buttonBox = button->geometry();
    EXPECT_TRUE(scroll->geometry().contains(buttonBox)) << "over the scrolled content, not below it";
    EXPECT_EQ(page.height() - (buttonBox.bottom() + 1), ThrowBottleTabView::buttonBottomMargin);
    EXPECT_LE(std::abs(buttonBox.center().x() - page.rect().center().x()), 1);

    QScrollBar* bar = scroll->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    bar->setValue(bar->maximum());
    QCoreApplication::processEvents();
    const QRect editor(page.editor()->mapTo(&page, QPoint(0, 0)), page.editor()->size());
    EXPECT_LT(editor.bottom(), buttonBox.top()) << "the end of the page scrolls clear of the button";

    // The confirmation card: the tick at 80, padded 50 all round.
    auto* card = page.findChild<OverlayCard*>(u"throwSuccess"_s);
    ASSERT_TRUE(card);
    EXPECT_EQ(card->cardLayout()->contentsMargins(), QMargins(50, 50, 50, 50));
    EXPECT_EQ(part<SymbolView>(&page, "successSymbol")->symbol(), Symbols::Symbol::checkmarkCircleFill);
    EXPECT_EQ(part<SymbolView>(&page, "successSymbol")->height(), 80);

    // Shown, it covers the floating button too.
    page.editor()->setPlainText(u"漂向远方"_s);
    button->click();
    ASSERT_TRUE(waitUntil([&] { return page.showSuccess() && card->opacity() == 1.0; }));
    QWidget* atButton = page.childAt(buttonBox.center());
    EXPECT_TRUE(atButton == card || card->isAncestorOf(atButton));
    saveShot(drawnImage(&page), u"throw-success"_s);
}

TEST_F(TabsRig, ConfirmationHidesOneAndAHalfSecondsAfterTheFirstOfTwoSuccesses)
{
    ThrowBottleTabView page(*bottles, *users);
    page.show();
    QElapsedTimer clock;
    clock.start();
    page.editor()->setPlainText(u"第一瓶"_s);
    part(&page, "throwButton")->click();
    ASSERT_TRUE(waitUntil([&] { return page.showSuccess(); }));
    const qint64 firstShown = clock.elapsed();
    QTest::qWait(1000);
    page.editor()->setPlainText(u"第二瓶"_s);
    part(&page, "throwButton")->click();
    ASSERT_TRUE(waitUntil([&] { return page.showSuccess(); }));
    ASSERT_TRUE(waitUntil([&] { return !page.showSuccess(); }, 4000));
    const qint64 hiddenAfter = clock.elapsed() - firstShown;
    EXPECT_GE(hiddenAfter, ThrowBottleTabView::successShownMs - 20);
    EXPECT_LT(hiddenAfter, ThrowBottleTabView::successShownMs + 800);
}

TEST_F(TabsRig, PickStartsOneRequestAndOneAnimationAndOpensTheDetail)
{
    const DriftBottle first = bobsBottle(u"第一瓶"_s);
    PickBottleTabView page(*bottles, *users, play);
    page.show();
    server.scriptNext(ScriptedReply { std::nullopt, {}, 200 });
    page.pickBottle();
    part(&page, "pickButton")->click(); // disabled
    page.pickBottle();
    EXPECT_TRUE(page.isPicking());
    EXPECT_EQ(part(&page, "pickButton")->text(), u"捡取中..."_s);
    ASSERT_TRUE(waitUntil([&] { return !page.isPicking(); }));
    EXPECT_EQ(requestsTo("/api/bottles/pick"), 1);
    EXPECT_EQ(animations, QList<PetBehavior> { PetBehavior::exploring });
    ASSERT_TRUE(page.detailSheet());
    EXPECT_TRUE(page.showBottleDetail());
    EXPECT_EQ(page.detailSheet()->findChild<BottleDetailView*>()->bottle().id, first.id);
    page.detailSheet()->close();
    ASSERT_TRUE(waitUntil([&] { return !page.detailSheet(); }));

    // Nothing left to pick: the banner, no sheet, the last bottle kept; the pet still explores.
    page.pickBottle();
    ASSERT_TRUE(waitUntil([&] { return !page.isPicking(); }));
    EXPECT_EQ(page.errorMessage(), u"没有挖到瓶子，你先丢个瓶子出去吧！"_s);
    EXPECT_FALSE(page.detailSheet());
    ASSERT_TRUE(page.pickedBottle());
    EXPECT_EQ(page.pickedBottle()->id, first.id);
    EXPECT_EQ(animations.size(), 2);

    // The next press clears the banner at once.
    page.pickBottle();
    EXPECT_TRUE(page.errorMessage().isEmpty());
    ASSERT_TRUE(waitUntil([&] { return !page.isPicking(); }));
}

TEST_F(TabsRig, PickThatEndsAfterThePageWentStillKeepsTheBottleButOpensNothing)
{
    bobsBottle(u"迟到的瓶子"_s);
    DriftBottleMainView screen(*bottles, *users, play);
    screen.show();
    server.scriptNext(ScriptedReply { std::nullopt, {}, 300 });
    qobject_cast<PickBottleTabView*>(screen.currentTabView())->pickBottle();
    screen.setSelectedTab(Tab::throw_bottle);
    ASSERT_TRUE(waitUntil([&] { return !bottles->receivedBottles().isEmpty(); }));
    QTest::qWait(50);
    EXPECT_TRUE(screen.findChildren<QDialog*>().isEmpty());
    EXPECT_EQ(bottles->receivedBottles().first().content, u"迟到的瓶子"_s);
}
