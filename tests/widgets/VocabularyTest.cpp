// The widget kit's vocabulary as drawn: the type scale's sizes at the default font and a
// larger one, every symbol as a glyph in the colour it is given (readable, following the
// palette), and the button styles' faces and titles in a light and a dark palette.
#include "support/DrawnText.h"
#include "support/Screenshots.h"
#include "widgets/ButtonStyle.h"
#include "widgets/Symbols.h"
#include "widgets/TextStyle.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

using namespace Qt::StringLiterals;
using Symbols::Symbol;
using Symbols::Tint;
using TextStyle::Style;

namespace {

/// The height of the ink of "国H" drawn in `font`: what the eye takes as the text's size.
int inkHeight(const QFont& font)
{
    QLabel label(u"国H"_s);
    label.setFont(font);
    label.setPalette(lightPalette());
    label.adjustSize();
    const QImage image = drawnImage(&label);
    const QColor background = image.pixelColor(0, 0);
    int top = image.height();
    int bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (contrastRatio(image.pixelColor(x, y), background) > 2.0) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return bottom - top + 1;
}

/// Restores the application font when a test has changed it.
struct FontScope
{
    QFont saved = QApplication::font();
    ~FontScope() { QApplication::setFont(saved); }
};

} // namespace

TEST(TextStyle, StatedSizesArePixelsAtTheDefaultFontAndGrowWithALargerOne)
{
    FontScope scope;
    const QFont platform = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    QApplication::setFont(platform);
    for (const int stated : { 11, 14, 18, 30, 60 }) {
        SCOPED_TRACE(stated);
        EXPECT_EQ(TextStyle::systemFont(stated).pixelSize(), stated);
    }
    const int body = inkHeight(TextStyle::font(Style::body));
    // Each step of the scale draws larger than the one below it, headline as body but bolder.
    const QList<Style> ladder { Style::caption, Style::subheadline, Style::callout, Style::body, Style::title3,
        Style::title2, Style::title, Style::largeTitle };
    int previous = 0;
    for (const Style style : ladder) {
        const int drawn = inkHeight(TextStyle::font(style));
        EXPECT_GE(drawn, previous) << int(style);
        previous = drawn;
    }
    EXPECT_NEAR(inkHeight(TextStyle::font(Style::headline)), body, 1);
    EXPECT_LE(TextStyle::font(Style::caption2).pixelSize(), TextStyle::font(Style::caption).pixelSize());
    // Nothing is drawn below 9 pixels at the default font: Chinese is not legible there.
    for (const Style style : ladder + QList<Style> { Style::caption2, Style::footnote })
        EXPECT_GE(TextStyle::font(style).pixelSize(), 9) << int(style);
    EXPECT_EQ(TextStyle::systemFont(8).pixelSize(), 9);
    EXPECT_EQ(TextStyle::monospacedFont(7).pixelSize(), 9);
    EXPECT_GT(TextStyle::font(Style::headline).weight(), TextStyle::font(Style::body).weight());

    // At 12 points every size grows by the same share, never rounded to whole points.
    QFont larger = platform;
    larger.setPointSizeF(12);
    QApplication::setFont(larger);
    const qreal share = TextStyle::pixelSizeOf(larger) / TextStyle::pixelSizeOf(platform);
    EXPECT_EQ(TextStyle::systemFont(30).pixelSize(), qRound(30 * share));
    EXPECT_EQ(TextStyle::font(Style::body).pixelSize(), qRound(TextStyle::pixelSizeOf(larger)));
    EXPECT_EQ(TextStyle::font(Style::title2).pixelSize(), qRound(TextStyle::pixelSizeOf(larger) * 17 / 13));
}

TEST(Symbols, EveryGlyphIsDrawnInItsTintAndReadsOnLightAndDark)
{
    const QList<Symbol> all { Symbol::alarm, Symbol::alarmFill, Symbol::arrowClockwise,
        Symbol::arrowshapeTurnUpLeftFill, Symbol::arrowUpForwardSquare, Symbol::bubbleLeftAndBubbleRight,
        Symbol::checkmarkCircleFill, Symbol::chevronRight, Symbol::clock, Symbol::cpu, Symbol::desktopComputer,
        Symbol::docOnDoc, Symbol::docOnDocFill, Symbol::envelope, Symbol::envelopeCircleFill, Symbol::envelopeFill,
        Symbol::exclamationmarkTriangleFill, Symbol::gamecontrollerFill, Symbol::handPointUpBrailleFill,
        Symbol::houseFill, Symbol::infoCircle, Symbol::keyFill, Symbol::lock, Symbol::lockFill, Symbol::memoryChip,
        Symbol::paintbrushFill, Symbol::paperplane, Symbol::paperplaneFill, Symbol::pencilCircle, Symbol::person,
        Symbol::person2Fill, Symbol::person2Slash, Symbol::personBadgePlus, Symbol::personCircleFill,
        Symbol::personCropCircleBadgeQuestionmark, Symbol::plusCircleFill, Symbol::rectanglePortraitAndArrowRight,
        Symbol::trash, Symbol::trashCircle, Symbol::trashFill, Symbol::tray, Symbol::trayAndArrowDown,
        Symbol::wrenchAndScrewdriverFill, Symbol::xmarkCircleFill };
    const QList<std::pair<Tint, std::string>> tints { { Tint::blue, "blue" }, { Tint::green, "green" },
        { Tint::orange, "orange" }, { Tint::red, "red" }, { Tint::gray, "grey" }, { Tint::secondary, "grey" },
        { Tint::primary, "grey" } };
    QWidget page;
    page.setAutoFillBackground(true);
    auto* row = new QHBoxLayout(&page);
    QList<SymbolView*> views;
    for (const Symbol symbol : all) {
        views << new SymbolView(symbol, 30, Tint::primary, &page);
        row->addWidget(views.last());
    }
    page.show();
    for (const bool dark : { false, true }) {
        page.setPalette(dark ? darkFusionPalette() : lightPalette());
        for (const auto& [tint, ink] : tints) {
            for (SymbolView* view : views)
                view->setTint(tint);
            const QImage image = drawnImage(&page);
            saveShot(image, u"symbols-%1-%2"_s.arg(int(tint)).arg(dark ? u"dark"_s : u"light"_s));
            const QColor background = page.palette().color(QPalette::Window);
            for (SymbolView* view : views) {
                SCOPED_TRACE(std::to_string(int(view->symbol())) + " tint " + std::to_string(int(tint))
                    + (dark ? " dark" : " light"));
                const QRect area = areaIn(view, &page);
                const QColor drawn = strongestInk(image, area, area.topLeft() - QPoint(1, 0));
                ASSERT_TRUE(drawn.isValid()) << "nothing drawn";
                // The glyph's solid pixels are its tint, and the tint stands out.
                EXPECT_LE(std::abs(drawn.hue() - view->drawnColour().hue()) % 360, 6) << ink;
                EXPECT_GE(contrastRatio(view->drawnColour(), background), Symbols::minimumContrast);
                const auto kinds = inkContrasts(image, area);
                EXPECT_TRUE(kinds.count(ink)) << ink << " not drawn";
            }
        }
    }
}

// Thin strokes of a small glyph cover no pixel whole: the colour is chosen so that the glyph
// as drawn, not the colour it is drawn in, stands out. A glyph inside a button that draws no
// face is measured against what shows behind the button.
TEST(Symbols, SmallGlyphsStandOutAsDrawnAlsoInsideAButtonWithoutAFace)
{
    struct Case
    {
        Symbol symbol;
        int side;
        Tint tint;
        bool inButton;
    };
    const QList<Case> cases { { Symbol::arrowUpForwardSquare, 9, Tint::accent, true },
        { Symbol::arrowUpForwardSquare, 10, Tint::accent, false }, { Symbol::infoCircle, 12, Tint::blue, false },
        { Symbol::infoCircle, 13, Tint::blue, false }, { Symbol::pencilCircle, 15, Tint::primary, false },
        { Symbol::trashCircle, 15, Tint::red, false }, { Symbol::clock, 11, Tint::secondary, false },
        { Symbol::personCropCircleBadgeQuestionmark, 12, Tint::gray, false },
        { Symbol::chevronRight, 10, Tint::orange, true } };
    const QPalette saved = QApplication::palette();
    for (const bool dark : { false, true }) {
        // The desktop's palette: a button's style sheet hands its parts the application's.
        QApplication::setPalette(dark ? darkFusionPalette() : lightPalette());
        QWidget page;
        page.setAutoFillBackground(true);
        auto* row = new QHBoxLayout(&page);
        QList<SymbolView*> views;
        for (const Case& c : cases) {
            QWidget* holder = &page;
            if (c.inButton) {
                auto* button
                    = ButtonStyle::create({}, ButtonStyle::Style::plain, ButtonStyle::ControlSize::regular, &page);
                auto* inside = new QHBoxLayout(button);
                inside->setContentsMargins(4, 4, 4, 4);
                holder = button;
                row->addWidget(button);
            }
            views << new SymbolView(c.symbol, c.side, c.tint, holder);
            if (c.inButton)
                holder->layout()->addWidget(views.last());
            else
                row->addWidget(views.last());
        }
        page.show();
        QCoreApplication::processEvents();
        const QImage image = drawnImage(&page);
        saveShot(image, u"small-symbols-%1"_s.arg(dark ? u"dark"_s : u"light"_s));
        const QColor window = page.palette().color(QPalette::Window);
        for (SymbolView* view : views) {
            SCOPED_TRACE(std::to_string(int(view->symbol())) + " at " + std::to_string(view->width())
                + (dark ? " dark" : " light"));
            EXPECT_EQ(view->background(), window);
            // The area with a pixel of the page around it, so that the page is its commonest colour.
            EXPECT_GE(drawnContrast(image, areaIn(view, &page).adjusted(-3, -3, 3, 3)), Symbols::minimumContrast);
        }
    }
    QApplication::setPalette(saved);
}

namespace {

/// The shapes of `glyph` (ARGB, on nothing): groups of touching pixels (diagonal neighbours
/// too) whose alpha reaches `alpha`, each as its pixels.
QList<QList<QPoint>> shapes(const QImage& glyph, int alpha)
{
    QList<QList<QPoint>> found;
    QList<bool> seen(glyph.width() * glyph.height(), false);
    const auto inked = [&](QPoint p) { return glyph.rect().contains(p) && qAlpha(glyph.pixel(p)) >= alpha; };
    for (int y = 0; y < glyph.height(); ++y) {
        for (int x = 0; x < glyph.width(); ++x) {
            if (seen[y * glyph.width() + x] || !inked({ x, y }))
                continue;
            QList<QPoint> shape;
            QList<QPoint> open { { x, y } };
            seen[y * glyph.width() + x] = true;
            while (!open.isEmpty()) {
                const QPoint p = open.takeLast();
                shape << p;
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        const QPoint q = p + QPoint(dx, dy);
                        if (inked(q) && !seen[q.y() * glyph.width() + q.x()]) {
                            seen[q.y() * glyph.width() + q.x()] = true;
                            open << q;
                        }
                    }
                }
            }
            found << shape;
        }
    }
    return found;
}

} // namespace

// At caption size a square with an arrow in it reads as such only if the arrow stands apart
// from the square, with clear pixels between them, and is drawn as firmly as the square.
TEST(Symbols, TheArrowOutOfASquareKeepsItsArrowApartAtCaptionSize)
{
    for (const int side : { 9, 10, 11, 12, 13, 16 }) {
        SCOPED_TRACE(side);
        QImage glyph(side, side, QImage::Format_ARGB32);
        glyph.fill(Qt::transparent);
        QPainter painter(&glyph);
        Symbols::paint(painter, QRectF(0, 0, side, side), Symbol::arrowUpForwardSquare, Qt::black);
        painter.end();
        saveShot(glyph.scaled(side * 10, side * 10), u"arrow-square-%1"_s.arg(side));
        // Faint smoothing counts as ink here: nothing may join the two.
        const QList<QList<QPoint>> parts = shapes(glyph, 48);
        ASSERT_EQ(parts.size(), 2) << "the arrow runs into the square, or falls apart";
        const auto touchesEdge = [&](const QList<QPoint>& shape) {
            return std::any_of(shape.begin(), shape.end(),
                [&](QPoint p) { return p.x() == 0 || p.y() == 0 || p.x() == side - 1 || p.y() == side - 1; });
        };
        const QList<QPoint>& square = touchesEdge(parts[0]) ? parts[0] : parts[1];
        const QList<QPoint>& arrow = touchesEdge(parts[0]) ? parts[1] : parts[0];
        EXPECT_TRUE(touchesEdge(square));
        EXPECT_FALSE(touchesEdge(arrow));
        // Firm pixels: the square's four sides, the arrow's shaft and head.
        const auto firm = [&](const QList<QPoint>& shape) {
            return std::count_if(shape.begin(), shape.end(), [&](QPoint p) { return qAlpha(glyph.pixel(p)) >= 200; });
        };
        EXPECT_GE(firm(square), 4 * (side - 6));
        EXPECT_GE(firm(arrow), side / 2 + 1);
        // It points up and forward: its head, at the top right, is its firmest corner.
        QRect box;
        for (const QPoint p : arrow)
            box |= QRect(p, QSize(1, 1));
        EXPECT_GE(qAlpha(glyph.pixel(box.topRight())), 200);
        EXPECT_LT(qAlpha(glyph.pixel(box.topLeft())), 128);
        EXPECT_LT(qAlpha(glyph.pixel(box.bottomRight())), 128);
    }
}

// A small glyph set in a colour of its own (its caption's) or in a tint that already stands out
// by more than the least contrast still gets further from its background when its thin
// strokes, as drawn, would not stand out; a glyph that stands out keeps its colour.
TEST(Symbols, SmallGlyphsInAnyColourStandOutAsDrawn)
{
    const QColor white(255, 255, 255);
    const QColor light(0xef, 0xef, 0xef);
    const QColor dark(0x2a, 0x2a, 0x2a);
    const QColor orangeText(0xa3, 0x5f, 0x00); // the alarm card's time on white
    struct Case
    {
        Symbol symbol;
        int side;
        QColor colour;
        QColor background;
    };
    const QList<Case> cases { { Symbol::clock, 10, orangeText, white },
        { Symbol::clock, 10, QColor(0x8f, 0x53, 0), light }, { Symbol::clock, 9, orangeText, white },
        { Symbol::clock, 11, orangeText, white }, { Symbol::infoCircle, 10, QColor(0x1d, 0x6f, 0xd6), white },
        { Symbol::clock, 10, QColor(0xff, 0x95, 0), dark } };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(int(c.symbol)) + " at " + std::to_string(c.side) + " in "
            + c.colour.name().toStdString() + " on " + c.background.name().toStdString());
        const QColor drawn = Symbols::drawnColour(c.symbol, c.side, c.colour, c.background);
        EXPECT_GE(Symbols::drawnContrast(c.symbol, c.side, drawn, c.background), Symbols::minimumContrast);
        if (Symbols::drawnContrast(c.symbol, c.side, c.colour, c.background) >= Symbols::minimumContrast)
            EXPECT_EQ(drawn, c.colour) << "it stood out already";
        else
            EXPECT_NEAR(drawn.hsvHue(), c.colour.hsvHue(), 8) << "the hue is kept";
    }
    // A tint whose colour stands above the least contrast on its own.
    for (const int side : { 9, 10, 11 }) {
        SCOPED_TRACE(side);
        const QColor red = Symbols::drawnColourOn(Symbol::clock, side, Tint::red, white, Qt::black, Qt::blue);
        EXPECT_GE(Symbols::drawnContrast(Symbol::clock, side, red, white), Symbols::minimumContrast);
    }
}

TEST(ButtonStyle, EachStyleHasOneLookWhoseTitleReadsInLightAndDark)
{
    struct Case
    {
        ButtonStyle::Style style;
        bool face; // draws a face of its own
        std::string titleInk;
    };
    const QList<Case> cases { { ButtonStyle::Style::plain, false, "grey" },
        { ButtonStyle::Style::borderless, false, "blue" }, { ButtonStyle::Style::bordered, true, "grey" },
        { ButtonStyle::Style::borderedProminent, true, "grey" } };
    for (const bool dark : { false, true }) {
        QWidget page;
        page.setAutoFillBackground(true);
        page.setPalette(dark ? darkFusionPalette() : lightPalette());
        auto* row = new QHBoxLayout(&page);
        QList<QList<QPushButton*>> buttons;
        for (const Case& c : cases) {
            QList<QPushButton*> sizes;
            for (const auto size : { ButtonStyle::ControlSize::small, ButtonStyle::ControlSize::regular,
                     ButtonStyle::ControlSize::large }) {
                sizes << ButtonStyle::create(u"保存"_s, c.style, size, &page);
                row->addWidget(sizes.last());
            }
            buttons << sizes;
        }
        page.show();
        QCoreApplication::processEvents();
        const QImage image = drawnImage(&page);
        saveShot(image, u"button-styles-%1"_s.arg(dark ? u"dark"_s : u"light"_s));
        const QColor background = page.palette().color(QPalette::Window);
        for (int i = 0; i < cases.size(); ++i) {
            const QList<QPushButton*>& sizes = buttons[i];
            SCOPED_TRACE(std::to_string(i) + (dark ? " dark" : " light"));
            // Small, regular and large stand ever taller.
            EXPECT_LT(sizes[0]->sizeHint().height(), sizes[1]->sizeHint().height());
            EXPECT_LT(sizes[1]->sizeHint().height(), sizes[2]->sizeHint().height());
            for (QPushButton* button : sizes) {
                const QRect area = areaIn(button, &page);
                const QColor face = dominantColour(image, area);
                EXPECT_EQ(face != background, cases[i].face);
                EXPECT_GE(drawnContrast(image, area), 4.5);
            }
            if (cases[i].style == ButtonStyle::Style::borderless) {
                const auto kinds = inkContrasts(image, areaIn(sizes[1], &page));
                EXPECT_TRUE(kinds.count("blue")) << "the borderless title is in the accent colour";
            }
        }
    }
}

TEST(ButtonStyle, FollowsAChangeOfTheDesktopsPalette)
{
    // The button's own sheet fixes its palette: the change reaches its container only.
    const QPalette saved = QApplication::palette();
    QApplication::setPalette(lightPalette());
    QWidget page;
    QPushButton* button
        = ButtonStyle::create(u"取消"_s, ButtonStyle::Style::bordered, ButtonStyle::ControlSize::regular, &page);
    page.show();
    QCoreApplication::processEvents();
    QApplication::setPalette(darkFusionPalette());
    QCoreApplication::processEvents();
    EXPECT_EQ(button->styleSheet(),
        ButtonStyle::sheetFor(button, ButtonStyle::Style::bordered, ButtonStyle::ControlSize::regular));
    const QImage image = drawnImage(&page);
    EXPECT_LT(dominantColour(image, areaIn(button, &page)).lightness(), 128) << "a dark face in the dark";
    QApplication::setPalette(saved);
}

// Tab to a button and it wears the lists' focus ring, standing out 3:1 from what it is drawn
// on; a click gives the button the focus too, and looks as it always has.
TEST(ButtonStyle, TheKeyboardsFocusIsARingThatStandsOutAndAClickShowsNone)
{
    struct Case
    {
        ButtonStyle::Style style;
        bool face;
    };
    const Case cases[] = { { ButtonStyle::Style::plain, false }, { ButtonStyle::Style::borderless, false },
        { ButtonStyle::Style::bordered, true }, { ButtonStyle::Style::borderedProminent, true } };
    for (const bool dark : { false, true }) {
        for (const Case& c : cases) {
            for (const auto size : { ButtonStyle::ControlSize::small, ButtonStyle::ControlSize::large }) {
                SCOPED_TRACE(std::to_string(static_cast<int>(c.style)) + (dark ? " dark" : " light") + " size "
                    + std::to_string(static_cast<int>(size)));
                QWidget page;
                page.setAutoFillBackground(true);
                page.setPalette(dark ? darkFusionPalette() : lightPalette());
                auto* row = new QHBoxLayout(&page);
                auto* before = new QLineEdit(&page);
                row->addWidget(before);
                QPushButton* button = ButtonStyle::create(u"添加闹钟"_s, c.style, size, &page);
                row->addWidget(button);
                page.show();
                QApplication::setActiveWindow(&page);
                ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
                before->setFocus(Qt::OtherFocusReason);
                QCoreApplication::processEvents();
                const QRect area = areaIn(button, &page);
                // Along the top edge, clear of the rounded corner and of the title: the ring's
                // row (the face's first rows in, or the edge itself without a face), and just
                // inside it.
                const QPoint ring(area.left() + 8, area.top() + (c.face ? 2 : 1));
                const QPoint inside(ring.x(), ring.y() + 2);
                const QImage plain = drawnImage(&page);

                QTest::keyClick(before, Qt::Key_Tab);
                ASSERT_TRUE(button->hasFocus());
                QCoreApplication::processEvents();
                const QImage keyboard = drawnImage(&page);
                const QColor mark = keyboard.pixelColor(ring);
                EXPECT_GE(contrastRatio(mark, plain.pixelColor(ring)), 3.0) << "the ring where there was none";
                EXPECT_GE(contrastRatio(mark, keyboard.pixelColor(inside)), 3.0) << "against the face it rings";
                if (!c.face) {
                    EXPECT_GE(contrastRatio(mark, keyboard.pixelColor(ring.x(), area.top() - 1)), 3.0)
                        << "against the window around";
                }

                // Away and back by the mouse: a click marks nothing new.
                before->setFocus(Qt::MouseFocusReason);
                QCoreApplication::processEvents();
                EXPECT_LT(contrastRatio(drawnImage(&page).pixelColor(ring), plain.pixelColor(ring)), 1.1)
                    << "the ring stayed after the keyboard left";
                QTest::mouseClick(button, Qt::LeftButton);
                ASSERT_TRUE(button->hasFocus());
                QCoreApplication::processEvents();
                EXPECT_LT(contrastRatio(drawnImage(&page).pixelColor(ring), plain.pixelColor(ring)), 1.1)
                    << "a click rings the button";
            }
        }
    }
}
