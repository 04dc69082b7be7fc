// The drift-bottle screens on the real X server. With TAMSEL_SHOT_DIR set, each is saved as
// a picture to look at.
#include "../ScreensRig.h"

#include "driftbottle/unwired/BottleDetailView.h"
#include "driftbottle/unwired/BottleListTabView.h"
#include "driftbottle/unwired/BottleListView.h"
#include "driftbottle/unwired/DriftBottleMainView.h"
#include "driftbottle/unwired/ReplySheetView.h"
#include "driftbottle/unwired/SegmentedSwitch.h"
#include "driftbottle/unwired/SensitiveWordAlertView.h"
#include "driftbottle/unwired/ThrowBottleTabView.h"
#include "support/Screenshots.h"
#include "widgets/PlainTextEditor.h"

#include <QImage>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QImage grab(QWidget* window, const QString& name)
{
    // Rendered from the widgets, not read back from the screen: other tests' windows may be
    // open on the same display.
    QTest::qWait(500);
    QImage image = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    saveShot(image, name);
    return image;
}

} // namespace

TEST(BottleScreensOnScreen, SensitiveWordCardDimsItsWindow)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QPlainTextEdit(u"一段被拒绝的文字"_s, &window));
    window.resize(700, 650);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QImage before = grab(&window, u"sensitive-0-before"_s);
    SensitiveWordAlertView::present(&window);
    // The corner is dimmed to about half its brightness once the card has faded in.
    const QPoint corner(20, before.height() - 20);
    EXPECT_TRUE(waitUntil([&] {
        return qGray(grab(&window, u"sensitive-1-card"_s).pixel(corner)) < qGray(before.pixel(corner)) * 2 / 3;
    }));
}

TEST_F(ScreensRig, EveryBottleScreenFitsItsWindow)
{
    for (int i = 0; i < 3; ++i) {
        const QString content = i == 0 ? u"今天的海风很温柔，想把这份心情装进瓶子里，送给远方的你。"_s.repeated(3)
                                       : u"第 %1 个瓶子 🌊"_s.arg(i + 1);
        await(bottles->throwBottle(content, {}, BottleType::normal, false));
    }
    bobsBottle(u"你好，陌生人 👋"_s);
    await(bottles->pickRandomBottle());

    QList<PetBehavior> played;
    DriftBottleMainView screen(*bottles, *users, [&](PetBehavior b) { played.append(b); });
    screen.setWindowTitle(u"漂流瓶"_s);
    screen.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&screen));
    EXPECT_EQ(screen.size(), QSize(700, 650));
    grab(&screen, u"tabs-1-pick"_s);

    screen.setSelectedTab(DriftBottleMainView::BottleTab::throw_bottle);
    auto* throwPage = qobject_cast<ThrowBottleTabView*>(screen.currentTabView());
    grab(&screen, u"tabs-2-throw-empty"_s);
    throwPage->editor()->setPlainText(u"写给大海的一句话 🐚"_s);
    server.scriptNext(ScriptedReply { 500, "<html><body>" + QByteArray(300, 'x') + "</body></html>" });
    QTest::mouseClick(throwPage->findChild<QAbstractButton*>(u"throwButton"_s), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return !throwPage->errorMessage().isEmpty(); }));
    grab(&screen, u"tabs-3-throw-error"_s);
    throwPage->editor()->setPlainText(u"违禁词"_s);
    QTest::mouseClick(throwPage->findChild<QAbstractButton*>(u"throwButton"_s), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return throwPage->findChild<SensitiveWordAlertView*>() != nullptr; }));
    grab(&screen, u"tabs-4-throw-sensitive"_s);

    screen.setSelectedTab(DriftBottleMainView::BottleTab::sent);
    ASSERT_TRUE(
        waitUntil([&] { return !qobject_cast<BottleListTabView*>(screen.currentTabView())->content()->isLoading(); }));
    grab(&screen, u"tabs-5-sent"_s);
    screen.setSelectedTab(DriftBottleMainView::BottleTab::received);
    ASSERT_TRUE(
        waitUntil([&] { return !qobject_cast<BottleListTabView*>(screen.currentTabView())->content()->isLoading(); }));
    grab(&screen, u"tabs-6-received"_s);

    BottleDetailView* detail = BottleDetailView::openWindow(bottles->receivedBottles().first(), *bottles, *users);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(detail));
    EXPECT_EQ(detail->size(), QSize(500, 550));
    grab(detail, u"detail-1"_s);
    detail->openReplySheet();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(detail->replySheet()));
    detail->replySheet()->setContent(u"谢谢你的瓶子！"_s);
    grab(detail->replySheet(), u"detail-2-reply-sheet"_s);
    detail->close();

    screen.setSelectedTab(DriftBottleMainView::BottleTab::pick);
    auto* pick = qobject_cast<PickBottleTabView*>(screen.currentTabView());
    pick->pickBottle();
    ASSERT_TRUE(waitUntil([&] { return !pick->isPicking(); }));
    grab(&screen, u"tabs-7-pick-error"_s);
    EXPECT_EQ(played, QList<PetBehavior> { PetBehavior::exploring });

    BottleListView list(*bottles, *users);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    ASSERT_TRUE(waitUntil([&] { return !list.bottleListContent()->isLoading(); }));
    grab(&list, u"list-1-sent"_s);
}
