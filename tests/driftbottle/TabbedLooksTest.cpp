// The tabbed drift-bottle screens as drawn: each text in its step of the type scale, each
// symbol as the kit's glyph in its colour, each button in its style, and the pick page's and
// the scrolled pages' room.
#include "ScreensRig.h"

#include "driftbottle/unwired/BottleDetailView.h"
#include "driftbottle/unwired/BottleListContent.h"
#include "driftbottle/unwired/BottleListTabView.h"
#include "driftbottle/unwired/BottleListView.h"
#include "driftbottle/unwired/DriftBottleMainView.h"
#include "driftbottle/unwired/PickBottleTabView.h"
#include "driftbottle/unwired/ReplySheetView.h"
#include "driftbottle/unwired/SegmentedSwitch.h"
#include "driftbottle/unwired/ThrowBottleTabView.h"
#include "support/DrawnText.h"
#include "support/LayoutGaps.h"
#include "support/Screenshots.h"
#include "widgets/BannerRow.h"
#include "widgets/ButtonStyle.h"
#include "widgets/EmojiLabel.h"
#include "widgets/OverlayCard.h"
#include "widgets/PlainLabel.h"
#include "widgets/PlainTextEditor.h"
#include "widgets/Spacing.h"
#include "widgets/Symbols.h"
#include "widgets/TextStyle.h"

#include <QApplication>
#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>

using namespace Qt::StringLiterals;
using Symbols::Symbol;
using Symbols::Tint;
using TextStyle::Style;

namespace {

/// `label`'s text as drawn in `font`, in the label's own colours.
Ink referenceInk(const QLabel* label, const QFont& font)
{
    QLabel reference;
    reference.setTextFormat(Qt::PlainText);
    reference.setText(label->text());
    reference.setFont(font);
    reference.setPalette(label->palette());
    reference.setContentsMargins(4, 4, 4, 4);
    reference.adjustSize();
    const QImage image = drawnImage(&reference);
    return inkIn(image, image.rect());
}

/// Checks that `label`, drawn inside `root`, is drawn as its text is in `font`.
void expectDrawnIn(QWidget* root, QLabel* label, const QFont& font, const std::string& what)
{
    SCOPED_TRACE(what);
    ASSERT_TRUE(label);
    ASSERT_FALSE(label->isHidden());
    // Scrolled into sight first where the page scrolls.
    for (QWidget* up = label->parentWidget(); up && up != root; up = up->parentWidget()) {
        if (auto* scroll = qobject_cast<QScrollArea*>(up))
            scroll->ensureWidgetVisible(label);
    }
    const QImage image = drawnImage(root);
    const Ink drawn = inkIn(image, areaIn(label, root));
    const Ink wanted = referenceInk(label, font);
    ASSERT_GT(wanted.pixels, 0);
    EXPECT_NEAR(drawn.box.height(), wanted.box.height(), 1);
    EXPECT_NEAR(drawn.box.width(), wanted.box.width(), 2);
    // Bolder text covers more pixels of the same box.
    EXPECT_NEAR(double(drawn.pixels) / wanted.pixels, 1.0, 0.1);
}

QFont emoji(int pixels)
{
    return EmojiLabel::emojiFont(TextStyle::systemFont(pixels));
}

/// Saves `root` as drawn in the light and the dark palette, when shots are asked for; the
/// desktop's palette changes, as a switch of its theme does.
void saveLooks(QWidget* root, const QString& name)
{
    if (qEnvironmentVariableIsEmpty("TAMSEL_SHOT_DIR"))
        return;
    const QPalette saved = QApplication::palette();
    for (const bool dark : { false, true }) {
        QApplication::setPalette(dark ? darkFusionPalette() : lightPalette());
        QCoreApplication::processEvents();
        saveShot(drawnImage(root), name + (dark ? u"-dark"_s : u"-light"_s));
    }
    QApplication::setPalette(saved);
    QCoreApplication::processEvents();
}

/// Restores the application font when a test has changed it.
struct FontScope
{
    QFont saved = QApplication::font();
    ~FontScope() { QApplication::setFont(saved); }
};

} // namespace

class LooksRig : public ScreensRig
{
protected:
    /// A failed pick: nobody has thrown a bottle yet.
    std::unique_ptr<PickBottleTabView> pickPageWithBanner()
    {
        auto page = std::make_unique<PickBottleTabView>(*bottles, *users, [](PetBehavior) {});
        page->resize(700, 600);
        page->show();
        page->pickBottle();
        EXPECT_TRUE(waitUntil([&] { return !page->isPicking(); }));
        return page;
    }

    /// A failed throw; the success card laid out as it would show.
    std::unique_ptr<ThrowBottleTabView> throwPageWithErrorAndCard()
    {
        auto page = std::make_unique<ThrowBottleTabView>(*bottles, *users);
        page->resize(700, 600);
        page->show();
        server.scriptNext(ScriptedReply { 500, "维护中" });
        page->editor()->setPlainText(u"漂向远方"_s);
        part(page.get(), "throwButton")->click();
        EXPECT_TRUE(waitUntil([&] { return !page->errorMessage().isEmpty(); }));
        page->findChild<OverlayCard*>()->card()->adjustSize();
        return page;
    }

    /// Detail of bob's bottle with both banners up: one answer taken, one refused.
    std::unique_ptr<BottleDetailView> detailWithBanners()
    {
        auto view = std::make_unique<BottleDetailView>(bobsBottle(), *bottles, *users);
        view->show();
        for (const bool fails : { false, true }) {
            if (fails)
                server.scriptNext(ScriptedReply { 500, "内部错误" });
            view->openReplySheet();
            view->replySheet()->findChild<PlainTextEditor*>()->setPlainText(u"你好"_s);
            part(view->replySheet(), "sendButton")->click();
            const char* banner = fails ? "errorBanner" : "successBanner";
            EXPECT_TRUE(waitUntil([&] { return part<BannerRow>(view.get(), banner)->isVisible(); }));
            EXPECT_TRUE(waitUntil([&] { return !view->replySheet(); }));
        }
        return view;
    }

    void checkTypeScale(const QString& shotSuffix);
};

TEST_F(LooksRig, EveryTextIsDrawnInItsStepOfTheTypeScale)
{
    // At the platform's font and at a larger one of 12 points.
    FontScope scope;
    for (const qreal points : { 0.0, 12.0 }) {
        SCOPED_TRACE(points);
        if (points > 0) {
            QFont larger = scope.saved;
            larger.setPointSizeF(points);
            QApplication::setFont(larger);
        }
        checkTypeScale(points > 0 ? u"-12pt"_s : QString());
    }
}

void LooksRig::checkTypeScale(const QString& shotSuffix)
{
    const auto message = [](const QWidget* root, const char* banner) {
        return part<BannerRow>(root, banner)->findChild<PlainLabel*>();
    };

    auto pick = pickPageWithBanner();
    const QList<std::tuple<const char*, QFont>> pickRows { { "waveMark", emoji(80) },
        { "pickTitle", TextStyle::font(Style::headline) }, { "pickHint", TextStyle::font(Style::subheadline) } };
    for (const auto& [name, font] : pickRows)
        expectDrawnIn(pick.get(), part<QLabel>(pick.get(), name), font, name);
    expectDrawnIn(
        pick.get(), message(pick.get(), "errorBanner"), TextStyle::font(Style::subheadline), "pick error banner");
    saveLooks(pick.get(), u"looks-pick"_s + shotSuffix);

    auto throwPage = throwPageWithErrorAndCard();
    const QList<std::tuple<const char*, QFont>> throwRows { { "bottleMark", emoji(50) },
        { "throwHint", TextStyle::font(Style::subheadline) }, { "contentTitle", TextStyle::font(Style::headline) },
        { "characterCounter", TextStyle::font(Style::caption) } };
    for (const auto& [name, font] : throwRows)
        expectDrawnIn(throwPage.get(), part<QLabel>(throwPage.get(), name), font, name);
    expectDrawnIn(
        throwPage.get(), message(throwPage.get(), "errorRow"), TextStyle::font(Style::caption), "throw error row");
    auto* card = throwPage->findChild<OverlayCard*>();
    expectDrawnIn(
        card->card(), part<QLabel>(card, "successTitle"), TextStyle::font(Style::title, QFont::Bold), "success title");
    saveLooks(throwPage.get(), u"looks-throw"_s + shotSuffix);
    saveLooks(card->card(), u"looks-throw-card"_s + shotSuffix);

    BottleListTabView list(BottleListTabView::ListType::received, *bottles, *users);
    list.resize(600, 500);
    list.show();
    ASSERT_TRUE(waitUntil([&] { return list.content()->page() == BottleListContent::Page::empty; }));
    expectDrawnIn(&list, part<QLabel>(&list, "emptyTitle"), TextStyle::font(Style::headline), "empty title");
    expectDrawnIn(&list, part<QLabel>(&list, "emptyHint"), TextStyle::font(Style::caption), "empty hint");
    saveLooks(&list, u"looks-list-empty"_s + shotSuffix);

    auto detail = detailWithBanners();
    const QList<std::tuple<const char*, QFont>> detailRows { { "typeMark", emoji(50) },
        { "typeName", TextStyle::font(Style::headline) }, { "senderMark", emoji(50) },
        { "senderName", TextStyle::font(Style::title3, QFont::DemiBold) },
        { "thrownAt", TextStyle::font(Style::caption) }, { "contentTitle", TextStyle::font(Style::headline) } };
    for (const auto& [name, font] : detailRows)
        expectDrawnIn(detail.get(), part<QLabel>(detail.get(), name), font, name);
    expectDrawnIn(
        detail.get(), message(detail.get(), "successBanner"), TextStyle::font(Style::subheadline), "reply sent banner");
    expectDrawnIn(
        detail.get(), message(detail.get(), "errorBanner"), TextStyle::font(Style::caption), "reply error banner");
    saveLooks(detail.get(), u"looks-detail"_s + shotSuffix);

    // The sheet frees itself half a second after Send.
    QPointer<ReplySheetView> sheet = new ReplySheetView(
        u"b"_s, bob, [](const QString&) {}, nullptr);
    sheet->show();
    sheet->findChild<PlainTextEditor*>()->setPlainText(u"你好"_s);
    part(sheet, "sendButton")->click();
    expectDrawnIn(sheet, part<QLabel>(sheet, "sheetTitle"), TextStyle::font(Style::headline), "sheet title");
    expectDrawnIn(sheet, part<QLabel>(sheet, "sendingText"), TextStyle::font(Style::caption), "sending");
    saveLooks(sheet, u"looks-reply"_s + shotSuffix);
    ASSERT_TRUE(waitUntil([&] { return sheet.isNull(); }));

    // The whole tabbed screen, on each of its pages, and the list with a card.
    DriftBottleMainView screen(*bottles, *users, [](PetBehavior) {});
    screen.show();
    for (const auto tab : DriftBottleMainView::allTabs) {
        screen.setSelectedTab(tab);
        QTest::qWait(100);
        saveLooks(&screen, u"looks-tabs-%1"_s.arg(int(tab)) + shotSuffix);
    }
    await(bottles->throwBottle(u"我丢的第一个瓶子，写得长一些，看看两行以后是怎么截断的，后面还有更多更多的字。"_s,
        { u"海"_s, u"风"_s, u"云"_s }, BottleType::normal, false));
    BottleListView standalone(*bottles, *users);
    standalone.show();
    ASSERT_TRUE(waitUntil([&] { return standalone.bottleListContent()->page() == BottleListContent::Page::list; }));
    saveLooks(&standalone, u"looks-list"_s + shotSuffix);
}

TEST_F(LooksRig, EverySymbolIsTheKitsGlyphInItsColour)
{
    struct Row
    {
        std::string what;
        QWidget* root;
        SymbolView* view;
        Symbol symbol;
        int side; // 0: as tall as the text beside it
        std::string ink;
    };
    const auto sign = [](const QWidget* root, const char* banner) {
        return part<BannerRow>(root, banner)->findChild<SymbolView*>();
    };
    auto pick = pickPageWithBanner();
    auto throwPage = throwPageWithErrorAndCard();
    auto detail = detailWithBanners();
    std::vector<std::unique_ptr<BottleListTabView>> lists;
    for (const auto type : { BottleListTabView::ListType::sent, BottleListTabView::ListType::received }) {
        lists.push_back(std::make_unique<BottleListTabView>(type, *bottles, *users));
        lists.back()->resize(600, 500);
        lists.back()->show();
        ASSERT_TRUE(waitUntil([&] { return lists.back()->content()->page() == BottleListContent::Page::empty; }));
    }
    auto* card = throwPage->findChild<OverlayCard*>();
    const QList<Row> rows {
        { "pick banner", pick.get(), sign(pick.get(), "errorBanner"), Symbol::exclamationmarkTriangleFill, 0,
            "orange" },
        { "throw error row", throwPage.get(), sign(throwPage.get(), "errorRow"), Symbol::exclamationmarkTriangleFill, 0,
            "red" },
        { "throw success card", card->card(), part<SymbolView>(card, "successSymbol"), Symbol::checkmarkCircleFill, 80,
            "green" },
        { "empty sent list", lists[0].get(), part<SymbolView>(lists[0].get(), "emptySymbol"), Symbol::paperplaneFill,
            60, "grey" },
        { "empty received list", lists[1].get(), part<SymbolView>(lists[1].get(), "emptySymbol"), Symbol::tray, 60,
            "grey" },
        { "reply sent banner", detail.get(), sign(detail.get(), "successBanner"), Symbol::checkmarkCircleFill, 0,
            "green" },
        { "reply error banner", detail.get(), sign(detail.get(), "errorBanner"), Symbol::exclamationmarkTriangleFill, 0,
            "red" },
    };
    for (const bool dark : { false, true }) {
        for (const Row& row : rows) {
            SCOPED_TRACE(row.what + (dark ? " (dark)" : " (light)"));
            ASSERT_TRUE(row.view);
            row.root->setPalette(dark ? darkFusionPalette() : lightPalette());
            EXPECT_EQ(row.view->symbol(), row.symbol);
            if (row.side > 0) {
                EXPECT_EQ(row.view->height(), row.side);
            }
            const QImage image = drawnImage(row.root);
            // Room around the glyph, so what it stands on is the commonest colour there.
            const int room = row.view->height() / 2;
            const QRect area = areaIn(row.view, row.root).adjusted(-room, -room, room, room);
            const auto kinds = inkContrasts(image, area.intersected(image.rect()));
            ASSERT_TRUE(kinds.count(row.ink)) << row.ink << " not drawn";
            EXPECT_GE(kinds.at(row.ink), Symbols::minimumContrast);
        }
    }
    // A banner's sign stands as tall as its message's letters, beside the middle of its line.
    for (const auto& [root, banner] : { std::pair<QWidget*, const char*> { pick.get(), "errorBanner" },
             { throwPage.get(), "errorRow" }, { detail.get(), "successBanner" } }) {
        SCOPED_TRACE(banner);
        const auto* row = part<BannerRow>(root, banner);
        const QRect symbol = row->findChild<SymbolView*>()->geometry();
        const auto* text = row->findChild<PlainLabel*>();
        EXPECT_EQ(symbol.height(), qRound(TextStyle::pixelSizeOf(row->font())));
        EXPECT_LE(std::abs(symbol.center().y() - text->geometry().center().y()), 1) << "one line, centred";
    }

    // The card's chevron: the glyph, far taller than the "›" that stood in for it.
    await(bottles->throwBottle(u"我丢的"_s, {}, BottleType::normal, false));
    BottleListTabView list(BottleListTabView::ListType::sent, *bottles, *users);
    list.setPalette(lightPalette());
    list.resize(600, 400);
    list.show();
    ASSERT_TRUE(waitUntil([&] { return list.content()->page() == BottleListContent::Page::list; }));
    QListView* view = list.content()->listView();
    const QRect rowBox = view->visualRect(view->model()->index(0, 0));
    const QImage rowImage = drawnImage(view->viewport());
    saveShot(rowImage, u"looks-card-row"_s);
    // Inside the card's right padding: the card stands 16 in from the row, padded 16.
    const QRect chevron(rowBox.right() - 16 - 16 - 16, rowBox.top() + 10, 18, rowBox.height() - 20);
    const Ink ink = inkIn(rowImage, chevron);
    EXPECT_GE(ink.box.height(), 0.6 * TextStyle::pixelSizeOf(TextStyle::font(Style::body)));
}

TEST_F(LooksRig, EveryButtonHasItsStyleAndItsSymbol)
{
    struct Row
    {
        std::string what;
        QAbstractButton* button;
        ButtonStyle::Style style;
        ButtonStyle::ControlSize size;
        bool symbol;
    };
    using S = ButtonStyle::Style;
    using C = ButtonStyle::ControlSize;
    PickBottleTabView pick(*bottles, *users, [](PetBehavior) {});
    ThrowBottleTabView throwPage(*bottles, *users);
    BottleDetailView detail(bobsBottle(), *bottles, *users);
    ReplySheetView sheet(
        u"b"_s, bob, [](const QString&) {}, nullptr);
    const QList<Row> rows {
        { "pick", part(&pick, "pickButton"), S::borderedProminent, C::large, true },
        { "throw", part(&throwPage, "throwButton"), S::borderedProminent, C::large, false },
        { "detail close", part(&detail, "closeButton"), S::bordered, C::large, false },
        { "detail reply", part(&detail, "replyButton"), S::borderedProminent, C::large, true },
        { "sheet cancel", part(&sheet, "cancelButton"), S::bordered, C::regular, false },
        { "sheet send", part(&sheet, "sendButton"), S::borderedProminent, C::regular, false },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ASSERT_TRUE(row.button);
        EXPECT_EQ(row.button->styleSheet(), ButtonStyle::sheetFor(row.button, row.style, row.size));
        EXPECT_EQ(!row.button->icon().isNull(), row.symbol);
        EXPECT_FALSE(row.button->text().front().isSurrogate()) << "no emoji stands in for the symbol";
    }
    // The label of the pick button is 200 wide inside the large control's padding.
    EXPECT_GE(part(&pick, "pickButton")->width(), 200);
}

// Where the screens ask for the default padding, the one standard padding: around the pick
// page, inside a bottle card and around the list's segments.
TEST_F(LooksRig, ThePickPageTheCardsAndTheListsSegmentsHaveTheStandardPadding)
{
    // Squeezed to the least it takes, the pick page's parts reach its padding.
    PickBottleTabView pick(*bottles, *users, [](PetBehavior) {});
    pick.show();
    pick.resize(pick.minimumSizeHint());
    QCoreApplication::processEvents();
    QRect parts;
    for (QWidget* child : pick.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isVisibleTo(&pick) && !child->isWindow())
            parts |= boxIn(&pick, child);
    EXPECT_EQ(parts.left(), Spacing::standardPadding);
    EXPECT_EQ(pick.width() - 1 - parts.right(), Spacing::standardPadding);
    EXPECT_EQ(parts.top(), Spacing::standardPadding);
    EXPECT_EQ(pick.height() - 1 - parts.bottom(), PickBottleTabView::buttonBottomPadding + Spacing::standardPadding);

    // In a card, the text column stands the padding, the 50 px type column and the 12 px
    // spacing in from the card's outline.
    await(bottles->throwBottle(u"国国国"_s, {}, BottleType::normal, false));
    BottleListView view(*bottles, *users);
    view.setPalette(lightPalette());
    view.show();
    ASSERT_TRUE(waitUntil([&] { return view.bottleListContent()->page() == BottleListContent::Page::list; }));
    QListView* list = view.bottleListContent()->listView();
    const QRect rowBox = list->visualRect(list->model()->index(0, 0));
    const QImage rows = drawnImage(list->viewport());
    const int middle = rowBox.center().y();
    const QColor ground(rows.pixel(rowBox.left() + 2, middle));
    const auto differs = [&](int x, int y) { return contrastRatio(QColor(rows.pixel(x, y)), ground) > 1.15; };
    int outline = -1;
    for (int x = rowBox.left(); x <= rowBox.right() && outline < 0; ++x)
        if (differs(x, middle))
            outline = x;
    ASSERT_GE(outline, 0);
    const int column = outline + Spacing::standardPadding + 50 + 12;
    int text = -1;
    // From the type column's end, past the type mark, to the first ink of the texts.
    for (int x = column - 12; x <= rowBox.right() && text < 0; ++x)
        for (int y = rowBox.top() + Spacing::standardPadding; y < rowBox.bottom() - Spacing::standardPadding; ++y)
            if (differs(x, y))
                text = x;
    EXPECT_GE(text, column);
    EXPECT_LE(text, column + 1) << "a glyph's side bearing at most";

    // Around the cards, the padding too: the first card's outline stands it below the list's
    // top edge, as its sides stand it in from the list's.
    const QImage page = drawnImage(&view);
    const QRect listBox = boxIn(&view, list);
    const int across = listBox.left() + rowBox.center().x();
    const QColor behind(page.pixel(across, listBox.top()));
    int firstCard = -1;
    for (int y = listBox.top(); y <= listBox.bottom() && firstCard < 0; ++y)
        if (contrastRatio(QColor(page.pixel(across, y)), behind) > 1.15)
            firstCard = y;
    EXPECT_EQ(firstCard - listBox.top(), Spacing::standardPadding);
    EXPECT_EQ(outline - rowBox.left(), Spacing::standardPadding);

    // The list's segments: the padding above and below.
    const QRect segments = boxIn(&view, view.segments());
    EXPECT_EQ(segments.top(), Spacing::standardPadding);
    EXPECT_EQ(boxIn(&view, view.bottleListContent()).top() - segments.bottom() - 1, Spacing::standardPadding);
}

TEST_F(LooksRig, PickButtonHasFortyBelowItAndTheScrolledPagesShowNoBars)
{
    PickBottleTabView pick(*bottles, *users, [](PetBehavior) {});
    pick.resize(700, 600);
    pick.show();
    QCoreApplication::processEvents();
    // The two stretches share the spare room alike: what the bottom has over the top is the
    // padding below the button.
    const QRect wave = boxIn(&pick, part<QWidget>(&pick, "waveMark"));
    const QRect button = boxIn(&pick, part(&pick, "pickButton"));
    EXPECT_NEAR((pick.height() - 1 - button.bottom()) - wave.top(), PickBottleTabView::buttonBottomPadding, 1);
    EXPECT_EQ(PickBottleTabView::buttonBottomPadding, 40);

    ThrowBottleTabView throwPage(*bottles, *users);
    BottleDetailView detail(bobsBottle(), *bottles, *users);
    BottleListTabView list(BottleListTabView::ListType::sent, *bottles, *users);
    const QList<std::tuple<std::string, QAbstractScrollArea*, Qt::ScrollBarPolicy>> scrolls {
        { "throw page", throwPage.findChild<QScrollArea*>(), Qt::ScrollBarAlwaysOff },
        { "detail", detail.findChild<QScrollArea*>(), Qt::ScrollBarAlwaysOff },
        { "bottle list", list.content()->listView(), Qt::ScrollBarAsNeeded },
    };
    for (const auto& [what, area, policy] : scrolls) {
        SCOPED_TRACE(what);
        ASSERT_TRUE(area);
        EXPECT_EQ(area->verticalScrollBarPolicy(), policy);
    }
}
