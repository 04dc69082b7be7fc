// Bottle cards and lists: how a card writes a bottle, how a refresh reaches the rows, and
// the list pages' loading, empty states, failures and detail windows.
#include "ScreensRig.h"

#include "driftbottle/unwired/BottleDetailView.h"
#include "driftbottle/unwired/BottleListModel.h"
#include "driftbottle/unwired/BottleListTabView.h"
#include "driftbottle/unwired/BottleListView.h"
#include "driftbottle/unwired/BottlePresentation.h"
#include "driftbottle/unwired/BottleRowView.h"
#include "driftbottle/unwired/SegmentedSwitch.h"
#include "support/DrawnText.h"
#include "support/PaintedTexts.h"
#include "widgets/PlainLabel.h"

#include <QApplication>
#include <QListView>
#include <QPointer>
#include <QSignalSpy>

#include <optional>

using namespace Qt::StringLiterals;
using Page = BottleListContent::Page;

namespace {

DriftBottle bottleWithId(const QString& id)
{
    DriftBottle bottle;
    bottle.id = id;
    bottle.content = u"内容 "_s + id;
    return bottle;
}

QList<DriftBottle> bottlesWithIds(const QStringList& ids)
{
    QList<DriftBottle> list;
    for (const QString& id : ids)
        list.append(bottleWithId(id));
    return list;
}

void clickRow(QListView* view, int row)
{
    const QRect rect = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
}

} // namespace

TEST(BottleCard, TagsShowTwoThemesAndCountTheRest)
{
    struct Case
    {
        QStringList theme;
        QStringList tags;
    };
    const QList<Case> cases {
        { {}, {} },
        { { u"海"_s }, { u"#海"_s } },
        { { u"海"_s, u"风"_s }, { u"#海"_s, u"#风"_s } },
        { { u"海"_s, u"风"_s, u"云"_s }, { u"#海"_s, u"#风"_s, u"+1"_s } },
        { { u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s }, { u"#a"_s, u"#b"_s, u"+3"_s } },
    };
    for (const Case& c : cases)
        EXPECT_EQ(BottlePresentation::tagTexts(c.theme), c.tags) << c.theme.join(u',').toStdString();
}

TEST(BottleCard, LogPreviewKeepsWholeCharactersAndAlwaysEndsInDots)
{
    const QString family = u"👨‍👩‍👧‍👦"_s;
    EXPECT_EQ(BottlePresentation::logPreview(u"你好"_s), u"你好..."_s);
    EXPECT_EQ(BottlePresentation::logPreview(QString()), u"..."_s);
    EXPECT_EQ(BottlePresentation::logPreview(family.repeated(25)), family.repeated(20) + u"..."_s);
}

TEST(BottleCard, PreviewIsCutToTwoLinesAndSaysSo)
{
    const QFont font = QApplication::font();
    const QString shortText = u"短短一句"_s;
    EXPECT_EQ(BottleRowView::previewText(shortText, font, 300, 2), shortText);

    const QString longText = u"很长的一段话，"_s.repeated(40);
    const QString preview = BottleRowView::previewText(longText, font, 300, 2);
    const QStringList lines = preview.split(u'\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[1].endsWith(QChar(0x2026)));
    for (const QString& line : lines)
        EXPECT_LE(QFontMetrics(font).horizontalAdvance(line), 300);

    // Three short lines: the third is announced by the "…", not silently dropped.
    const QString threeLines = BottleRowView::previewText(u"一\n二\n三"_s, font, 300, 2);
    EXPECT_TRUE(threeLines.startsWith(u"一\n二"_s));
    EXPECT_TRUE(threeLines.endsWith(QChar(0x2026)));
}

TEST(BottleCard, DateReadsEvenWhereAScreenDrawsItsThinDigitsATenthFainter)
{
    BottleListModel model;
    DriftBottle bottle = bottleWithId(u"b1"_s);
    bottle.senderName = u"鲍勃"_s;
    bottle.createdAt = QDateTime(QDate(2026, 5, 1), QTime(8, 30));
    model.setBottles({ bottle });
    const QString date = BottlePresentation::rowDate(bottle.createdAt);
    for (const QPalette& palette : { lightPalette(), darkFusionPalette() }) {
        QListView view;
        view.setPalette(palette);
        view.setModel(&model);
        view.setItemDelegate(new BottleRowView(false, &view));
        view.resize(600, 300);
        view.show();
        const QImage drawn = drawnImage(&view);
        bool found = false;
        for (const PaintedText& text : paintedBy(&view).texts) {
            if (text.text != date)
                continue;
            found = true;
            // Drawn here at full strength; a screen that smooths the digits a tenth fainter
            // still shows them at 4.5:1.
            EXPECT_GE(drawnContrast(drawn, text.ink.adjusted(-3, -3, 3, 3)), 4.5 / 0.9)
                << palette.color(QPalette::Window).name().toStdString();
        }
        EXPECT_TRUE(found) << date.toStdString();
    }
}

// The sent list's badge: its emoji as large as the sender's, then 4 px to its caption label,
// all inside the pill with room at either end; the header grows to hold the pill.
TEST(BottleCard, StatusBadgeDrawsItsEmojiAtTheSendersSizeFourPixelsBeforeItsLabel)
{
    const QFont standard = QApplication::font();
    QFont larger = standard;
    larger.setPointSizeF(12);
    for (const QFont& font : { standard, larger }) {
        QApplication::setFont(font);
        for (const BottleStatus status : { BottleStatus::floating, BottleStatus::picked, BottleStatus::replied }) {
            BottleListModel model;
            DriftBottle bottle = bottleWithId(u"b1"_s);
            bottle.senderEmoji = u"🐱"_s;
            bottle.senderName = u"鲍勃"_s;
            bottle.status = status;
            model.setBottles({ bottle });
            QListView view;
            view.setModel(&model);
            view.setItemDelegate(new BottleRowView(true, &view));
            view.resize(600, 300);
            view.show();
            const BottlePresentation::StatusBadge badge = BottlePresentation::statusBadge(status);
            std::optional<PaintedText> sender, emoji, label;
            for (const PaintedText& text : paintedBy(&view).texts) {
                if (text.text == bottle.senderEmoji)
                    sender = text;
                else if (text.text == badge.emoji)
                    emoji = text;
                else if (text.text == badge.label)
                    label = text;
            }
            const std::string name = badge.label.toStdString() + " at " + std::to_string(font.pointSizeF());
            ASSERT_TRUE(sender && emoji && label) << name;
            EXPECT_EQ(emoji->pixelSize, sender->pixelSize) << name;
            EXPECT_LT(label->pixelSize, emoji->pixelSize) << name;
            EXPECT_EQ(label->line.left() - emoji->line.right() - 1, 4) << name;
            EXPECT_EQ(emoji->line.center().y(), label->line.center().y()) << name;
        }
    }
    QApplication::setFont(standard);
}

TEST(BottleListModel, FollowsBottlesByIdAndAnnouncesTheKeptOnes)
{
    BottleListModel model;
    model.setBottles(bottlesWithIds({ u"b"_s, u"a"_s }));
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserts(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);

    model.setBottles(bottlesWithIds({ u"d"_s, u"c"_s, u"b"_s, u"a"_s })); // two picks
    EXPECT_EQ(resets.size(), 0);
    ASSERT_EQ(inserts.size(), 1);
    EXPECT_EQ(inserts[0][1].toInt(), 0);
    EXPECT_EQ(inserts[0][2].toInt(), 1);
    EXPECT_EQ(model.bottleAt(0).id, u"d"_s);
    // The kept bottles may carry a new status.
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes[0][0].toModelIndex().row(), 2);
    EXPECT_EQ(changes[0][1].toModelIndex().row(), 3);
}

TEST_F(ScreensRig, ListPageFetchesOnEveryAppearanceAndShowsTheRightEmptyState)
{
    struct Case
    {
        BottleListTabView::ListType type;
        QByteArray path;
        QString title, hint;
        bool badge;
    };
    const QList<Case> cases {
        { BottleListTabView::ListType::sent, "/api/bottles/sent", u"还没有丢出瓶子"_s, u"去丢一个瓶子吧！"_s, true },
        { BottleListTabView::ListType::received, "/api/bottles/received", u"还没有收到瓶子"_s, u"去捡一个瓶子吧！"_s,
            false },
    };
    for (const Case& c : cases) {
        BottleListTabView page(c.type, *bottles, *users);
        const qsizetype before = requestCount();
        page.show();
        EXPECT_TRUE(page.isLoading());
        EXPECT_EQ(page.content()->page(), Page::loading);
        ASSERT_TRUE(waitUntil([&] { return !page.isLoading(); }));
        EXPECT_EQ(requestCount(), before + 1);
        EXPECT_TRUE(server.lastRequest().target.startsWith(c.path)) << server.lastRequest().target.constData();
        EXPECT_EQ(page.content()->page(), Page::empty);
        EXPECT_EQ(part<PlainLabel>(&page, "emptyTitle")->fullText(), c.title);
        EXPECT_EQ(part<PlainLabel>(&page, "emptyHint")->fullText(), c.hint);
        auto* delegate = qobject_cast<BottleRowView*>(page.content()->listView()->itemDelegate());
        ASSERT_TRUE(delegate);
        EXPECT_EQ(delegate->showStatus(), c.badge);

        // Shown again (as when its tab is chosen again): fetched again.
        page.hide();
        page.show();
        ASSERT_TRUE(waitUntil([&] { return !page.content()->isLoading(); }));
        EXPECT_EQ(requestCount(), before + 2);
    }
}

TEST_F(ScreensRig, ListPageShowsTheSpinnerDuringARefreshAndKeepsRowsWhenItFails)
{
    await(bottles->throwBottle(u"第一瓶"_s, {}, BottleType::normal, false));
    await(bottles->fetchMySentBottles());
    ASSERT_EQ(bottles->sentBottles().size(), 1);

    LogCapture log;
    server.scriptNext(ScriptedReply { 500, "服务器坏了", 300 });
    BottleListTabView page(BottleListTabView::ListType::sent, *bottles, *users);
    page.show();
    EXPECT_TRUE(waitUntil([&] { return page.content()->page() == Page::loading; }))
        << "the spinner replaces rows that are already there";
    ASSERT_TRUE(waitUntil([&] { return !page.content()->isLoading(); }));
    EXPECT_EQ(page.content()->page(), Page::list);
    EXPECT_EQ(page.content()->model()->rowCount(), 1);
    const QStringList lines = log.lines(u"DriftBottle"_s);
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const QString& l) {
        return l.startsWith(u"❌ 加载瓶子列表失败: serverError("_s);
    })) << lines.join(u'\n').toStdString();
}

TEST_F(ScreensRig, EachRowClickOpensItsOwnDetailWindowThatIsFreedOnClose)
{
    const DriftBottle first = bobsBottle(u"短信"_s);
    await(bottles->pickRandomBottle());
    BottleListTabView page(BottleListTabView::ListType::received, *bottles, *users);
    page.resize(600, 500);
    page.show();
    ASSERT_TRUE(waitUntil([&] { return page.content()->page() == Page::list; }));

    LogCapture log;
    QList<QPointer<QWidget>> windows;
    QObject::connect(&page, &BottleListTabView::detailWindowOpened, [&](QWidget* w) { windows.append(w); });
    clickRow(page.content()->listView(), 0);
    clickRow(page.content()->listView(), 0);
    ASSERT_EQ(windows.size(), 2);
    EXPECT_NE(windows[0], windows[1]);
    for (const QPointer<QWidget>& w : windows) {
        EXPECT_TRUE(w->isWindow() && w->isVisible());
        EXPECT_EQ(w->windowTitle(), u"瓶子详情"_s);
        EXPECT_EQ(qobject_cast<BottleDetailView*>(w)->bottle().id, first.id);
    }
    EXPECT_EQ(log.lines(u"DriftBottle"_s).count(u"🍾 打开瓶子详情: 短信..."_s), 2);

    // The window outlives the page, and "关闭" frees it.
    QPointer<QWidget> survivor = windows[1];
    windows[0]->close();
    EXPECT_TRUE(waitUntil([&] { return windows[0].isNull(); }));
    part(survivor, "closeButton")->click();
    EXPECT_TRUE(waitUntil([&] { return survivor.isNull(); }));
}

// Tab reaches the cards and Return opens the one the keyboard is at, as a click does; the
// cards have nothing to switch or delete, so Space and Delete do nothing.
TEST_F(ScreensRig, TheKeyboardAloneReachesAndOpensABottle)
{
    const DriftBottle first = bobsBottle(u"短信"_s);
    await(bottles->pickRandomBottle());
    BottleListTabView page(BottleListTabView::ListType::received, *bottles, *users);
    page.resize(600, 500);
    page.show();
    QApplication::setActiveWindow(&page);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    ASSERT_TRUE(waitUntil([&] { return page.content()->page() == Page::list; }));
    QList<QPointer<QWidget>> windows;
    QObject::connect(&page, &BottleListTabView::detailWindowOpened, [&](QWidget* w) { windows.append(w); });

    QListView* list = page.content()->listView();
    for (int i = 0; i < 6 && !list->hasFocus(); ++i)
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &page, Qt::Key_Tab);
    ASSERT_TRUE(list->hasFocus());
    EXPECT_EQ(list->currentIndex().row(), 0);
    QTest::keyClick(list, Qt::Key_Space);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_TRUE(windows.isEmpty());
    EXPECT_EQ(page.content()->model()->rowCount(), 1);
    QTest::keyClick(list, Qt::Key_Return);
    ASSERT_EQ(windows.size(), 1);
    EXPECT_EQ(qobject_cast<BottleDetailView*>(windows[0])->bottle().id, first.id);
    windows[0]->close();
}

TEST_F(ScreensRig, StandaloneListSwitchesSegmentsWithoutFetchingAndOpensASheet)
{
    await(bottles->throwBottle(u"我丢的"_s, {}, BottleType::normal, false));
    bobsBottle();
    await(bottles->pickRandomBottle());

    BottleListView screen(*bottles, *users);
    EXPECT_EQ(screen.size(), QSize(600, 600));
    EXPECT_EQ(screen.segments()->segmentText(0), u"我丢出的"_s);
    EXPECT_EQ(screen.segments()->segmentText(1), u"我收到的"_s);
    EXPECT_EQ(screen.segments()->segmentSymbol(0), Symbols::Symbol::paperplane);
    EXPECT_EQ(screen.segments()->segmentSymbol(1), Symbols::Symbol::trayAndArrowDown);
    screen.show();
    EXPECT_TRUE(screen.isLoading());
    ASSERT_TRUE(waitUntil([&] { return !screen.isLoading(); }));
    ASSERT_EQ(screen.bottleListContent()->model()->rowCount(), 1);
    EXPECT_EQ(screen.bottleListContent()->model()->bottleAt(0).content, u"我丢的"_s);

    const qsizetype before = requestCount();
    part(screen.segments(), "segment1")->click();
    EXPECT_EQ(screen.selectedTab(), BottleListView::BottleTab::received);
    EXPECT_EQ(requestCount(), before) << "a segment switch fetches nothing";
    EXPECT_EQ(screen.bottleListContent()->page(), Page::list);
    EXPECT_EQ(screen.bottleListContent()->model()->bottleAt(0).content, u"海上的第一封信"_s);

    clickRow(screen.bottleListContent()->listView(), 0);
    ASSERT_TRUE(screen.detailSheet());
    EXPECT_TRUE(screen.detailSheet()->isVisible());
    EXPECT_TRUE(screen.showBottleDetail());
    ASSERT_TRUE(screen.selectedBottle());
    EXPECT_EQ(screen.selectedBottle()->content, u"海上的第一封信"_s);
    EXPECT_EQ(screen.detailSheet()->windowModality(), Qt::WindowModal);
    screen.detailSheet()->findChild<BottleDetailView*>()->findChild<QAbstractButton*>(u"closeButton"_s)->click();
    EXPECT_TRUE(waitUntil([&] { return !screen.detailSheet(); }));
    EXPECT_FALSE(screen.showBottleDetail());
}
