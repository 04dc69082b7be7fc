// What the drift-bottle screens draw, measured on their pixels. Text in a stated colour, or
// on one, after the desktop switches its palette while the windows are open: typed text
// follows the palette, and coloured text keeps its hue yet reads at 4.5:1 on what is really
// behind it (a tint, an accent face, a card's grey). And the stated gap between a button's
// symbol (or spinner) and its title.
#include "BottleWindowRig.h"

#include "driftbottle/ConversationListModel.h"
#include "driftbottle/ThrowNewBottleSheet.h"
#include "driftbottle/unwired/BottleDetailView.h"
#include "driftbottle/unwired/BottleListModel.h"
#include "driftbottle/unwired/BottleRowView.h"
#include "driftbottle/unwired/PickBottleTabView.h"
#include "driftbottle/unwired/ThrowBottleTabView.h"
#include "support/DrawnText.h"
#include "support/Screenshots.h"
#include "widgets/BusySpinner.h"
#include "widgets/PlainTextEditor.h"

#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

/// The box of the pixels inside `area` that `wanted` picks out (a face, a tint).
QRect boxOf(const QImage& image, const QRect& area, const std::function<bool(const QColor&)>& wanted)
{
    QRect box;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            if (wanted(image.pixelColor(x, y)))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

bool accentBlue(const QColor& c)
{
    return c.blue() > 150 && c.red() < 60 && c.green() < 140;
}

bool orangeTint(const QColor& c)
{
    return c.red() - c.blue() >= 30 && c.red() > c.green() && c.green() > c.blue();
}

/// Where `rect` of `list`'s viewport lies in `window`.
QRect inWindow(const QListView* list, const QRect& rect, const QWidget* window)
{
    return QRect(list->viewport()->mapTo(window, rect.topLeft()), rect.size());
}

/// The first column of `image` from `from` on, within `rows`, holding a pixel that stands out
/// from `face`; -1 when there is none.
int firstInkColumn(const QImage& image, int from, const QRect& rows, const QColor& face)
{
    for (int x = std::max(from, rows.left()); x <= rows.right(); ++x) {
        for (int y = rows.top(); y <= rows.bottom(); ++y) {
            if (contrastRatio(image.pixelColor(x, y), face) > 1.5)
                return x;
        }
    }
    return -1;
}

/// Pixels between where `text` starts in `font` and its first ink, drawn in `ink` on `face`.
int leftBearing(const QString& text, const QFont& font, const QColor& ink, const QColor& face)
{
    const QFontMetrics metrics(font);
    QImage image(metrics.horizontalAdvance(text) + 8, metrics.height() + 8, QImage::Format_ARGB32_Premultiplied);
    image.fill(face);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(ink);
    painter.drawText(QPoint(4, metrics.ascent() + 4), text);
    painter.end();
    return firstInkColumn(image, 0, image.rect(), face) - 4;
}

/// Pixels between the place of `button`'s symbol or spinner (`mark`, in the button) and the
/// start of its title: where the title's ink begins, less the ink's own offset in its words.
int gapToTitle(QPushButton* button, const QRect& mark)
{
    const QImage image = drawnImage(button);
    const QRect band(mark.right() + 1, mark.top(), button->width() - mark.right() - 12, mark.height());
    const QColor face = dominantColour(image, band);
    const int title = firstInkColumn(image, band.left(), band, face);
    const QColor ink = strongestInk(image, band, band.topLeft());
    return title < 0 ? -1 : title - band.left() - leftBearing(button->text(), button->font(), ink, face);
}

/// Where `button` draws its symbol: the square at the left of its icon, found from the
/// symbol's first ink column and where that column lies in the icon's own picture.
QRect symbolPlace(QPushButton* button)
{
    const QImage image = drawnImage(button);
    const int side = button->iconSize().height();
    const QRect band(12, (button->height() - side) / 2, button->width() - 24, side);
    const int drawn = firstInkColumn(image, band.left(), band, dominantColour(image, band));
    const QImage icon = button->icon().pixmap(button->iconSize(), 1.0).toImage();
    int inIcon = 0;
    while (inIcon < icon.width() && [&] {
        for (int y = 0; y < icon.height(); ++y) {
            if (icon.pixelColor(inIcon, y).alpha() > 128)
                return false;
        }
        return true;
    }())
        ++inIcon;
    return QRect(drawn - inIcon, band.top(), side, side);
}

} // namespace

TEST_F(BottleWindowRig, SymbolAndSpinnerStandTheStatedGapBeforeTheTitle)
{
    BottleChatView* window = openWindow();
    ASSERT_TRUE(window);
    PickBottleTabView pickTab(*bottles, *users, [](PetBehavior) {});
    pickTab.resize(700, 600);
    pickTab.show();
    ThrowBottleTabView throwTab(*bottles, *users);
    throwTab.resize(700, 600);
    throwTab.show();
    const QString id = server.state().addBottle(bob, u"瓶子"_s);
    DriftBottle bobs;
    bobs.id = id;
    bobs.senderId = bob;
    bobs.content = u"瓶子"_s;
    BottleDetailView detail(bobs, *bottles, *users);
    detail.show();
    QCoreApplication::processEvents();

    const auto button
        = [](QWidget* root, const char* name) { return root->findChild<QPushButton*>(QString::fromLatin1(name)); };
    const struct
    {
        std::string what;
        QPushButton* button;
        int spacing;
    } symbols[] = {
        { "chat window throw", button(window, "throwButton"), 6 },
        { "chat window pick", button(window, "pickButton"), 6 },
        { "pick tab", button(&pickTab, "pickButton"), PickBottleTabView::labelSpacing },
        { "detail reply", button(&detail, "replyButton"), BottleDetailView::labelSpacing },
    };
    for (const auto& row : symbols) {
        SCOPED_TRACE(row.what);
        ASSERT_TRUE(row.button);
        const int gap = gapToTitle(row.button, symbolPlace(row.button));
        EXPECT_GE(gap, row.spacing - 1);
        EXPECT_LE(gap, row.spacing + 1);
    }

    // While busy a spinner stands in the symbol's place (the answers are held back meanwhile).
    auto* throwButton = button(&throwTab, "throwButton");
    throwTab.findChild<PlainTextEditor*>()->setPlainText(u"一个瓶子"_s);
    server.scriptNext({ .status = std::nullopt, .body = {}, .delayMs = 1500 });
    throwButton->click();
    auto* pickButton = button(window, "pickButton");
    server.scriptNext({ .status = std::nullopt, .body = {}, .delayMs = 1500 });
    pickButton->click();
    QCoreApplication::processEvents();
    const struct
    {
        std::string what;
        QPushButton* button;
        int spacing;
    } spinners[] = {
        { "throw tab sending", throwButton, ThrowBottleTabView::labelSpacing },
        { "chat window picking", pickButton, 6 },
    };
    for (const auto& row : spinners) {
        SCOPED_TRACE(row.what);
        const auto* spinner = row.button->findChild<BusySpinner*>();
        ASSERT_TRUE(spinner && spinner->isVisible());
        // The spinner's place is as tall as the icon, and as wide: a square at the icon's left.
        const int side = row.button->iconSize().height();
        const QPoint centre = spinner->geometry().center();
        const QRect place(centre.x() - side / 2 + 1, centre.y() - side / 2 + 1, side, side);
        const int gap = gapToTitle(row.button, place);
        EXPECT_GE(gap, row.spacing - 1);
        EXPECT_LE(gap, row.spacing + 1);
    }
    ASSERT_TRUE(waitUntil([&] { return !window->isPicking(); }, 4000));
}

TEST_F(BottleWindowRig, TypedAndColouredTextReadsAfterALiveSwitchOfPalette)
{
    // A conversation with a reply of Alice's own, and a bottle of hers nobody picked up.
    const QString picked = server.state().addBottle(bob, u"海上的第一封信"_s);
    server.state().pickBottle(picked, alice);
    server.state().addReply(picked, alice, bob, u"我的回复"_s);
    const QString unpicked = server.state().addBottle(alice, u"没人捡的瓶子"_s);
    QApplication::setPalette(lightPalette());
    BottleChatView* window = openWindow();
    ASSERT_TRUE(window);
    auto* rows = static_cast<ConversationListModel*>(window->conversationList()->model());
    ASSERT_TRUE(waitUntil([&] { return rows->rowCount() == 2; }));
    conversations->selectConversation(rows->conversationAt(rows->rowOf(picked)));
    ASSERT_TRUE(waitUntil([&] { return window->chatView() && conversations->chatMessages().size() == 2; }));
    auto* reply = window->chatView()->findChild<PlainTextEditor*>(u"chatInput"_s);
    reply->setPlainText(u"正在写的回复 typed"_s);
    ThrowNewBottleSheet* sheet = ThrowNewBottleSheet::present(*conversations, window);
    auto* bottleText = sheet->findChild<PlainTextEditor*>(u"bottleText"_s);
    bottleText->setPlainText(u"正在写的瓶子 typed"_s);

    // A card of the bottle lists with three themes: two tags and "+1".
    QWidget cards;
    auto* cardList = new QListView(&cards);
    (new QVBoxLayout(&cards))->addWidget(cardList);
    BottleListModel model;
    DriftBottle themed;
    themed.id = u"t"_s;
    themed.content = u"有主题的瓶子"_s;
    themed.senderName = u"鲍勃"_s;
    themed.theme = { u"心情"_s, u"故事"_s, u"旅行"_s };
    model.setBottles({ themed });
    cardList->setItemDelegate(new BottleRowView(false, cardList));
    cardList->setModel(&model);
    cards.resize(500, 200);
    cards.show();

    // The throw tab's editor inverts the page: white text and placeholder on grey in light.
    ThrowBottleTabView typedTab(*bottles, *users);
    ThrowBottleTabView emptyTab(*bottles, *users);
    for (ThrowBottleTabView* tab : { &typedTab, &emptyTab }) {
        tab->resize(700, 600);
        tab->show();
    }
    auto* tabText = typedTab.findChild<PlainTextEditor*>();
    tabText->setPlainText(u"正在写的瓶子 typed"_s);
    auto* tabPlaceholder = emptyTab.findChild<PlainTextEditor*>();

    struct Text
    {
        std::string what;
        QWidget* window;
        std::function<QRect(const QImage&)> area; ///< in the window's picture
    };
    const QListView* chatList = window->chatView()->findChild<QListView*>(u"chatMessages"_s);
    const Text texts[] = {
        { "typed reply", window, [&](const QImage&) { return areaIn(reply->viewport(), window); } },
        { "typed bottle", sheet, [&](const QImage&) { return areaIn(bottleText->viewport(), sheet); } },
        { "own bubble", window,
            [&](const QImage& image) {
                // The accent face's box, less its rounded edge.
                return boxOf(image, areaIn(chatList->viewport(), window), accentBlue).adjusted(4, 4, -4, -4);
            } },
        { "unpicked tag", window,
            [&](const QImage& image) {
                const QListView* list = window->conversationList();
                const QRect row = inWindow(list, list->visualRect(rows->index(rows->rowOf(unpicked))), window);
                // The tag stands at the right of the second line, clear of the avatar's emoji.
                const QRect right(row.right() - 100, row.center().y(), 100, row.height() / 2);
                return boxOf(image, right, orangeTint).adjusted(1, 1, -1, -1);
            } },
        { "throw tab typed", &typedTab, [&](const QImage&) { return areaIn(tabText->viewport(), &typedTab); } },
        { "throw tab placeholder", &emptyTab,
            [&](const QImage&) { return areaIn(tabPlaceholder->viewport(), &emptyTab); } },
        { "card tags", &cards,
            [&](const QImage& image) {
                const QRect card = inWindow(cardList, cardList->visualRect(model.index(0)), &cards);
                const QRect column(card.left() + 80, card.top() + 8, card.width() / 3, card.height() - 16);
                const QList<QRect> lines = inkLines(image, column);
                return lines.isEmpty() ? QRect() : lines.last().adjusted(0, -2, 0, 2);
            } },
    };

    for (const bool dark : { true, false }) {
        // Switched while everything is open, as the desktop does.
        QApplication::setPalette(dark ? darkFusionPalette() : lightPalette());
        QCoreApplication::processEvents();
        for (const Text& text : texts) {
            SCOPED_TRACE(text.what + (dark ? " (switched to dark)" : " (switched back to light)"));
            const QImage image = drawnImage(text.window);
            saveShot(image, QString::fromStdString(text.what).replace(u' ', u'-') + (dark ? u"-dark"_s : u"-light"_s));
            const QRect area = text.area(image);
            ASSERT_FALSE(area.isEmpty());
            EXPECT_GE(drawnContrast(image, area), 4.5);
        }
    }
    sheet->close();
}
