// Every screen the program shows, in eight settings: built in a light or a dark palette,
// or built in one and switched live to the other, each at the platform's font and at a
// 12 pt one. Measured on the drawn pixels: a switched screen draws as one built in its new
// palette; every text reads at 4.5:1 and every glyph at 3:1 against what is drawn behind
// it; no text is cut, shortened or laid over another; none is under 9 px.
#include "SweptScreens.h"

#include "support/DrawnText.h"
#include "support/PaintedTexts.h"
#include "support/Screenshots.h"
#include "widgets/Symbols.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

using namespace Qt::StringLiterals;

namespace {

QString nameOf(const QWidget* widget);

/// What a screen looks like in one setting: its picture over a light and a dark desktop
/// (the same unless the screen lets the desktop through) and what it painted.
struct Look
{
    QImage overLight;
    QImage overDark;
    Painted painted;
    QList<std::pair<QRect, QString>> glyphs;
    /// Typed text: where an editor or a field holds it, and where its caret stands.
    struct Field
    {
        QRect text;
        QRect caret;
        QString name;
    };
    QList<Field> fields;
};

/// The typed text of the editors and fields in `root`: text laid out by a document comes to
/// the painter as glyphs without characters, so it is found here instead.
QList<Look::Field> fieldsIn(QWidget* root)
{
    QList<Look::Field> fields;
    const auto add = [&](QWidget* field, QWidget* surface, QRect text, QRect caret, const QString& words) {
        const QRect shown = surface->visibleRegion().boundingRect();
        text &= shown;
        if (words.trimmed().isEmpty() || !field->isVisibleTo(root) || !field->isEnabled() || text.isEmpty())
            return;
        const QPoint at = surface->mapTo(root, QPoint());
        fields.append({ text.translated(at), caret.translated(at).adjusted(-1, -1, 1, 1),
            u"\""_s + words.left(20) + u"\" in "_s + nameOf(field) });
    };
    for (QPlainTextEdit* editor : root->findChildren<QPlainTextEdit*>()) {
        QTextCursor start(editor->document());
        QTextCursor end(editor->document()->firstBlock());
        end.movePosition(QTextCursor::EndOfBlock);
        const QRect first = editor->cursorRect(start) | editor->cursorRect(end);
        const QRect block(0, first.top(), editor->viewport()->width(), first.height());
        add(editor, editor->viewport(), block, editor->cursorRect(), editor->toPlainText());
    }
    for (QLineEdit* line : root->findChildren<QLineEdit*>()) {
        if (line->echoMode() != QLineEdit::Normal)
            continue;
        QStyleOptionFrame option;
        option.initFrom(line);
        const QRect contents = line->style()->subElementRect(QStyle::SE_LineEditContents, &option, line);
        add(line, line, contents, line->inputMethodQuery(Qt::ImCursorRectangle).toRect(), line->text());
    }
    return fields;
}

QImage over(const QImage& picture, const QColor& desktop)
{
    QImage image(picture.size(), QImage::Format_RGB32);
    image.fill(desktop);
    QPainter painter(&image);
    painter.drawImage(0, 0, picture);
    return image;
}

/// `text` as a failure names it: an editor's runs by the editor's text.
QString wordsOf(const PaintedText& text, const QWidget* at)
{
    if (!text.text.contains(glyphRun))
        return text.text;
    for (; at; at = at->parentWidget()) {
        if (const auto* editor = qobject_cast<const QPlainTextEdit*>(at))
            return editor->toPlainText().left(20);
        if (const auto* editor = qobject_cast<const QTextEdit*>(at))
            return editor->toPlainText().left(20);
    }
    return u"(glyphs)"_s;
}

QString nameOf(const QWidget* widget)
{
    if (!widget)
        return u"?"_s;
    const QString name = widget->objectName();
    return QString::fromLatin1(widget->metaObject()->className()) + (name.isEmpty() ? QString() : u"#"_s + name);
}

void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

Look lookOf(QWidget* root)
{
    settle();
    Look look;
    const QImage picture = root->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    look.overLight = over(picture, Qt::white);
    look.overDark = look.overLight;
    for (int y = 0; y < picture.height() && look.overDark == look.overLight; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        if (std::any_of(row, row + picture.width(), [](QRgb pixel) { return qAlpha(pixel) < 255; }))
            look.overDark = over(picture, Qt::black);
    }
    look.painted = paintedBy(root);
    look.fields = fieldsIn(root);
    for (SymbolView* symbol : root->findChildren<SymbolView*>()) {
        const QRect seen = symbol->visibleRegion().boundingRect();
        if (symbol->isVisibleTo(root) && symbol->isEnabled() && !seen.isEmpty())
            look.glyphs.append({ seen.translated(symbol->mapTo(root, QPoint())), nameOf(symbol) });
    }
    return look;
}

/// The strongest ink inside `area` against the commonest colour around it.
double contrastIn(const QImage& image, const QRect& area)
{
    const QRect box = area.intersected(image.rect());
    if (box.isEmpty())
        return 21;
    const QColor under = dominantColour(image, box.adjusted(-3, -3, 3, 3));
    double best = 1;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            best = std::max(best, contrastRatio(image.pixelColor(x, y), under));
    return best;
}

/// Whether what is drawn in `area` has many colours, as a colour emoji has, rather than one
/// ink smoothed into its background: two hues or more, each on several strong pixels.
bool manyColoured(const QImage& image, const QRect& area)
{
    const QRect box = area.intersected(image.rect());
    const QColor under = dominantColour(image, box.adjusted(-3, -3, 3, 3));
    std::map<int, int> hues;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.hsvSaturation() > 90 && pixel.value() > 60 && contrastRatio(pixel, under) > 1.3)
                ++hues[pixel.hsvHue() / 40];
        }
    }
    int kinds = 0;
    for (const auto& [hue, count] : hues)
        kinds += count >= 4 ? 1 : 0;
    return kinds >= 2;
}

/// Whether `text` holds a letter, a digit or a CJK character: a run of punctuation or of
/// spaces alone is part of a line, not a text to be read on its own.
bool readable(const QString& text)
{
    if (text.contains(glyphRun))
        return true;
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isLetterOrNumber(); });
}

/// The runs of one line laid end to end (a line changes font where its script does), as
/// one text: its ink, the clip it was drawn in and its words.
QList<PaintedText> linesOf(const QList<PaintedText>& runs)
{
    QList<PaintedText> lines;
    for (const PaintedText& run : runs) {
        if (isEmojiOnly(run.text))
            continue;
        bool joined = false;
        for (PaintedText& line : lines) {
            const bool sameLine = std::abs(line.line.bottom() - run.line.bottom()) <= 3 && line.clip == run.clip;
            const bool touching = run.line.left() - line.line.right() <= run.pixelSize
                && line.line.left() - run.line.right() <= run.pixelSize;
            if (sameLine && touching) {
                line.text += run.text;
                line.line |= run.line;
                line.ink |= run.ink;
                line.pixelSize = std::min(line.pixelSize, run.pixelSize);
                joined = true;
                break;
            }
        }
        if (!joined)
            lines.append(run);
    }
    return lines;
}

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
        if (look.overDark != look.overLight) {
            checkTexts(look.painted, look.overDark);
            checkGlyphs(look, look.overDark);
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
            if (!room.contains(text.ink) && inkAtEdge(image, text)) {
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
