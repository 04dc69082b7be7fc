// Every screen the program shows, in eight settings: built in a light or a dark palette,
// or built in one and switched live to the other, each at the platform's font and at a
// 12 pt one. Measured on the drawn pixels: a switched screen draws as one built in its new
// palette; every text reads at 4.5:1, and every glyph, every lit bar of a meter and every
// part that tells a state by its colour alone (a dot) at 3:1, against what is drawn behind
// it; no text is cut, shortened or laid over another; none is under 9 px. Drawn on the X
// server, as a user sees them.
#include "ScreenLook.h"
#include "SweptScreens.h"

#include "platform/EmojiStyle.h"
#include "support/DrawnText.h"
#include "support/PaintedTexts.h"
#include "support/Screenshots.h"
#include "widgets/Symbols.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextCursor>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

using namespace Qt::StringLiterals;

namespace {

class Checker
{
public:
    Checker(const SweptScreen& screen, QWidget* root, bool larger, std::string setting)
        : m_screen(screen)
        , m_root(root)
        , m_larger(larger)
        , m_setting(std::move(setting))
    {
    }

    void check(const Look& look)
    {
        checkTexts(look.painted, look.overLight);
        checkFields(look, look.overLight);
        checkGlyphs(look, look.overLight);
        checkMeters(look, look.overLight);
        checkGraphics(look.overLight);
        checkEmoji(look, look.overLight);
        if (look.overDark != look.overLight) {
            checkTexts(look.painted, look.overDark);
            checkGlyphs(look, look.overDark);
            checkGraphics(look.overDark);
        }
        checkLayout(look.painted, look.overLight);
        for (const QString& name : m_screen.inSight) {
            auto* part = m_root->findChild<QWidget*>(name);
            if (!part || !part->isVisibleTo(m_root))
                continue;
            const QRect whole = part->rect();
            if (part->visibleRegion().boundingRect() != whole)
                fail("out of sight", nameOf(part),
                    u"visible %1 of %2 x %3"_s.arg(QString::number(part->visibleRegion().boundingRect().height()),
                        QString::number(whole.width()), QString::number(whole.height())));
        }
    }

    /// The switched screen `now` draws as `fresh`, one built in that palette.
    void compare(const QImage& now, const QImage& fresh)
    {
        if (now.size() != fresh.size()) {
            fail("switch", u"size"_s,
                u"%1x%2 against %3x%4"_s.arg(now.width()).arg(now.height()).arg(fresh.width()).arg(fresh.height()));
            return;
        }
        std::map<QString, int> where;
        int differing = 0;
        for (int y = 0; y < now.height(); ++y) {
            for (int x = 0; x < now.width(); ++x) {
                const QColor a = now.pixelColor(x, y);
                const QColor b = fresh.pixelColor(x, y);
                if (std::max(
                        { std::abs(a.red() - b.red()), std::abs(a.green() - b.green()), std::abs(a.blue() - b.blue()) })
                    > 40) {
                    ++differing;
                    ++where[nameOf(m_root->childAt(x, y) ? m_root->childAt(x, y) : m_root)];
                }
            }
        }
        const int allowed = std::max(120, now.width() * now.height() / 500);
        if (differing > allowed) {
            std::vector<std::pair<int, QString>> most;
            for (const auto& [name, count] : where)
                most.emplace_back(count, name);
            std::sort(most.rbegin(), most.rend());
            QStringList top;
            for (size_t i = 0; i < std::min<size_t>(3, most.size()); ++i)
                top << most[i].second + u" "_s + QString::number(most[i].first);
            fail("switch", u"pixels"_s, QString::number(differing) + u" differ: "_s + top.join(u", "_s));
        }
    }

private:
    void fail(const char* kind, const QString& what, const QString& measured)
    {
        ADD_FAILURE() << "SWEEP " << m_screen.name << " | " << m_setting << " | " << kind << " | " << what.toStdString()
                      << " | " << measured.toStdString();
    }

    /// Whether the text at `area` is shown for use: disabled widgets and menu entries are
    /// greyed on purpose.
    [[nodiscard]] bool enabledAt(const QRect& area) const
    {
        if (const auto* menu = qobject_cast<const QMenu*>(m_root)) {
            if (const QAction* action = menu->actionAt(area.center()); action && !action->isEnabled())
                return false;
        }
        const QWidget* at = m_root->childAt(area.center());
        return !at || at->isEnabled();
    }

    /// Whether a picture drawn at `box` is an icon: a button's or a list row's, at the size
    /// they give their icons (the style also draws its bevels and frames from pictures).
    [[nodiscard]] bool isIcon(const QRect& box) const
    {
        QWidget* at = m_root->childAt(box.center());
        const auto near = [&](const QSize& size) {
            return std::abs(box.width() - size.width()) <= 2 && std::abs(box.height() - size.height()) <= 2;
        };
        if (const auto* button = qobject_cast<const QAbstractButton*>(at))
            return !button->icon().isNull() && near(button->iconSize());
        for (QWidget* up = at; up; up = up->parentWidget()) {
            if (const auto* view = qobject_cast<const QAbstractItemView*>(up))
                return view->iconSize().isValid() && near(view->iconSize());
        }
        return false;
    }

    void checkFields(const Look& look, const QImage& image)
    {
        for (const Look::Field& field : look.fields) {
            // The caret stands in the text's colour even where the text does not.
            QImage masked = image.copy();
            QPainter painter(&masked);
            painter.fillRect(field.caret, dominantColour(image, field.text.adjusted(-3, -3, 3, 3)));
            painter.end();
            const double contrast = contrastIn(masked, field.text);
            if (contrast < 4.5)
                fail("text contrast", field.name, QString::number(contrast, 'f', 2) + u":1"_s);
        }
    }

    void checkTexts(const Painted& painted, const QImage& image)
    {
        for (const PaintedText& text : linesOf(painted.texts)) {
            const QRect seen = text.ink.intersected(text.clip);
            if (seen.isEmpty() || !readable(text.text) || !enabledAt(seen))
                continue;
            const double contrast = contrastIn(image, seen);
            if (contrast < 4.5 && !manyColoured(image, seen))
                fail("text contrast",
                    u"\""_s + wordsOf(text, m_root->childAt(seen.center())) + u"\" in "_s
                        + nameOf(m_root->childAt(seen.center())),
                    QString::number(contrast, 'f', 2) + u":1"_s);
        }
    }

    void checkGlyphs(const Look& look, const QImage& image)
    {
        QList<std::pair<QRect, QString>> glyphs = look.glyphs;
        for (const PaintedPicture& picture : look.painted.pictures) {
            const QRect seen = picture.box.intersected(picture.clip);
            if (seen.isEmpty() || !enabledAt(seen) || !isIcon(picture.box))
                continue;
            glyphs.append({ seen, u"icon in "_s + nameOf(m_root->childAt(seen.center())) });
        }
        for (const auto& [area, what] : glyphs) {
            if (manyColoured(image, area))
                continue;
            const double contrast = contrastIn(image, area);
            if (contrast < Symbols::minimumContrast)
                fail("glyph contrast", what, QString::number(contrast, 'f', 2) + u":1"_s);
        }
    }

    /// The parts that tell something by their colour alone are drawn, and stand out from
    /// what is drawn around them as a glyph does.
    void checkGraphics(const QImage& image)
    {
        for (const QString& name : m_screen.graphics) {
            auto* part = m_root->findChild<QWidget*>(name);
            if (!part || !part->isVisibleTo(m_root)) {
                fail("graphic", name, u"not shown"_s);
                continue;
            }
            const QRect area = part->visibleRegion().boundingRect().translated(part->mapTo(m_root, QPoint()));
            const double contrast = contrastIn(image, area);
            if (contrast < Symbols::minimumContrast)
                fail("graphic contrast", nameOf(part), QString::number(contrast, 'f', 2) + u":1"_s);
        }
    }

    /// A meter's lit bars tell its figure, so each stands out from the page around the
    /// meter as a glyph does. The bars are found as they are drawn: runs of columns across
    /// the meter's middle that differ from the page.
    void checkMeters(const Look& look, const QImage& image)
    {
        for (const Look::Meter& meter : look.meters) {
            const QRect box = meter.box.intersected(image.rect());
            std::map<QRgb, int> around;
            const QRect ring = box.adjusted(-3, -3, 3, 3).intersected(image.rect());
            for (int y = ring.top(); y <= ring.bottom(); ++y)
                for (int x = ring.left(); x <= ring.right(); ++x)
                    if (!box.contains(x, y))
                        ++around[image.pixel(x, y)];
            if (around.empty())
                continue;
            const QColor page
                = QColor::fromRgb(std::max_element(around.cbegin(), around.cend(), [](const auto& a, const auto& b) {
                      return a.second < b.second;
                  })->first);
            QList<QColor> bars;
            const int y = box.center().y();
            for (int x = box.left(); x <= box.right();) {
                if (image.pixel(x, y) == page.rgb()) {
                    ++x;
                    continue;
                }
                const int start = x;
                while (x <= box.right() && image.pixel(x, y) != page.rgb())
                    ++x;
                bars.append(image.pixelColor((start + x - 1) / 2, y));
            }
            if (bars.size() != 5) {
                fail("meter", meter.name, QString::number(bars.size()) + u" bars drawn"_s);
                continue;
            }
            for (int i = 0; i < meter.lit; ++i) {
                const double contrast = contrastRatio(bars.at(i), page);
                if (contrast < Symbols::minimumContrast)
                    fail("graphic contrast", meter.name + u" bar "_s + QString::number(i),
                        QString::number(contrast, 'f', 2) + u":1 ("_s + bars.at(i).name() + u" on "_s + page.name()
                            + u")"_s);
            }
        }
    }

    /// Emoji in typed and read text are drawn with the colour font, a joined sequence as
    /// one glyph: a plain font's black-and-white glyph has no strongly coloured pixel.
    void checkEmoji(const Look& look, const QImage& image)
    {
        const auto colourfulIn = [](const QImage& picture, const QRect& area) {
            const QRect box = area.intersected(picture.rect());
            int colourful = 0;
            for (int y = box.top(); y <= box.bottom(); ++y) {
                for (int x = box.left(); x <= box.right(); ++x) {
                    const QColor pixel = picture.pixelColor(x, y);
                    colourful += pixel.hsvSaturation() > 90 && pixel.value() > 60 ? 1 : 0;
                }
            }
            return colourful;
        };
        for (const Look::Emoji& emoji : look.emoji) {
            // Some emoji are pale in the colour font too (a white rabbit, grey arrows): what
            // the colour font gives them at this size is what they must show.
            QImage alone(emoji.box.size() * 2, QImage::Format_RGB32);
            alone.fill(Qt::white);
            QPainter painter(&alone);
            QFont font(EmojiStyle::colorEmojiFamily());
            font.setPixelSize(std::max(6, emoji.box.height() * 3 / 4));
            painter.setFont(font);
            painter.drawText(alone.rect(), Qt::AlignLeft | Qt::AlignTop, emoji.sequences);
            painter.end();
            const int expected = colourfulIn(alone, alone.rect());
            const int colourful = colourfulIn(image, emoji.box);
            if (expected >= 12 && colourful < 4)
                fail("emoji colour", emoji.name, QString::number(colourful) + u" colour pixels"_s);
            // Its parts drawn side by side would take two glyphs' room or more.
            if (emoji.alone && emoji.box.width() > 2 * emoji.box.height())
                fail("emoji joined", emoji.name,
                    u"%1 px wide, %2 px high"_s.arg(emoji.box.width()).arg(emoji.box.height()));
        }
    }

    /// Whether the glyphs of `text` reach the edge of what the painter let through, on a
    /// side its ink runs past: a cut glyph shows its stroke there, whitespace in a glyph's
    /// box does not.
    [[nodiscard]] static bool inkAtEdge(const QImage& image, const PaintedText& text)
    {
        const QRect seen = text.ink.intersected(text.clip).intersected(image.rect());
        if (seen.isEmpty())
            return false;
        const QColor under = dominantColour(image, seen);
        const auto inked = [&](const QRect& band) {
            for (int y = band.top(); y <= band.bottom(); ++y)
                for (int x = band.left(); x <= band.right(); ++x)
                    if (contrastRatio(image.pixelColor(x, y), under) >= 1.5)
                        return true;
            return false;
        };
        const QRect& ink = text.ink;
        return (ink.left() < seen.left() - 1 && inked(QRect(seen.left(), seen.top(), 1, seen.height())))
            || (ink.right() > seen.right() + 1 && inked(QRect(seen.right(), seen.top(), 1, seen.height())))
            || (ink.top() < seen.top() - 1 && inked(QRect(seen.left(), seen.top(), seen.width(), 1)))
            || (ink.bottom() > seen.bottom() + 1 && inked(QRect(seen.left(), seen.bottom(), seen.width(), 1)));
    }

    /// Whether `text` is cut where a page scrolls, at the edge of a scroll area that has more
    /// to show that way: scrolled out of sight, not cut.
    [[nodiscard]] bool scrolledAway(const PaintedText& text) const
    {
        for (const QAbstractScrollArea* area : m_root->findChildren<QAbstractScrollArea*>()) {
            if (!area->isVisibleTo(m_root))
                continue;
            const QRect port = areaIn(area->viewport(), m_root);
            const bool vertical = area->verticalScrollBar()->maximum() > 0;
            const bool horizontal = area->horizontalScrollBar()->maximum() > 0;
            const auto near = [](int a, int b) { return std::abs(a - b) <= 1; };
            if ((vertical && (near(text.clip.top(), port.top()) || near(text.clip.bottom(), port.bottom())))
                || (horizontal && (near(text.clip.left(), port.left()) || near(text.clip.right(), port.right()))))
                return true;
        }
        return false;
    }

    void checkLayout(const Painted& painted, const QImage& image)
    {
        for (const PaintedText& text : linesOf(painted.texts)) {
            if (!text.ink.intersected(text.clip).isEmpty() && !m_larger && text.pixelSize < 8.95 && readable(text.text))
                fail("size", u"\""_s + text.text + u"\" in "_s + nameOf(m_root->childAt(text.ink.center())),
                    QString::number(text.pixelSize, 'f', 1) + u" px"_s);
        }
        QList<PaintedText> seen;
        QList<PaintedText> all = linesOf(painted.texts);
        for (const PaintedText& text : painted.texts) {
            if (isEmojiOnly(text.text))
                all.append(text);
        }
        for (const PaintedText& text : all) {
            // An editor scrolls its text: only what it shows is known.
            if (text.ink.intersected(text.clip).isEmpty() || text.text.contains(glyphRun))
                continue;
            const QString where = u"\""_s + text.text + u"\" in "_s + nameOf(m_root->childAt(text.ink.center()));
            const QRect room = text.clip.adjusted(-1, -1, 1, 1);
            if (!room.contains(text.ink) && inkAtEdge(image, text) && !scrolledAway(text)) {
                const QRect cut = text.ink.intersected(text.clip);
                fail("clipped", where,
                    u"ink %1x%2 shows %3x%4"_s.arg(text.ink.width())
                        .arg(text.ink.height())
                        .arg(cut.width())
                        .arg(cut.height()));
            }
            if (text.text.contains(u'…')
                && std::none_of(m_screen.mayElide.cbegin(), m_screen.mayElide.cend(),
                    [&](const QString& allowed) { return text.text.startsWith(allowed); }))
                fail("elided", where, {});
            for (const PaintedText& other : seen) {
                const QRect both = other.ink.intersected(text.ink).intersected(text.clip);
                // Disabled text is drawn twice, its etched copy a pixel off.
                const bool etched
                    = other.text == text.text && (other.ink.topLeft() - text.ink.topLeft()).manhattanLength() <= 2;
                if (both.width() > 2 && both.height() > 2 && !etched)
                    fail("overlap", where, u"over \""_s + other.text + u"\""_s);
            }
            seen.append(text);
        }
        // Pictures standing for text, as colour emoji on buttons and labels.
        for (const PaintedPicture& picture : painted.pictures) {
            const QWidget* at = m_root->childAt(picture.box.center());
            if (!qobject_cast<const QAbstractButton*>(at) && !qobject_cast<const QLabel*>(at))
                continue;
            if (!picture.clip.adjusted(-1, -1, 1, 1).contains(picture.box)
                && !picture.box.intersected(picture.clip).isEmpty())
                fail("clipped", u"picture in "_s + nameOf(at),
                    u"%1x%2 shows %3x%4"_s.arg(picture.box.width())
                        .arg(picture.box.height())
                        .arg(picture.box.intersected(picture.clip).width())
                        .arg(picture.box.intersected(picture.clip).height()));
        }
    }

    const SweptScreen& m_screen;
    QWidget* m_root;
    bool m_larger;
    std::string m_setting;
};

/// Sets the application's font and palette for one case and puts them back after it.
struct Scope
{
    QFont font = QApplication::font();
    QPalette palette = QApplication::palette();
    ~Scope()
    {
        QApplication::setFont(font);
        QApplication::setPalette(palette);
    }
};

void show(const QString& name, const Look& look)
{
    saveShot(look.overLight, u"sweep-"_s + name);
}

} // namespace

void PrintTo(const SweptScreen& screen, std::ostream* out)
{
    *out << screen.name;
}

namespace {

class ScreensSweep : public ::testing::TestWithParam<SweptScreen>
{
};

TEST_P(ScreensSweep, ReadsWholeInEveryPaletteAndFont)
{
    const SweptScreen& screen = GetParam();
    const Scope scope;
    const QFont platform = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    for (const bool larger : { false, true }) {
        QFont font = platform;
        if (larger)
            font.setPointSizeF(12);
        QApplication::setFont(font);
        const QString size = larger ? u"12pt"_s : u"default"_s;
        const auto setting = [&](const char* shade) { return std::string(shade) + ", " + size.toStdString(); };

        // Built light, then the desktop turns dark under it.
        QApplication::setPalette(lightPalette());
        std::unique_ptr<BuiltScreen> first = screen.build();
        ASSERT_TRUE(first->root()) << "not built";
        const Look light = lookOf(first->root());
        Checker(screen, first->root(), larger, setting("light")).check(light);
        show(QString::fromLatin1(screen.name) + u"-light-"_s + size, light);
        QApplication::setPalette(darkFusionPalette());
        const Look switchedDark = lookOf(first->root());
        Checker toDark(screen, first->root(), larger, setting("light to dark"));
        toDark.check(switchedDark);
        show(QString::fromLatin1(screen.name) + u"-light-to-dark-"_s + size, switchedDark);

        // Built dark, then the desktop turns light under it.
        std::unique_ptr<BuiltScreen> second = screen.build();
        ASSERT_TRUE(second->root()) << "not built";
        const Look dark = lookOf(second->root());
        Checker(screen, second->root(), larger, setting("dark")).check(dark);
        show(QString::fromLatin1(screen.name) + u"-dark-"_s + size, dark);
        toDark.compare(switchedDark.overLight, dark.overLight);
        // Both screens stay until the last picture: a request one of them started (a reply
        // being sent) then still runs in each, as it did in the first pictures.
        QApplication::setPalette(lightPalette());
        const Look switchedLight = lookOf(second->root());
        Checker toLight(screen, second->root(), larger, setting("dark to light"));
        toLight.check(switchedLight);
        toLight.compare(switchedLight.overLight, light.overLight);
        show(QString::fromLatin1(screen.name) + u"-dark-to-light-"_s + size, switchedLight);
        first.reset();
        second.reset();
        settle();
    }
}

INSTANTIATE_TEST_SUITE_P(ScreensSweep, ScreensSweep, ::testing::ValuesIn(sweptScreens()),
    [](const ::testing::TestParamInfo<SweptScreen>& info) { return std::string(info.param.name); });

} // namespace
