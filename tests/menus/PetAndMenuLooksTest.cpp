// The pet's speech bubble and the status item as drawn: their texts in the type scale's
// styles, the bubble's close symbol in the secondary colour on a plain button, at the
// default font and a larger one, in a light and a dark palette.
#include "app/SpeechBubbleLook.h"
#include "menus/MenuBarCoordinator.h"
#include "menus/PetContextMenu.h"
#include "pet/MultiPetManager.h"
#include "pet/SpeechBubbleView.h"
#include "pet/SpeechBubbleWindowManager.h"
#include "platform/EmojiStyle.h"
#include "widgets/Symbols.h"
#include "widgets/TextStyle.h"

#include "MenuParts.h"
#include "support/DrawnText.h"
#include "support/Screenshots.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QSystemTrayIcon>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;
using TextStyle::Style;

namespace {

/// Whether `pixel` is ink on `background`: a colour emoji's light parts count too.
bool distinct(const QColor& pixel, const QColor& background)
{
    return std::max({ std::abs(pixel.red() - background.red()), std::abs(pixel.green() - background.green()),
               std::abs(pixel.blue() - background.blue()) })
        > 60;
}

/// The box around what is drawn in `area` of `image`, against the area's commonest colour.
QRect inkBox(const QImage& image, const QRect& area)
{
    const QColor background = dominantColour(image, area);
    QRect box;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (distinct(image.pixelColor(x, y), background))
                box |= QRect(x, y, 1, 1);
    return box;
}

/// How much ink is drawn in `area`: the sum of every pixel's darkening of the background.
double inkMass(const QImage& image, const QRect& area)
{
    const QColor background = dominantColour(image, area);
    double mass = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            mass += std::abs(image.pixelColor(x, y).lightnessF() - background.lightnessF())
                + std::abs(image.pixelColor(x, y).hsvSaturationF() - background.hsvSaturationF());
    return mass;
}

/// `text` drawn in `font` on a light label, as the reference a screen's text is held to.
QImage reference(const QString& text, const QFont& font)
{
    QLabel label(text);
    label.setTextFormat(Qt::PlainText);
    label.setFont(font);
    label.setPalette(lightPalette());
    label.adjustSize();
    return drawnImage(&label);
}

/// Sets the application font for one scope and puts the earlier one back.
struct FontScope
{
    QFont saved = QApplication::font();
    explicit FontScope(const QFont& font) { QApplication::setFont(font); }
    ~FontScope() { QApplication::setFont(saved); }
};

/// The fonts the looks are checked at: the platform's default and a 12 pt one.
QList<std::pair<QFont, QString>> fonts()
{
    const QFont platform = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    QFont larger = platform;
    larger.setPointSizeF(12);
    return { { platform, u"default"_s }, { larger, u"12pt"_s } };
}

struct LookRig : MenuParts
{
    SpeechBubbleWindowManager bubbles { windowManager, kitSpeechBubbleLook() };

    LookRig() { windowManager.createPetWindow(); }

    SpeechBubbleView* showBubble()
    {
        bubbles.showBubble(u"喝水时间"_s, u"起来喝杯水吧"_s, u"💧"_s);
        QCoreApplication::processEvents();
        return bubbles.bubbleView();
    }
};

/// The status item's picture as the tray gets it, drawn on white at its own size.
QImage trayPicture(const QSystemTrayIcon& item)
{
    const QIcon icon = item.icon();
    QSize natural = icon.availableSizes().value(0);
    for (const QSize& size : icon.availableSizes())
        natural = size.width() < natural.width() ? size : natural;
    QImage image(natural + QSize(8, 8), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    icon.paint(&painter, QRect(QPoint(4, 4), natural));
    return image;
}

} // namespace

TEST(PetAndMenuLooks, TextsAreDrawnInTheirStylesOfTheTypeScale)
{
    // Emoji are drawn in the colour font, as the program draws them.
    QApplication::setStyle(new EmojiStyle);
    struct Row
    {
        const char* what;
        QString text;
        std::function<QFont()> font;
        /// The picture and where in it the text is drawn.
        std::function<std::pair<QImage, QRect>(LookRig&)> drawn;
    };
    const auto bubbleLabel = [](const char* name) {
        return [name](LookRig& screens) {
            SpeechBubbleView* view = screens.showBubble();
            view->card()->setPalette(lightPalette());
            const QImage image = drawnImage(view->card());
            const auto* label = view->findChild<QLabel*>(QString::fromLatin1(name));
            return std::pair { image, areaIn(label, view->card()) };
        };
    };
    const QList<Row> rows {
        { "bubble emoji, title 3", u"💧"_s, [] { return TextStyle::font(Style::title3); }, bubbleLabel("bubbleEmoji") },
        { "bubble title, semibold headline", u"喝水时间"_s,
            [] { return TextStyle::font(Style::headline, QFont::DemiBold); }, bubbleLabel("bubbleTitle") },
        { "bubble message, body", u"起来喝杯水吧"_s, [] { return TextStyle::font(Style::body); },
            bubbleLabel("bubbleMessage") },
        { "status item without its icon file, the cat in the system font of size 16", u"🐱"_s,
            [] { return TextStyle::systemFont(16); },
            [](LookRig& screens) {
                Resources none { u"/nonexistent"_s };
                MenuBarCoordinator coordinator(
                    screens.users, screens.doNotDisturb, screens.settings, screens.about, none);
                const QImage image = trayPicture(*coordinator.statusItem());
                saveShot(image, u"status-item-emoji"_s);
                return std::pair { image, image.rect() };
            } },
    };
    for (const auto& [font, fontName] : fonts()) {
        const FontScope scope(font);
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(row.what) + ", " + fontName.toStdString());
            LookRig screens;
            const auto [image, area] = row.drawn(screens);
            const QImage expected = reference(row.text, row.font());
            const QRect drawnBox = inkBox(image, area);
            const QRect expectedBox = inkBox(expected, expected.rect());
            ASSERT_FALSE(drawnBox.isEmpty()) << "nothing drawn";
            EXPECT_NEAR(drawnBox.height(), expectedBox.height(), 1);
            EXPECT_NEAR(drawnBox.width(), expectedBox.width(), 2);
            // As heavy as the style: a semibold title is not drawn regular, nor the reverse.
            const double mass = inkMass(image, area);
            const double expectedMass = inkMass(expected, expected.rect());
            EXPECT_NEAR(mass / expectedMass, 1.0, 0.1);
        }
    }
}

TEST(PetAndMenuLooks, TheBubblesCloseSymbolIsASecondaryCaptionSizedGlyphOnAPlainButton)
{
    struct Row
    {
        const char* what;
        std::function<QPushButton*(SpeechBubbleView*)> button;
        Style sizedAs;
    };
    const QList<Row> rows {
        { "bubble close, xmark.circle.fill, secondary, caption font",
            [](SpeechBubbleView* view) { return view->closeButton(); }, Style::caption },
    };
    for (const auto& [font, fontName] : fonts()) {
        const FontScope scope(font);
        LookRig screens;
        SpeechBubbleView* view = screens.showBubble();
        for (const Row& row : rows) {
            for (const bool dark : { false, true }) {
                SCOPED_TRACE(std::string(row.what) + ", " + fontName.toStdString() + (dark ? ", dark" : ", light"));
                view->card()->setPalette(dark ? darkFusionPalette() : lightPalette());
                QCoreApplication::processEvents();
                const QImage image = drawnImage(view->card());
                saveShot(image, u"bubble-%1-%2"_s.arg(fontName, dark ? u"dark"_s : u"light"_s));
                QPushButton* button = row.button(view);
                const QRect area = areaIn(button, view->card());
                const QColor card = view->card()->palette().color(QPalette::Base);

                // A plain button: no face, the symbol stands on the card.
                EXPECT_EQ(dominantColour(image, area), card);
                // The glyph fills a square as large as the style's text.
                const int side = qRound(TextStyle::pixelSizeOf(TextStyle::font(row.sizedAs)));
                const QRect glyph = inkBox(image, area);
                EXPECT_GE(glyph.width(), side - 2);
                EXPECT_LE(glyph.width(), side);
                EXPECT_NEAR(glyph.height(), glyph.width(), 1);
                // Secondary: grey, readable as a glyph, yet quieter than the message's text.
                const QColor ink = strongestInk(image, area, area.topLeft());
                ASSERT_TRUE(ink.isValid());
                EXPECT_LT(ink.hsvSaturation(), 70) << ink.name().toStdString();
                const double contrast = contrastRatio(ink, card);
                EXPECT_GE(contrast, Symbols::minimumContrast);
                const QRect message = areaIn(view->findChild<QLabel*>(u"bubbleMessage"_s), view->card());
                EXPECT_LT(contrast, drawnContrast(image, message) * 0.8);
            }
        }
    }
}

// DejaVu Sans, on nearly every desktop, holds its own black-and-white 😉 and ⚙ and wins the
// font fallback; the menus draw their emoji in the colour font all the same. Drawn with a pure
// blue pen on white, a glyph of a text font has nothing but blends of the two, while a colour
// emoji keeps colours of its own (Noto's gear is grey).
TEST(PetAndMenuLooks, MenuEmojiAreDrawnInColour)
{
    if (EmojiStyle::colorEmojiFamily().isEmpty())
        GTEST_SKIP() << "no colour emoji font installed";
    QApplication::setStyle(new EmojiStyle);
    const auto notThePen = [](const QImage& image, const QRect& area) {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                const QRgb c = image.pixel(x, y);
                count += std::abs(qRed(c) - qGreen(c)) > 24 || qBlue(c) < 240 ? 1 : 0;
            }
        }
        return count;
    };
    const QPalette saved = QApplication::palette();
    QPalette bluePen = saved;
    for (const QPalette::ColorRole role : { QPalette::Window, QPalette::Base, QPalette::Button })
        bluePen.setColor(role, Qt::white);
    for (const QPalette::ColorRole role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
        bluePen.setColor(role, Qt::blue);
    // The application's: the status menu works its header's ink out from it.
    QApplication::setPalette(bluePen);

    LookRig screens;
    MultiPetManager clones(screens.defaults, screens.screens, screens.windowManager, screens.animations);
    PetContextMenu petMenu(screens.doNotDisturb, screens.animations, screens.scheduler, clones);
    const std::unique_ptr<QMenu> pet(petMenu.createAnimationContextMenu());
    MenuBarCoordinator status(screens.users, screens.doNotDisturb, screens.settings, screens.about, screens.resources);
    const auto find = [](QMenu* menu, const QString& text) -> std::pair<QMenu*, QAction*> {
        for (QAction* action : menu->actions()) {
            if (action->text() == text)
                return { menu, action };
            if (QMenu* inner = action->menu(); inner && inner->menuAction() == action) {
                for (QAction* innerAction : inner->actions())
                    if (innerAction->text() == text)
                        return { inner, innerAction };
            }
        }
        return { nullptr, nullptr };
    };
    for (const auto& [font, fontName] : fonts()) {
        const FontScope scope(font);
        for (const auto& [menu, text] : { std::pair { pet.get(), u"😉 眨眼"_s },
                 std::pair { pet.get(), u"🍾 漂流瓶"_s }, std::pair { status.menu(), u"⚙️ 设置"_s } }) {
            SCOPED_TRACE(text.toStdString() + ", " + fontName.toStdString());
            const auto [holder, action] = find(menu, text);
            ASSERT_NE(action, nullptr);
            holder->adjustSize();
            const QImage image = holder->grab().toImage().convertToFormat(QImage::Format_RGB32);
            saveShot(image, u"menu-emoji-%1-%2"_s.arg(holder->objectName(), fontName));
            // Inside the menu's frame, whose grey is no pen's.
            const int frame = holder->style()->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, holder) + 1;
            const QRect row = holder->actionGeometry(action) & holder->rect().adjusted(frame, frame, -frame, -frame);
            EXPECT_GT(notThePen(image, row), 20) << "drawn in black and white";
        }
    }
    QApplication::setPalette(saved);
}

// The rest reminder's emoji is one joined sequence with a skin tone: its label is as wide as
// the one glyph drawn, so the title stands the header's spacing of 6 from it.
TEST(PetAndMenuLooks, TheTitleStandsTheSpacingFromAJoinedEmoji)
{
    if (EmojiStyle::colorEmojiFamily().isEmpty())
        GTEST_SKIP() << "no colour emoji font installed";
    QApplication::setStyle(new EmojiStyle);
    for (const auto& [font, fontName] : fonts()) {
        const FontScope scope(font);
        for (const QString& emoji : { u"🏃🏻\u200d♀️"_s, u"💧"_s }) {
            SCOPED_TRACE(emoji.toStdString() + ", " + fontName.toStdString());
            LookRig screens;
            screens.bubbles.showBubble(u"休息时间"_s, u"起来走走吧"_s, emoji);
            QCoreApplication::processEvents();
            SpeechBubbleView* view = screens.bubbles.bubbleView();
            view->card()->setPalette(lightPalette());
            const QImage image = drawnImage(view->card());
            saveShot(image, u"bubble-emoji-gap-%1-%2"_s.arg(emoji.size()).arg(fontName));
            const QRect emojiArea = areaIn(view->findChild<QLabel*>(u"bubbleEmoji"_s), view->card());
            const QRect titleArea = areaIn(view->findChild<QLabel*>(u"bubbleTitle"_s), view->card());
            const QRect emojiInk = inkBox(image, emojiArea);
            const QRect titleInk = inkBox(image, titleArea);
            ASSERT_FALSE(emojiInk.isEmpty());
            ASSERT_FALSE(titleInk.isEmpty());
            EXPECT_GT(colourfulPixels(image, emojiInk), 5) << "drawn in black and white";
            // Between the two inks: the spacing, and what the glyphs leave at their sides.
            const int gap = titleInk.left() - emojiInk.right() - 1;
            EXPECT_NEAR(gap, 6, 1);
        }
    }
}
