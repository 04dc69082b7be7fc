// The pet's speech bubble and the status item as drawn: their texts in the type scale's
// styles, the bubble's close symbol in the secondary colour on a plain button, at the
// default font and a larger one, in a light and a dark palette.
#include "app/SpeechBubbleLook.h"
#include "menus/MenuBarCoordinator.h"
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
#include <QPainter>
#include <QPushButton>
#include <QSystemTrayIcon>

#include <gtest/gtest.h>

#include <functional>

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
