// The preferences pages in the widget kit's vocabulary, as drawn at the default font and at
// 12 pt, in a light and a dark palette: each text in its style of the type scale, each
// symbol as a glyph in its colour, each button in its style.
#include "PreferencesRig.h"

#include "game/GamePreferencesView.h"
#include "game/WhackAMoleGameManager.h"
#include "preferences/AccountPreferencesView.h"
#include "preferences/AdvancedPreferencesView.h"
#include "preferences/AppearancePreferencesView.h"
#include "preferences/GeneralPreferencesView.h"
#include "preferences/PreferenceTab.h"
#include "preferences/PreferencesView.h"
#include "support/DrawnText.h"
#include "support/FakeTimers.h"
#include "support/Screenshots.h"
#include "support/Wait.h"
#include "widgets/ButtonStyle.h"
#include "widgets/PlainLabel.h"
#include "widgets/Symbols.h"
#include "widgets/TextStyle.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>
#include <functional>
#include <memory>

using namespace Qt::StringLiterals;
using Symbols::Symbol;
using TextStyle::Style;

namespace {

enum class Screen { general, game, appearance, advanced, standAlone, signedOut, profile, editing };

const char* nameOf(Screen screen)
{
    static const char* const names[]
        = { "general", "game", "appearance", "advanced", "standAlone", "signedOut", "profile", "editing" };
    return names[static_cast<int>(screen)];
}

struct Vocabulary : PreferencesWindowRig
{
    std::unique_ptr<QWidget> page(Screen screen)
    {
        switch (screen) {
        case Screen::general:
            return std::make_unique<GeneralPreferencesView>(petState, systemInfo);
        case Screen::game:
            return std::make_unique<GamePreferencesView>(game);
        case Screen::appearance:
            return std::make_unique<AppearancePreferencesView>(opacity, multiPet, doNotDisturb, appearance);
        case Screen::advanced:
            return std::make_unique<AdvancedPreferencesView>(
                petState, windowManager, screens, notifications, services().openUrl);
        case Screen::editing: {
            auto account = std::make_unique<AccountPreferencesView>(*this->account, *client);
            account->startEditing();
            return account;
        }
        default:
            return std::make_unique<AccountPreferencesView>(*account, *client);
        }
    }

    /// Calls `check` with every screen in `wanted`, each drawn at both fonts in both palettes.
    void visit(const QList<Screen>& wanted,
        const std::function<void(Screen, QWidget* page, const QImage& image, const std::string& where)>& check)
    {
        const QFont standard = QApplication::font();
        for (const Screen screen : { Screen::general, Screen::game, Screen::appearance, Screen::advanced,
                 Screen::standAlone, Screen::signedOut, Screen::profile, Screen::editing }) {
            // The account changes state as the screens go by.
            if (screen == Screen::signedOut)
                account->setUserMode(UserMode::online);
            if (screen == Screen::profile)
                signIn();
            if (!wanted.contains(screen))
                continue;
            for (const bool larger : { false, true }) {
                QFont font = standard;
                if (larger)
                    font.setPointSizeF(12);
                QApplication::setFont(font);
                for (const bool dark : { false, true }) {
                    QApplication::setPalette(dark ? darkFusionPalette() : lightPalette());
                    const std::unique_ptr<QWidget> shown = page(screen);
                    shown->resize(shown->sizeHint().expandedTo(QSize(600, 0)));
                    shown->show();
                    QCoreApplication::processEvents();
                    const QImage image = drawnImage(shown.get());
                    const std::string where
                        = std::string(nameOf(screen)) + (larger ? " 12pt" : " default") + (dark ? " dark" : " light");
                    saveShot(image, u"vocabulary-"_s + QString::fromStdString(where).replace(u' ', u'-'));
                    check(screen, shown.get(), image, where);
                }
            }
        }
        QApplication::setFont(standard);
        QApplication::setPalette(lightPalette());
    }
};

/// The commonest colour of `area` and its ink: the pixel standing out from it the most.
std::pair<QColor, QColor> backgroundAndInk(const QImage& image, const QRect& area)
{
    const QColor background = dominantColour(image, area);
    QColor ink = background;
    const QRect box = area.intersected(image.rect());
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (contrastRatio(image.pixelColor(x, y), background) > contrastRatio(ink, background))
                ink = image.pixelColor(x, y);
    return { background, ink };
}

/// What the eye takes as a text's size and weight: the height of its ink, and its coverage
/// (each pixel counted by how far it lies from the background towards the ink), which
/// grows with the strokes' thickness.
struct InkMeasure
{
    int height = 0;
    double coverage = 0.0;
};

InkMeasure measure(const QImage& image, const QRect& area, const QColor& background, const QColor& ink)
{
    const double dr = ink.redF() - background.redF();
    const double dg = ink.greenF() - background.greenF();
    const double db = ink.blueF() - background.blueF();
    const double norm = dr * dr + dg * dg + db * db;
    InkMeasure result;
    int top = image.height();
    int bottom = -1;
    const QRect box = area.intersected(image.rect());
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (contrastRatio(pixel, background) > 1.3) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
            if (norm > 0) {
                const double along
                    = ((pixel.redF() - background.redF()) * dr + (pixel.greenF() - background.greenF()) * dg
                          + (pixel.blueF() - background.blueF()) * db)
                    / norm;
                result.coverage += std::clamp(along, 0.0, 1.0);
            }
        }
    }
    result.height = bottom >= top ? bottom - top + 1 : 0;
    return result;
}

/// `text` drawn on its own in `font`, in `ink` on `background`, measured the same way.
InkMeasure expected(const QString& text, const QFont& font, const QColor& background, const QColor& ink)
{
    QLabel label(text);
    label.setTextFormat(Qt::PlainText);
    label.setFont(font);
    QPalette palette = label.palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, ink);
    label.setPalette(palette);
    label.setAutoFillBackground(true);
    label.setContentsMargins(4, 4, 4, 4);
    label.adjustSize();
    const QImage image = drawnImage(&label);
    return measure(image, image.rect(), background, ink);
}

} // namespace

// Every text the pages style, against the same text drawn in the style's font: the same
// height of ink and the same weight of stroke; a secondary one fainter than the text colour
// but still readable.
TEST_F(Vocabulary, EachTextIsDrawnInItsStyle)
{
    struct Row
    {
        Screen screen;
        const char* name;
        Style style;
        QFont::Weight weight; // the style's own when Normal
        bool secondary;
        int systemSize; // "the system font at size N" instead of the style, when set
    };
    const QList<Row> rows {
        { Screen::general, "speedLabel", Style::body, QFont::Bold, false, 0 },
        { Screen::game, "gameHeadline", Style::headline, QFont::Normal, false, 0 },
        { Screen::game, "gameNote", Style::subheadline, QFont::Normal, true, 0 },
        { Screen::game, "difficultyTitle", Style::subheadline, QFont::Normal, false, 0 },
        { Screen::game, "lengthTitle", Style::subheadline, QFont::Normal, false, 0 },
        { Screen::game, "rulesTitle", Style::subheadline, QFont::Normal, false, 0 },
        { Screen::game, "durationLabel", Style::body, QFont::Bold, false, 0 },
        { Screen::appearance, "currentPetPrefix", Style::subheadline, QFont::Bold, false, 0 },
        { Screen::appearance, "currentPetName", Style::subheadline, QFont::Bold, false, 0 },
        { Screen::advanced, "positionValue", Style::body, QFont::Normal, true, 0 },
        { Screen::advanced, "versionLine", Style::headline, QFont::Normal, false, 0 },
        { Screen::advanced, "description", Style::body, QFont::Normal, true, 0 },
        { Screen::advanced, "websiteTitle", Style::subheadline, QFont::Normal, true, 0 },
        { Screen::advanced, "websiteHost", Style::subheadline, QFont::Normal, false, 0 },
        { Screen::advanced, "contactTitle", Style::subheadline, QFont::Normal, true, 0 },
        { Screen::advanced, "contactId", Style::body, QFont::Normal, false, 0 },
        { Screen::standAlone, "standAloneNoticeText", Style::body, QFont::Normal, true, 0 },
        { Screen::signedOut, "signedOutNoticeText", Style::body, QFont::Normal, true, 0 },
        { Screen::profile, "avatarValue", Style::body, QFont::Normal, false, 30 },
        { Screen::profile, "emailValue", Style::caption, QFont::Normal, true, 0 },
        { Screen::editing, "chosenAvatar", Style::body, QFont::Normal, false, 40 },
    };
    QList<Screen> screens;
    for (const Row& row : rows)
        screens.append(row.screen);
    visit(screens, [&](Screen screen, QWidget* page, const QImage& image, const std::string& where) {
        for (const Row& row : rows) {
            if (row.screen != screen)
                continue;
            SCOPED_TRACE(where + " " + row.name);
            auto* label = page->findChild<QLabel*>(QString::fromLatin1(row.name));
            ASSERT_NE(label, nullptr);
            const auto* plain = qobject_cast<PlainLabel*>(label);
            const QString text = plain ? plain->fullText() : label->text();
            const QRect area = label->contentsRect().translated(label->mapTo(page, QPoint(0, 0)));
            const auto [background, ink] = backgroundAndInk(image, area);
            ASSERT_NE(background, ink) << "nothing drawn";

            QFont font = row.systemSize > 0   ? TextStyle::systemFont(row.systemSize)
                : row.weight != QFont::Normal ? TextStyle::font(row.style, row.weight)
                                              : TextStyle::font(row.style);
            font.setFamilies(label->font().families()); // the size and weight are judged, not the family
            const InkMeasure drawn = measure(image, area, background, ink);
            const InkMeasure wanted = expected(text, font, background, ink);
            EXPECT_NEAR(drawn.height, wanted.height, 1);
            EXPECT_NEAR(drawn.coverage, wanted.coverage, 0.12 * wanted.coverage);

            if (!row.secondary) {
                EXPECT_GE(contrastRatio(ink, background), 4.5) << "the ink as drawn reads";
            }
            const QPalette palette = page->palette();
            const double primary = contrastRatio(palette.color(QPalette::WindowText), palette.color(QPalette::Window));
            if (row.secondary) {
                // Fainter than the text colour, in a colour that still reads (a caption's
                // thin strokes may not show it at full strength in any one pixel).
                EXPECT_GE(contrastRatio(label->palette().color(label->foregroundRole()), background), 4.5);
                EXPECT_LT(contrastRatio(ink, background), 0.9 * primary) << "not secondary";
            }
        }
    });
}

// Every symbol the pages name is a glyph of the kit, drawn in its colour: on its own, or
// as a button's icon.
TEST_F(Vocabulary, EachSymbolIsAGlyphInItsColour)
{
    struct Row
    {
        Screen screen;
        const char* name; // a SymbolView, or a button whose icon it is
        std::optional<Symbol> symbol; // for a SymbolView
        std::string ink;
        bool secondary = false;
    };
    const QList<Row> rows {
        { Screen::general, "cpuSymbol", Symbol::cpu, "blue" },
        { Screen::general, "memorySymbol", Symbol::memoryChip, "green" },
        { Screen::appearance, "infoSymbol", Symbol::infoCircle, "blue" },
        { Screen::advanced, "websiteArrow", Symbol::arrowUpForwardSquare, "blue" },
        { Screen::advanced, "copyContactButton", std::nullopt, "blue" },
        { Screen::standAlone, "standAloneNoticeSymbol", Symbol::desktopComputer, "grey", true },
        { Screen::signedOut, "signedOutNoticeSymbol", Symbol::personCropCircleBadgeQuestionmark, "grey", true },
        { Screen::signedOut, "loginButton", std::nullopt, "grey" },
        { Screen::profile, "signedInSymbol", Symbol::checkmarkCircleFill, "green" },
        { Screen::profile, "logoutButton", std::nullopt, "red" },
    };
    QList<Screen> screens;
    for (const Row& row : rows)
        screens.append(row.screen);
    visit(screens, [&](Screen screen, QWidget* page, const QImage& image, const std::string& where) {
        for (const Row& row : rows) {
            if (row.screen != screen)
                continue;
            SCOPED_TRACE(where + " " + row.name);
            auto* widget = page->findChild<QWidget*>(QString::fromLatin1(row.name));
            ASSERT_NE(widget, nullptr);
            // A few pixels around the glyph, so that what it stands on is the commonest colour
            // even under a filled one.
            const QRect own = areaIn(widget, page);
            QRect area = own.adjusted(-6, -6, 6, 6);
            if (row.symbol) {
                auto* view = qobject_cast<SymbolView*>(widget);
                ASSERT_NE(view, nullptr) << "not a glyph of the kit";
                EXPECT_EQ(view->symbol(), *row.symbol);
                EXPECT_GE(contrastRatio(view->drawnColour(), page->palette().color(QPalette::Window)),
                    Symbols::minimumContrast);
            } else {
                auto* button = qobject_cast<QAbstractButton*>(widget);
                ASSERT_NE(button, nullptr);
                ASSERT_FALSE(button->icon().isNull()) << "no symbol";
                // The icon and the title stand centred together, the icon first.
                const int side = button->iconSize().width();
                const int title
                    = button->text().isEmpty() ? 0 : 4 + button->fontMetrics().horizontalAdvance(button->text());
                const int start = (own.width() - side - title) / 2;
                area = QRect(own.left() + start - 2, own.top() + 3, side + 4, own.height() - 6);
            }
            // The strokes of a small glyph are thinner than a pixel: its strongest pixel
            // shows that it is drawn and in which colour, not the full strength of its colour.
            const auto kinds = inkContrasts(image, area);
            ASSERT_TRUE(kinds.contains(row.ink)) << "no " << row.ink << " ink";
            EXPECT_GE(kinds.at(row.ink), Symbols::minimumContrast);
            if (row.secondary) {
                const QPalette palette = page->palette();
                EXPECT_LT(kinds.at(row.ink),
                    0.9 * contrastRatio(palette.color(QPalette::WindowText), palette.color(QPalette::Window)))
                    << "not secondary";
            }
        }
    });
}

// Every button the pages style, as drawn: a plain one has no face, a bordered one a quiet
// grey face under a readable title, a bordered prominent one an accent face under a white
// title; the small size draws its title at the subheadline size.
TEST_F(Vocabulary, EachButtonIsDrawnInItsStyle)
{
    using ButtonStyle::ControlSize;
    using ButtonStyle::Style;
    struct Row
    {
        Screen screen;
        const char* name;
        ButtonStyle::Style style;
        ControlSize size;
        std::string title; // the kind of ink of the title, if it has one
    };
    const QList<Row> rows {
        { Screen::advanced, "resetButton", Style::bordered, ControlSize::regular, "grey" },
        { Screen::advanced, "websiteButton", Style::plain, ControlSize::regular, "blue" },
        { Screen::advanced, "copyContactButton", Style::plain, ControlSize::regular, "" },
        { Screen::profile, "editProfileButton", Style::bordered, ControlSize::small, "grey" },
        { Screen::profile, "logoutButton", Style::bordered, ControlSize::regular, "red" },
        { Screen::editing, "cancelEditButton", Style::bordered, ControlSize::regular, "grey" },
        { Screen::editing, "saveProfileButton", Style::borderedProminent, ControlSize::regular, "grey" },
        { Screen::signedOut, "loginButton", Style::borderedProminent, ControlSize::regular, "grey" },
    };
    QList<Screen> screens;
    for (const Row& row : rows)
        screens.append(row.screen);
    visit(screens, [&](Screen screen, QWidget* page, const QImage& image, const std::string& where) {
        for (const Row& row : rows) {
            if (row.screen != screen)
                continue;
            SCOPED_TRACE(where + " " + row.name);
            auto* button = page->findChild<QAbstractButton*>(QString::fromLatin1(row.name));
            ASSERT_NE(button, nullptr);
            const QRect area = areaIn(button, page);
            const QColor around = dominantColour(image, QRect(area.left(), area.top() - 2, area.width(), 1));
            const QColor face = dominantColour(image, area.adjusted(3, 3, -3, -3));
            switch (row.style) {
            case Style::plain:
            case Style::borderless:
                EXPECT_LT(contrastRatio(face, around), 1.02) << "a face of its own";
                break;
            case Style::bordered:
                EXPECT_GE(contrastRatio(face, around), 1.05) << "no face";
                EXPECT_LT(face.hsvSaturation(), 40) << "not a grey face";
                break;
            case Style::borderedProminent:
                EXPECT_GE(face.hsvSaturation(), 70) << "not an accent face";
                EXPECT_TRUE(face.hsvHue() >= 190 && face.hsvHue() < 260) << face.name().toStdString();
                break;
            }
            const auto kinds = inkContrasts(image, area.adjusted(2, 2, -2, -2));
            if (!row.title.empty()) {
                // A small title's strokes show its colour, if not always at full strength.
                ASSERT_TRUE(kinds.contains(row.title)) << "no " << row.title << " title";
                EXPECT_GE(kinds.at(row.title), 3.0);
            }
            if (row.style == Style::borderedProminent) {
                const auto [background, ink] = backgroundAndInk(image, area.adjusted(3, 3, -3, -3));
                EXPECT_GE(std::min({ ink.red(), ink.green(), ink.blue() }), 230) << "the title is not white";
            }
            if (!button->text().isEmpty() && button->icon().isNull()) {
                // The title's ink against the same title drawn in the size's own font.
                const QFont font = TextStyle::font(
                    row.size == ControlSize::small ? TextStyle::Style::subheadline : TextStyle::Style::body);
                const QRect inner = area.adjusted(3, 3, -3, -3);
                const auto [background, ink] = backgroundAndInk(image, inner);
                EXPECT_NEAR(measure(image, inner, background, ink).height,
                    expected(button->text(), font, background, ink).height, 1);
            }
        }
    });
}

// The sidebar shows each tab's symbol as a glyph of the kit, in one colour: the titles'
// own, and the selection's text colour on the selected row.
TEST_F(Vocabulary, TheSidebarShowsEachTabsSymbolInTheTitlesColour)
{
    PreferencesWindowManager manager(services());
    for (const bool dark : { false, true }) {
        SCOPED_TRACE(dark ? "dark" : "light");
        QApplication::setPalette(dark ? darkFusionPalette() : lightPalette());
        manager.showPreferencesWindow(PreferenceTab::appearance);
        QWidget* window = manager.preferencesWindow();
        ASSERT_NE(window, nullptr);
        const QImage image = drawnImage(window);
        saveShot(image, dark ? u"vocabulary-sidebar-dark"_s : u"vocabulary-sidebar-light"_s);
        auto* sidebar = manager.preferencesView()->findChild<QListWidget*>(u"sidebar"_s);
        ASSERT_NE(sidebar, nullptr);
        ASSERT_GE(sidebar->count(), 4);
        for (int row = 0; row < sidebar->count(); ++row) {
            SCOPED_TRACE(sidebar->item(row)->text().toStdString());
            const QRect item = sidebar->visualItemRect(sidebar->item(row))
                                   .translated(sidebar->viewport()->mapTo(window, QPoint(0, 0)));
            const QRect symbol(item.left(), item.top(), sidebar->iconSize().width() + 12, item.height());
            const auto kinds = inkContrasts(image, symbol);
            ASSERT_TRUE(kinds.contains("grey")) << "no glyph";
            EXPECT_GE(kinds.at("grey"), Symbols::minimumContrast);
            // One colour: nothing else stands out, as the many colours of an emoji would
            // (on the selected row the accent's own shades are the background's edges).
            for (const auto& [kind, contrast] : kinds) {
                if (kind != "grey" && !(kind == "blue" && row == sidebar->currentRow())) {
                    EXPECT_LT(contrast, 1.5) << kind;
                }
            }
        }
        window->close();
        QCoreApplication::processEvents();
    }
    QApplication::setPalette(lightPalette());
}
