// The friends' screens as drawn, in the widget kit's vocabulary: every text in its place on
// the type scale, every symbol the kit's glyph in its tint, every button in its style, and
// the paddings of the list and the message editor; at the default font and a larger one, in
// a light and a dark palette.
#include "FriendsUiFixture.h"

#include "friends/FriendListView.h"
#include "friends/FriendRowView.h"
#include "friends/FriendVerificationView.h"
#include "friends/MenuBarFriendActions.h"
#include "friends/MessageBubbleWindow.h"
#include "friends/RefreshButton.h"
#include "friends/SendMessageSheet.h"
#include "platform/EmojiStyle.h"
#include "platform/SystemColours.h"
#include "support/DrawnText.h"
#include "support/Screenshots.h"
#include "widgets/ButtonStyle.h"
#include "widgets/PlainLabel.h"
#include "widgets/PlainLineEdit.h"
#include "widgets/PlainTextEditor.h"
#include "widgets/Symbols.h"
#include "widgets/TextStyle.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QtMath>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <tuple>

using namespace Qt::StringLiterals;
using Symbols::Symbol;
using Symbols::Tint;
using TextStyle::Style;

namespace {

/// The height of the ink of `text` drawn by a plain label in `font`.
int referenceInkHeight(const QString& text, const QFont& font)
{
    PlainLabel label(text);
    label.setFont(font);
    label.setPalette(lightPalette());
    label.setAutoFillBackground(true);
    label.adjustSize();
    const QImage image = drawnImage(&label);
    return inkIn(image, image.rect(), 2.0).box.height();
}

/// Restores the application font and palette when a test has changed them.
struct LookScope
{
    QFont font = QApplication::font();
    ~LookScope()
    {
        QApplication::setFont(font);
        QApplication::setPalette(lightPalette());
    }
};

/// The friends' four screens, built at the current application font and palette, showing
/// every line whose look is checked: a received bubble, the code page with a code copied and
/// an error, the list page with its connection block and one friend, and the message sheet.
class FriendLooks : public FriendsUiFixture
{
protected:
    void build()
    {
        bubble = std::make_unique<MessageBubbleWindow>(
            MessageBubbleWindow::Kind::Received, 1, u"1"_s, 2, u"🐶"_s, u"阿花"_s, u"今天一起玩吗？"_s, screens);
        bubble->show();

        // The code page in its window, which grows with it.
        actions = std::make_unique<MenuBarFriendActions>(*friends, timers, *bubbles);
        actions->showVerificationWindow();
        codePage = actions->verificationWindow()->findChild<FriendVerificationView*>();
        ASSERT_TRUE(codePage);
        codePage->findChild<QPushButton*>(u"generate"_s)->click();
        ASSERT_TRUE(waitUntil([&] { return !codePage->isLoading() && friends->currentVerificationCode(); }));
        codePage->findChild<QPushButton*>(u"copy"_s)->click();
        server.scriptNext(ScriptedReply { 500, R"({"success":false,"message":"忙"})" });
        codePage->findChild<QPushButton*>(u"generate"_s)->click();
        ASSERT_TRUE(waitUntil([&] { return !codePage->isLoading(); }));

        listPage = std::make_unique<FriendListView>(*friends, *messages, timers);
        listPage->resize(560, 480);
        listPage->show();
        ASSERT_TRUE(waitUntil([&] { return !friends->isLoading(); }));

        Friend bob;
        bob.nickname = u"鲍勃"_s;
        bob.avatarEmoji = u"🐶"_s;
        sheet = std::make_unique<SendMessageSheet>(
            bob, [](QString) -> QCoro::Task<> { co_return; }, nullptr);
        sheet->show();
        QCoreApplication::processEvents();
    }

    void TearDown() override
    {
        tearDownScreens();
        FriendsUiFixture::TearDown();
    }

    void tearDownScreens()
    {
        bubble.reset();
        if (actions && actions->verificationWindow())
            delete actions->verificationWindow();
        codePage = nullptr;
        actions.reset();
        listPage.reset();
        sheet.reset();
    }

    /// The top-level screen `widget` belongs to.
    QWidget* screenOf(QWidget* widget) const { return widget->window(); }

    template<typename T = QWidget>
    T* named(QWidget* screen, const QString& name) const
    {
        T* found = screen->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }

    std::unique_ptr<MessageBubbleWindow> bubble;
    std::unique_ptr<MenuBarFriendActions> actions;
    FriendVerificationView* codePage = nullptr;
    std::unique_ptr<FriendListView> listPage;
    std::unique_ptr<SendMessageSheet> sheet;
};

const char* shade(bool dark)
{
    return dark ? "dark" : "light";
}

} // namespace

// Each text is set in its style: the font's pixel size and weight are the style's, and the
// label draws ink as tall as the same text drawn in that font.
TEST_F(FriendLooks, EveryTextIsSetInItsStyle)
{
    LookScope scope;
    aliceWithFriendBob();
    const QFont platform = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    QFont larger = platform;
    larger.setPointSizeF(12);
    for (const bool large : { false, true }) {
        const QFont& application = large ? larger : platform;
        SCOPED_TRACE(large ? "12 pt" : "default font");
        QApplication::setFont(application);
        build();
        struct Row
        {
            QWidget* screen;
            const char* name;
            QFont font;
        };
        const QList<Row> rows {
            { bubble.get(), "title", TextStyle::systemFont(14, QFont::Medium) },
            { bubble.get(), "content", TextStyle::systemFont(13) },
            { bubble.get(), "input", TextStyle::systemFont(13) },
            { bubble.get(), "avatar", TextStyle::systemFont(24) },
            { codePage, "title", TextStyle::font(Style::title2, QFont::Bold) },
            { codePage, "tipTitle", TextStyle::font(Style::caption, QFont::DemiBold) },
            { codePage, "tip", TextStyle::font(TextStyle::Style::caption2) },
            { codePage, "generateIntro", TextStyle::font(Style::body) },
            { codePage, "code", TextStyle::monospacedFont(32, QFont::Bold) },
            { codePage, "copiedHint", TextStyle::font(Style::caption) },
            { codePage, "generateError", TextStyle::font(Style::caption) },
            { codePage, "addIntro", TextStyle::font(Style::body) },
            { codePage, "codeFieldCaption", TextStyle::font(Style::caption) },
            { codePage, "codeField", TextStyle::monospacedFont(18) },
            { codePage, "success", TextStyle::font(Style::caption) },
            { listPage.get(), "title", TextStyle::font(Style::title2, QFont::Bold) },
            { listPage.get(), "connectionStatus", TextStyle::font(Style::caption) },
            { listPage.get(), "reconnect", TextStyle::font(Style::caption) },
            { listPage.get(), "unread", TextStyle::font(TextStyle::Style::caption2) },
            { listPage.get(), "emptyTitle", TextStyle::font(Style::title3, QFont::DemiBold) },
            { listPage.get(), "emptyHint", TextStyle::font(Style::body) },
            { sheet.get(), "avatar", TextStyle::font(Style::title) },
            { sheet.get(), "sheetTitle", TextStyle::font(Style::title3, QFont::Bold) },
            { sheet.get(), "caption", TextStyle::font(Style::caption) },
            { sheet.get(), "messageEditor", TextStyle::font(Style::body) },
        };
        QMap<QWidget*, QImage> shots;
        for (QWidget* screen : { static_cast<QWidget*>(bubble.get()), static_cast<QWidget*>(codePage),
                 static_cast<QWidget*>(listPage.get()), static_cast<QWidget*>(sheet.get()) }) {
            shots[screen] = drawnImage(screen);
            saveShot(
                shots[screen], u"friend-looks-%1-%2"_s.arg(screen->objectName(), large ? u"12pt"_s : u"default"_s));
        }
        for (const Row& row : rows) {
            SCOPED_TRACE(screenOf(row.screen)->objectName().toStdString() + " " + row.name);
            QWidget* widget = named(row.screen, QString::fromLatin1(row.name));
            if (!widget)
                continue;
            const QFont font = widget->font();
            EXPECT_NEAR(TextStyle::pixelSizeOf(font), TextStyle::pixelSizeOf(row.font), 0.01);
            EXPECT_EQ(font.weight(), row.font.weight());
            // The family is the style's (an emoji label puts the emoji font before it).
            EXPECT_TRUE(font.family() == row.font.family() || font.families().contains(row.font.family()))
                << font.family().toStdString() << " for " << row.font.family().toStdString();
            // A label draws its text in that font, uncut.
            auto* label = qobject_cast<PlainLabel*>(widget);
            if (!label || !label->isVisible())
                continue;
            const QRect ink = inkIn(shots[row.screen], areaIn(label, row.screen), 2.0).box;
            // Coloured text on a tint loses a little of its smoothed edge to the threshold.
            EXPECT_NEAR(ink.height(), referenceInkHeight(label->fullText(), row.font), 2);
        }
        tearDownScreens();
    }
}

// Each symbol is the kit's glyph, as large as its font and in its tint, readable on its
// surface in a light and a dark palette.
TEST_F(FriendLooks, EverySymbolIsTheKitsGlyphInItsTint)
{
    LookScope scope;
    aliceWithFriendBob();
    for (const bool dark : { false, true }) {
        SCOPED_TRACE(shade(dark));
        QApplication::setPalette(dark ? darkFusionPalette() : lightPalette());
        build();
        QListView* list = listPage->listView();
        const QRect row = list->visualRect(list->model()->index(0, 0));
        const QRect trash(list->viewport()->mapTo(listPage.get(), FriendRowView::deleteRect(row).topLeft()),
            FriendRowView::deleteRect(row).size());
        const QColor card = listPage->palette().color(QPalette::Base);
        const QColor page = listPage->palette().color(QPalette::Window);
        const QColor windowText = listPage->palette().color(QPalette::WindowText);
        const QColor accent = listPage->palette().color(QPalette::Highlight);

        struct Item
        {
            QWidget* screen;
            QString what;
            QRect area; // in the screen
            Symbol symbol;
            int side;
            QColor colour; // as the tint comes out on the surface
        };
        const int body = QFontInfo(TextStyle::font(Style::body)).pixelSize();
        const auto area = [&](QWidget* screen, const char* name) {
            QWidget* widget = named(screen, QString::fromLatin1(name));
            return widget ? areaIn(widget, screen) : QRect();
        };
        const QList<Item> items {
            { codePage, u"close"_s, area(codePage, "close"), Symbol::xmarkCircleFill, body,
                Symbols::colourOn(Tint::secondary, page, windowText, accent) },
            { codePage, u"copy"_s, area(codePage, "copy"), Symbol::docOnDocFill,
                QFontInfo(TextStyle::font(Style::title3)).pixelSize(),
                Symbols::colourOn(Tint::primary, page, windowText, accent) },
            { listPage.get(), u"refresh"_s, area(listPage.get(), "refresh"), Symbol::arrowClockwise, body,
                Symbols::colourOn(Tint::primary, page, windowText, accent) },
            { listPage.get(), u"trash"_s, trash, Symbol::trashFill, body,
                Symbols::colourOn(Tint::red, card, listPage->palette().color(QPalette::Text), accent) },
            { sheet.get(), u"close"_s, area(sheet.get(), "closeButton"), Symbol::xmarkCircleFill, body,
                Symbols::colourOn(Tint::secondary, page, windowText, accent) },
        };
        QMap<QWidget*, QImage> shots;
        for (QWidget* screen : { static_cast<QWidget*>(codePage), static_cast<QWidget*>(listPage.get()),
                 static_cast<QWidget*>(sheet.get()) })
            shots[screen] = drawnImage(screen);
        saveShot(shots[listPage.get()], u"friend-looks-list-%1"_s.arg(QString::fromLatin1(shade(dark))));
        for (const Item& item : items) {
            SCOPED_TRACE(item.what.toStdString());
            if (item.area.isEmpty())
                continue;
            const QImage& shot = shots[item.screen];
            // The glyph alone, drawn by the kit at the side and in the colour the item asks for.
            QImage alone(item.side + 8, item.side + 8, QImage::Format_RGB32);
            alone.fill(dominantColour(shot, item.area));
            {
                QPainter painter(&alone);
                Symbols::paint(painter, QRectF(4, 4, item.side, item.side), item.symbol, item.colour);
            }
            const QRect drawn = inkIn(shot, item.area, 1.5).box;
            const QRect expected = inkIn(alone, alone.rect(), 1.5).box;
            EXPECT_NEAR(drawn.width(), expected.width(), 1);
            EXPECT_NEAR(drawn.height(), expected.height(), 1);
            const QColor ink = strongestInk(shot, item.area, item.area.topLeft());
            ASSERT_TRUE(ink.isValid()) << "nothing drawn";
            EXPECT_LT(contrastRatio(ink, item.colour), 1.15) << ink.name().toStdString();
            EXPECT_GE(contrastRatio(item.colour, dominantColour(shot, item.area)), Symbols::minimumContrast);
        }
        // The symbols that stand alone (the empty list's is drawn in the list page's test)
        // say what they are.
        const struct
        {
            SymbolView* view;
            Symbol symbol;
            Tint tint;
            int side;
        } views[] = {
            { codePage->findChild<SymbolView*>(u"successSymbol"_s), Symbol::checkmarkCircleFill, Tint::green,
                QFontInfo(TextStyle::font(Style::caption)).pixelSize() },
            { listPage->findChild<SymbolView*>(u"emptySymbol"_s), Symbol::person2Slash, Tint::gray,
                TextStyle::scaled(60) },
        };
        for (const auto& view : views) {
            ASSERT_TRUE(view.view);
            EXPECT_EQ(view.view->symbol(), view.symbol);
            EXPECT_EQ(view.view->tint(), view.tint);
            EXPECT_EQ(view.view->width(), view.side);
        }
        tearDownScreens();
    }
}

// Each button is in the style its screen gives it: the kit's style sheet for it, and a
// face only where the style has one.
TEST_F(FriendLooks, EveryButtonHasItsStyle)
{
    LookScope scope;
    aliceWithFriendBob();
    for (const bool dark : { false, true }) {
        SCOPED_TRACE(shade(dark));
        QApplication::setPalette(dark ? darkFusionPalette() : lightPalette());
        build();
        using ButtonStyle::Style;
        struct Row
        {
            QWidget* screen;
            const char* name;
            Style style;
        };
        const QList<Row> rows {
            { codePage, "close", Style::plain },
            { codePage, "copy", Style::plain },
            { codePage, "generate", Style::borderedProminent },
            { codePage, "add", Style::borderedProminent },
            { listPage.get(), "refresh", Style::plain },
            { listPage.get(), "reconnect", Style::borderless },
            { sheet.get(), "closeButton", Style::plain },
            { sheet.get(), "cancelButton", Style::bordered },
            { sheet.get(), "sendButton", Style::borderedProminent },
        };
        for (const Row& row : rows) {
            SCOPED_TRACE(row.name);
            auto* button = named<QPushButton>(row.screen, QString::fromLatin1(row.name));
            if (!button)
                continue;
            EXPECT_EQ(
                button->styleSheet(), ButtonStyle::sheetFor(button, row.style, ButtonStyle::ControlSize::regular));
            if (!button->isVisible())
                continue;
            const QImage shot = drawnImage(row.screen);
            const QRect area = areaIn(button, row.screen);
            const bool face = row.style == Style::bordered || row.style == Style::borderedProminent;
            const QColor under = shot.pixelColor(area.left() - 3, area.center().y());
            EXPECT_EQ(contrastRatio(dominantColour(shot, area), under) > 1.05, face);
        }
        tearDownScreens();
    }
}

// The list keeps the standard padding around its cards, the scroll bar's side included; the
// message editor's padding lies on its text background, inside rounded corners.
TEST_F(FriendLooks, TheListAndTheEditorKeepTheirPadding)
{
    LookScope scope;
    aliceWithFriendBob();
    for (const bool dark : { false, true }) {
        SCOPED_TRACE(shade(dark));
        QApplication::setPalette(dark ? darkFusionPalette() : lightPalette());
        build();
        QListView* list = listPage->listView();
        const QRect row = list->visualRect(list->model()->index(0, 0));
        const QRect card(list->viewport()->mapTo(list, row.topLeft()), QSize(row.width(), FriendRowView::cardHeight));
        EXPECT_EQ(card.left(), 16);
        EXPECT_EQ(card.top(), 16);
        const QScrollBar* bar = list->verticalScrollBar();
        ASSERT_TRUE(bar->isVisible());
        EXPECT_EQ(bar->mapTo(list, QPoint(0, 0)).x() - (card.right() + 1), 16)
            << "the cards keep clear of the scroll bar";

        auto* editor = sheet->findChild<PlainTextEditor*>(u"messageEditor"_s);
        ASSERT_TRUE(editor);
        const QImage shot = drawnImage(sheet.get());
        saveShot(shot, u"friend-looks-sheet-%1"_s.arg(QString::fromLatin1(shade(dark))));
        const QRect box = areaIn(editor, sheet.get());
        const QColor base = sheet->palette().color(QPalette::Base);
        const QColor window = sheet->palette().color(QPalette::Window);
        // Inside the outline, within the 8 px padding, on either side of the text: the text
        // background. Outside the rounded corner: the sheet.
        for (const QPoint inPadding :
            { QPoint(box.left() + 4, box.center().y()), QPoint(box.right() - 4, box.center().y()),
                QPoint(box.center().x(), box.top() + 4), QPoint(box.center().x(), box.bottom() - 4) })
            EXPECT_LT(contrastRatio(shot.pixelColor(inPadding), base), 1.05) << inPadding.x() << "," << inPadding.y();
        EXPECT_LT(contrastRatio(shot.pixelColor(box.topLeft()), window), 1.05);
        EXPECT_LT(contrastRatio(shot.pixelColor(box.bottomRight()), window), 1.05);
        tearDownScreens();
    }
}

// A palette switched while the screens are open leaves none of them in the old colours:
// each draws as one built in the new palette, the list's scroll bar included.
TEST_F(FriendLooks, AfterALiveSwitchEachScreenDrawsAsOneBuiltInThatPalette)
{
    LookScope scope;
    aliceWithFriendBob();
    const auto screens = [&] {
        return QList<std::pair<QString, QWidget*>> { { u"bubble"_s, bubble.get() }, { u"code"_s, codePage },
            { u"list"_s, listPage.get() }, { u"sheet"_s, sheet.get() } };
    };
    const auto settle = [] {
        // The kit's followers read their containers' colours on the next turn.
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    };
    for (const bool toDark : { true, false }) {
        SCOPED_TRACE(toDark ? "light to dark" : "dark to light");
        const QPalette from = toDark ? lightPalette() : darkFusionPalette();
        const QPalette to = toDark ? darkFusionPalette() : lightPalette();
        QApplication::setPalette(from);
        build();
        QApplication::setPalette(to);
        settle();
        QMap<QString, QImage> switched;
        for (const auto& [name, screen] : screens())
            switched[name] = drawnImage(screen);
        tearDownScreens();
        build();
        settle();
        for (const auto& [name, screen] : screens()) {
            SCOPED_TRACE(name.toStdString());
            const QImage built = drawnImage(screen);
            const QImage& after = switched[name];
            ASSERT_EQ(built.size(), after.size());
            int differing = 0;
            QRect where;
            for (int y = 0; y < built.height(); ++y) {
                for (int x = 0; x < built.width(); ++x) {
                    if (contrastRatio(built.pixelColor(x, y), after.pixelColor(x, y)) > 1.15) {
                        ++differing;
                        where |= QRect(x, y, 1, 1);
                    }
                }
            }
            // A caret or a focus ring may blink differently; a whole part in old colours won't hide.
            EXPECT_LE(differing, built.width() * built.height() / 400)
                << differing << " pixels in " << where.x() << "," << where.y() << " " << where.width() << "x"
                << where.height();
            if (differing > built.width() * built.height() / 400) {
                saveShot(after, u"friend-switched-"_s + name);
                saveShot(built, u"friend-built-"_s + name);
            }
        }
        tearDownScreens();
    }
}

// Small and coloured texts read where they are drawn: the bubble's card, its fields and its
// texts share one palette, "还有 N 条消息" keeps its orange at 4.5:1 on the card, and the pin
// switch's caption is no smaller than the 9 px of the hints under it, the three lines apart
// at a larger font too.
TEST_F(FriendLooks, SmallAndColouredTextsReadOnTheirCard)
{
    LookScope scope;
    aliceWithFriendBob();
    const QFont platform = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    QFont larger = platform;
    larger.setPointSizeF(12);
    for (const bool large : { false, true }) {
        QApplication::setFont(large ? larger : platform);
        for (const bool dark : { false, true }) {
            SCOPED_TRACE(std::string(shade(dark)) + (large ? " 12 pt" : " default font"));
            QApplication::setPalette(dark ? darkFusionPalette() : lightPalette());
            build();
            bubble->setWaitingCount(3);
            QCoreApplication::processEvents();
            const QImage shot = drawnImage(bubble.get());
            saveShot(shot, u"friend-bubble-%1%2"_s.arg(QString::fromLatin1(shade(dark)), large ? u"-12pt"_s : u""_s));
            auto* waiting = named(bubble.get(), u"waiting"_s);
            auto* title = named(bubble.get(), u"title"_s);
            ASSERT_TRUE(waiting && title);
            expectReadable(shot, areaIn(waiting, bubble.get()), "waiting", { "orange" });
            expectReadable(shot, areaIn(title, bubble.get()), "title", { "grey" });
            // The card behind the title and the inside of the reply field are one colour.
            const QColor card = dominantColour(shot, areaIn(title, bubble.get()));
            const QRect field = areaIn(bubble->textField(), bubble.get()).adjusted(4, 4, -4, -4);
            EXPECT_LT(contrastRatio(card, dominantColour(shot, field)), 1.1)
                << card.name().toStdString() << " " << dominantColour(shot, field).name().toStdString();
            EXPECT_LT(contrastRatio(card, bubble->palette().color(QPalette::Base)), 1.05);

            // Under the pin switch: its caption and the two hints, three lines apart.
            QListView* list = listPage->listView();
            const QRect row = list->visualRect(list->model()->index(0, 0));
            const QRect track = FriendRowView::pinSwitchRect(row);
            const QImage page = drawnImage(list->viewport());
            saveShot(page, u"friend-card-%1%2"_s.arg(QString::fromLatin1(shade(dark)), large ? u"-12pt"_s : u""_s));
            const QRect column(track.center().x() - 60, track.bottom() + 1, 120,
                row.top() + FriendRowView::cardHeight - track.bottom() - 4);
            const QList<QRect> lines = inkLines(page, column);
            ASSERT_EQ(lines.size(), 3) << "the caption and two hints, each on a line of its own";
            // The column's 2 px spacing stays between the lines' ink, at a larger font too.
            for (qsizetype i = 1; i < lines.size(); ++i)
                EXPECT_GE(lines.at(i).top() - lines.at(i - 1).bottom() - 1, 2) << "above line " << i;
            if (!large) {
                QFont least = TextStyle::font(Style::caption2);
                least.setPixelSize(9);
                EXPECT_GE(lines.first().height(), referenceInkHeight(u"置顶好友"_s, least));
            }
            // The caption is never drawn smaller than the hints it heads.
            EXPECT_GE(lines.first().height(), lines.at(1).height());
            tearDownScreens();
        }
    }
}

// The code page's tip heading and the bubble's count of waiting messages are the one orange
// the reminder pages draw too: the desktop's, its hue kept, only made darker or lighter to
// read at 4.5:1 on the page or the card.
TEST_F(FriendLooks, EveryOrangeIsTheDesktopsOrangeMadeReadable)
{
    LookScope scope;
    aliceWithFriendBob();
    for (const bool dark : { false, true }) {
        SCOPED_TRACE(shade(dark));
        QApplication::setPalette(dark ? darkFusionPalette() : lightPalette());
        build();
        bubble->setWaitingCount(3);
        QCoreApplication::processEvents();
        auto* tip = named(codePage, u"tipTitle"_s);
        auto* waiting = named(bubble.get(), u"waiting"_s);
        ASSERT_TRUE(tip && waiting);
        // Past the tip's 💡, whose bulb is yellow.
        const int bulb = qCeil(EmojiStyle::horizontalAdvance(u"💡 "_s, tip->font())) + 1;
        const std::pair<QImage, QRect> drawn[] = {
            { drawnImage(screenOf(tip)), areaIn(tip, screenOf(tip)).adjusted(bulb, 0, 0, 0) },
            { drawnImage(bubble.get()), areaIn(waiting, bubble.get()) },
        };
        for (const auto& [image, area] : drawn) {
            expectReadable(image, area, "orange text", { "orange" });
            const QColor orange = strongestInkOfKind(image, area, "orange");
            EXPECT_NEAR(orange.hsvHue(), SystemColours::orange().hsvHue(), 5) << orange.name().toStdString();
        }
        tearDownScreens();
    }
}

// The code page's error line is the red, and its copy confirmation the green, that the
// message sheet's error and the success mark draw: the desktop's, its hue kept, only made
// darker or lighter to read on the page.
TEST_F(FriendLooks, TheCodePagesRedAndGreenAreTheDesktopsMadeReadable)
{
    LookScope scope;
    aliceWithFriendBob();
    // Hues are on a circle: 354° stands 9° from 3°.
    const auto hueApart = [](const QColor& a, const QColor& b) {
        const int apart = std::abs(a.hsvHue() - b.hsvHue()) % 360;
        return std::min(apart, 360 - apart);
    };
    for (const bool dark : { false, true }) {
        SCOPED_TRACE(shade(dark));
        QApplication::setPalette(dark ? darkFusionPalette() : lightPalette());
        build();
        auto* error = named(codePage, u"generateError"_s);
        auto* copied = named(codePage, u"copiedHint"_s);
        ASSERT_TRUE(error && copied);
        ASSERT_TRUE(error->isVisible() && copied->isVisible());
        const QImage shot = drawnImage(screenOf(codePage));
        const std::tuple<QWidget*, const char*, QColor> lines[] = {
            { error, "red", SystemColours::red() },
            { copied, "green", SystemColours::green() },
        };
        for (const auto& [line, kind, desktop] : lines) {
            const QRect area = areaIn(line, screenOf(codePage));
            expectReadable(shot, area, kind, { kind });
            const QColor drawn = strongestInkOfKind(shot, area, kind);
            ASSERT_TRUE(drawn.isValid()) << kind;
            EXPECT_LE(hueApart(drawn, desktop), 4) << kind << " " << drawn.name().toStdString();
        }
        tearDownScreens();
    }
}
