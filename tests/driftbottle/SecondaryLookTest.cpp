// Captions, hints and quiet buttons of the drift-bottle screens as drawn: dimmed, yet at
// least 4.5:1 against what they stand on, whether their container paints the window or a
// list's base, in a light and a dark palette.
#include "BottleWindowRig.h"
#include "ScreensRig.h"

#include "driftbottle/unwired/BottleDetailView.h"
#include "driftbottle/unwired/BottleListContent.h"
#include "driftbottle/unwired/BottleListView.h"
#include "driftbottle/unwired/DriftBottleMainView.h"
#include "driftbottle/unwired/ReplySheetView.h"
#include "driftbottle/unwired/SegmentedSwitch.h"
#include "driftbottle/unwired/ThrowBottleTabView.h"
#include "support/DrawnText.h"
#include "support/Screenshots.h"
#include "widgets/BannerRow.h"
#include "widgets/PlainTextEditor.h"

#include <QLabel>
#include <QListView>
#include <QPushButton>

using namespace Qt::StringLiterals;
using namespace std::string_literals;

namespace {

/// The label or button of `window` showing exactly `text`.
QWidget* showing(QWidget* window, const QString& text)
{
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (label->isVisible() && QString(label->text()).remove(QChar(0x200B)) == text)
            return label;
    }
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->isVisible() && button->text() == text)
            return button;
    }
    return nullptr;
}

/// Checks each of `texts` in `window` as drawn now, in its palette's light or dark form.
void expectSecondary(QWidget* window, const QStringList& texts, const QString& shot)
{
    for (const bool dark : { false, true }) {
        window->setPalette(dark ? darkFusionPalette() : lightPalette());
        QCoreApplication::processEvents();
        const QImage image = drawnImage(window);
        saveShot(image, shot + (dark ? u"-dark"_s : u"-light"_s));
        for (const QString& text : texts) {
            SCOPED_TRACE(text.toStdString() + (dark ? " (dark)" : " (light)"));
            QWidget* widget = showing(window, text);
            ASSERT_TRUE(widget);
            const QRect area = areaIn(widget, window);
            const QColor under = dominantColour(image, area);
            const QColor ink = strongestInk(image, area, area.topLeft());
            ASSERT_TRUE(ink.isValid());
            const double got = contrastRatio(ink, under);
            EXPECT_GE(got, 4.5) << ink.name().toStdString() << " on " << under.name().toStdString();
            // The primary text would stand out far more: black or white on these backgrounds.
            const double primary = contrastRatio(dark ? QColor(Qt::white) : QColor(Qt::black), under);
            EXPECT_LT(got, primary * 0.8) << ink.name().toStdString() << " is not dimmed";
        }
    }
}

} // namespace

TEST_F(ScreensRig, TabbedScreenCaptionsAreSecondaryOnItsBaseStage)
{
    DriftBottleMainView screen(*bottles, *users, [](PetBehavior) {});
    screen.show();
    screen.setSelectedTab(DriftBottleMainView::BottleTab::pick);
    expectSecondary(&screen, { u"海面上漂着许多瓶子"_s, u"点击下方按钮，捡一个试试吧！"_s }, u"tab-pick"_s);

    screen.setSelectedTab(DriftBottleMainView::BottleTab::throw_bottle);
    expectSecondary(&screen, { u"写下你的心情，让它漂向远方"_s, u"0/1000"_s }, u"tab-throw"_s);

    // Alice has thrown nothing: the empty sent list.
    screen.setSelectedTab(DriftBottleMainView::BottleTab::sent);
    ASSERT_TRUE(waitUntil([&] { return showing(&screen, u"还没有丢出瓶子"_s) != nullptr; }));
    expectSecondary(&screen, { u"还没有丢出瓶子"_s, u"去丢一个瓶子吧！"_s }, u"tab-sent"_s);

    // A failed pick: the notice banner's text on its orange tint.
    users->setUserMode(UserMode::offline);
    screen.setSelectedTab(DriftBottleMainView::BottleTab::pick);
    part(&screen, "pickButton")->click();
    auto* banner = screen.findChild<BannerRow*>(u"errorBanner"_s);
    ASSERT_TRUE(waitUntil([&] { return banner->isVisible(); }));
    expectSecondary(&screen, { banner->message() }, u"tab-pick-error"_s);
}

TEST_F(ScreensRig, DetailCloseSymbolAndTheSendingLineAreSecondary)
{
    BottleDetailView detail(bobsBottle(), *bottles, *users);
    detail.show();
    expectSecondary(&detail, { u"普通瓶子"_s, u"内容"_s }, u"detail"_s);
    // The close symbol's disc, against the window around it.
    QWidget* close = part<QWidget>(&detail, "closeIconButton");
    ASSERT_TRUE(close);
    for (const bool dark : { false, true }) {
        SCOPED_TRACE(dark ? "close symbol (dark)" : "close symbol (light)");
        detail.setPalette(dark ? darkFusionPalette() : lightPalette());
        QCoreApplication::processEvents();
        const QImage image = drawnImage(&detail);
        const QRect area = areaIn(close, &detail);
        const QColor under = image.pixelColor(area.topLeft());
        // Inside the button's focus line and the disc's smoothed edge.
        const QColor disc = image.pixelColor(area.left() + 3, area.center().y());
        EXPECT_GE(contrastRatio(disc, under), 4.5) << disc.name().toStdString() << " on " << under.name().toStdString();
        EXPECT_LT(contrastRatio(disc, under), contrastRatio(dark ? QColor(Qt::white) : QColor(Qt::black), under) * 0.8);
    }

    ReplySheetView sheet(
        u"b"_s, bob, [](const QString&) {}, nullptr);
    sheet.show();
    sheet.findChild<PlainTextEditor*>()->setPlainText(u"你好"_s);
    part(&sheet, "sendButton")->click();
    expectSecondary(&sheet, { u"发送中..."_s }, u"reply-sending"_s);
}

TEST_F(BottleWindowRig, ListPaneCaptionsAndItsNoticeAreSecondaryOnItsBase)
{
    BottleChatView* window = openWindow();
    ASSERT_TRUE(window);
    expectSecondary(
        window, { u"还没有对话"_s, u"点击上方按钮丢瓶子或捡瓶子"_s, u"或者丢一个新瓶子"_s }, u"chat-empty"_s);

    // Nobody has thrown a bottle: the pick fails and its reason shows above the list.
    window->findChild<QPushButton*>(u"pickButton"_s)->click();
    auto* banner = window->findChild<BannerRow*>(u"listError"_s);
    ASSERT_TRUE(waitUntil([&] { return banner->isVisible(); }));
    expectSecondary(window, { banner->message() }, u"chat-error"_s);
}

namespace {

/// Where `rect` of `list`'s viewport lies in `window`.
QRect inWindow(const QListView* list, const QRect& rect, const QWidget* window)
{
    return QRect(list->viewport()->mapTo(window, rect.topLeft()), rect.size());
}

} // namespace

// The painted cards and rows, and the reply's placeholder, as drawn after the desktop
// switches its palette: the quiet texts read at 4.5:1 on what they really stand on (a
// see-through list over the window or a base stage, a translucent box), yet fainter than
// the name beside them.
TEST_F(BottleWindowRig, PaintedRowsAndTheReplyPlaceholderAreSecondaryInBothPalettes)
{
    const QString bobs = server.state().addBottle(bob, u"海上的第一封信"_s);
    server.state().pickBottle(bobs, alice);
    server.state().addReply(bobs, bob, alice, u"谢谢你捡到它"_s);

    DriftBottleMainView tabbed(*bottles, *users, [](PetBehavior) {});
    tabbed.show();
    tabbed.setSelectedTab(DriftBottleMainView::BottleTab::received);
    BottleListView standalone(*bottles, *users);
    standalone.show();
    standalone.setSelectedTab(BottleListView::BottleTab::received);
    BottleChatView* chat = openWindow();
    ASSERT_TRUE(chat);
    ReplySheetView sheet(
        u"b"_s, bob, [](const QString&) {}, nullptr);
    sheet.show();
    for (QWidget* screen : { static_cast<QWidget*>(&tabbed), static_cast<QWidget*>(&standalone) }) {
        auto* content = screen->findChild<BottleListContent*>();
        ASSERT_TRUE(waitUntil([&] { return content->page() == BottleListContent::Page::list; }));
    }
    ASSERT_TRUE(waitUntil([&] { return chat->conversationList()->model()->rowCount() == 1; }));

    struct Painted
    {
        std::string what;
        QWidget* window;
        QRect area;
        QRect primary;
    };
    const auto cardTexts = [](const std::string& name, QWidget* screen) {
        const QListView* list = screen->findChild<BottleListContent*>()->listView();
        const QRect card
            = inWindow(list, list->visualRect(list->model()->index(0, 0)), screen).adjusted(16, 6, -16, -6);
        // The text column, right of the type mark and left of the chevron: sender, preview, date.
        const QRect column(card.left() + 80, card.top() + 4, card.width() - 124, card.height() - 8);
        const QImage image = drawnImage(screen);
        const QList<QRect> lines = inkLines(image, column);
        EXPECT_EQ(lines.size(), 3) << name;
        const QRect header = lines.value(0);
        return QList<Painted> {
            { name + " card preview"s, screen, lines.value(1), header },
            { name + " card date"s, screen, lines.value(2), header },
            { name + " card chevron"s, screen, QRect(card.right() - 34, card.top() + 8, 28, card.height() - 16),
                header },
        };
    };
    const auto rowTexts = [&] {
        const QListView* list = chat->conversationList();
        const QRect row = inWindow(list, list->visualRect(list->model()->index(0, 0)), chat);
        const QRect column(row.left() + 70, row.top() + 2, row.width() - 74, row.height() - 4);
        const QList<QRect> lines = inkLines(drawnImage(chat), column);
        EXPECT_EQ(lines.size(), 2);
        const QRect first = lines.value(0);
        return QList<Painted> {
            { "time", chat, QRect(row.right() - 70, first.top(), 60, first.height()), first.adjusted(0, 0, -140, 0) },
            { "last message", chat, lines.value(1), first.adjusted(0, 0, -140, 0) },
        };
    };

    for (const bool dark : { false, true }) {
        // Switched after the screens were made, as the desktop does.
        QApplication::setPalette(dark ? darkFusionPalette() : lightPalette());
        QCoreApplication::processEvents();
        for (const auto& [window, name] :
            { std::pair<QWidget*, QString>(&tabbed, u"tabbed-received"_s), { &standalone, u"bottle-list-received"_s },
                { chat, u"conversation-rows"_s }, { &sheet, u"reply-empty"_s } })
            saveShot(drawnImage(window), name + (dark ? u"-dark"_s : u"-light"_s));
        const QList<Painted> painted = cardTexts("tabbed", &tabbed) + cardTexts("standalone", &standalone) + rowTexts();
        for (const Painted& text : painted) {
            SCOPED_TRACE(text.what + (dark ? " (dark)" : " (light)"));
            expectSecondary(drawnImage(text.window), text.area, text.primary, text.what);
        }
        expectSecondaryPlaceholder(
            &sheet, sheet.findChild<PlainTextEditor*>(), dark ? "reply (dark)" : "reply (light)");
    }
    QApplication::setPalette(lightPalette());
}
