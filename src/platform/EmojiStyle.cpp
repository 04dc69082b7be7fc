#include "platform/EmojiStyle.h"

#include "platform/EmojiTextFields.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QStringView>
#include <QStyleOptionMenuItem>
#include <QTextLayout>
#include <QtMath>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr char32_t zeroWidthJoiner = 0x200D;
constexpr char32_t emojiPresentation = 0xFE0F;
constexpr char32_t combiningKeycap = 0x20E3;

bool isSkinTone(char32_t c)
{
    return c >= 0x1F3FB && c <= 0x1F3FF;
}

bool isTag(char32_t c)
{
    return c >= 0xE0020 && c <= 0xE007F;
}

bool isRegionalIndicator(char32_t c)
{
    return c >= 0x1F1E6 && c <= 0x1F1FF;
}

// Characters shown as emoji without a presentation selector: everything in the
// supplementary pictograph planes, and the symbols below them that are emoji by default.
bool isEmojiByDefault(char32_t c)
{
    if (c >= 0x1F000 && c <= 0x1FAFF)
        return true;
    static constexpr char32_t defaults[][2] = { { 0x231A, 0x231B }, { 0x23E9, 0x23EC }, { 0x23F0, 0x23F0 },
        { 0x23F3, 0x23F3 }, { 0x25FD, 0x25FE }, { 0x2614, 0x2615 }, { 0x2648, 0x2653 }, { 0x267F, 0x267F },
        { 0x2693, 0x2693 }, { 0x26A1, 0x26A1 }, { 0x26AA, 0x26AB }, { 0x26BD, 0x26BE }, { 0x26C4, 0x26C5 },
        { 0x26CE, 0x26CE }, { 0x26D4, 0x26D4 }, { 0x26EA, 0x26EA }, { 0x26F2, 0x26F3 }, { 0x26F5, 0x26F5 },
        { 0x26FA, 0x26FA }, { 0x26FD, 0x26FD }, { 0x2705, 0x2705 }, { 0x270A, 0x270B }, { 0x2728, 0x2728 },
        { 0x274C, 0x274C }, { 0x274E, 0x274E }, { 0x2753, 0x2755 }, { 0x2757, 0x2757 }, { 0x2795, 0x2797 },
        { 0x27B0, 0x27B0 }, { 0x27BF, 0x27BF }, { 0x2B1B, 0x2B1C }, { 0x2B50, 0x2B50 }, { 0x2B55, 0x2B55 } };
    return std::any_of(std::begin(defaults), std::end(defaults), [c](const auto& r) { return c >= r[0] && c <= r[1]; });
}

bool isModifier(char32_t c)
{
    return isSkinTone(c) || c == emojiPresentation || c == combiningKeycap || isTag(c);
}

struct CodePoints
{
    QList<char32_t> values;
    QList<qsizetype> offsets; // UTF-16 offset of each code point, and the text's length last
};

CodePoints codePoints(const QString& text)
{
    CodePoints result;
    const QList<uint> ucs4 = text.toUcs4();
    qsizetype offset = 0;
    for (const uint c : ucs4) {
        result.values.append(char32_t(c));
        result.offsets.append(offset);
        offset += c > 0xFFFF ? 2 : 1;
    }
    result.offsets.append(offset);
    return result;
}

// Removes the '&' marks of menu and button texts the way QPainter::drawText does.
QString withoutMnemonics(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'&' && i + 1 < text.size())
            ++i;
        result.append(text.at(i));
    }
    return result;
}

/// What the menu-item drawing measures a label's start by: a letter every font has.
const QString referenceLetter = u"H"_s;

/// The leftmost column in which two pictures of one size differ, or -1.
int firstDifferentColumn(const QImage& a, const QImage& b)
{
    for (int x = 0; x < a.width(); ++x) {
        for (int y = 0; y < a.height(); ++y) {
            if (a.pixel(x, y) != b.pixel(x, y))
                return x;
        }
    }
    return -1;
}

/// A menu item's label: its text up to the shortcut, without the mnemonic marks.
QString menuLabel(const QStyleOptionMenuItem& item)
{
    const qsizetype tab = item.text.indexOf(u'\t');
    return withoutMnemonics(item.text.left(tab < 0 ? item.text.size() : tab));
}

} // namespace

EmojiStyle::EmojiStyle(QStyle* base)
    : QProxyStyle(base)
{
}

void EmojiStyle::installOnApplication()
{
    QApplication::setStyle(new EmojiStyle); // the application takes it
}

QList<EmojiStyle::Run> EmojiStyle::emojiRuns(const QString& text)
{
    const CodePoints cps = codePoints(text);
    const QList<char32_t>& c = cps.values;
    const qsizetype n = c.size();
    QList<Run> runs;
    qsizetype i = 0;
    while (i < n) {
        // A skin tone asks for the emoji as a selector does: ✌🏽 carries none. ☝ is the
        // first character that takes one.
        const bool selected = i + 1 < n
            && (c[i + 1] == emojiPresentation || c[i + 1] == combiningKeycap
                || (isSkinTone(c[i + 1]) && c[i] >= 0x261D));
        if (!isEmojiByDefault(c[i]) && !selected) {
            ++i;
            continue;
        }
        const qsizetype first = i;
        if (isRegionalIndicator(c[i]) && i + 1 < n && isRegionalIndicator(c[i + 1]))
            ++i; // a flag is a pair
        ++i;
        while (i < n) {
            if (isModifier(c[i]))
                ++i;
            else if (c[i] == zeroWidthJoiner && i + 1 < n)
                i += 2;
            else
                break;
        }
        runs.append({ cps.offsets[first], cps.offsets[i] - cps.offsets[first] });
    }
    return runs;
}

QString EmojiStyle::colorEmojiFamily()
{
    static const QString family = [] {
        const QString wanted = u"Noto Color Emoji"_s;
        return QFontDatabase::families().contains(wanted) ? wanted : QString();
    }();
    return family;
}

void EmojiStyle::drawItemText(QPainter* painter, const QRect& rect, int flags, const QPalette& palette, bool enabled,
    const QString& text, QPalette::ColorRole textRole) const
{
    const bool mnemonics = (flags & (Qt::TextShowMnemonic | Qt::TextHideMnemonic)) != 0;
    const QString shown = mnemonics ? withoutMnemonics(text) : text;
    const QList<Run> runs = emojiRuns(shown);
    if (runs.isEmpty() || colorEmojiFamily().isEmpty()) {
        QProxyStyle::drawItemText(painter, rect, flags, palette, enabled, text, textRole);
        return;
    }
    painter->save();
    if (textRole != QPalette::NoRole)
        painter->setPen(QPen(palette.brush(textRole), painter->pen().widthF()));
    drawRuns(*painter, rect, flags, shown, runs);
    painter->restore();
}

QList<QTextLayout::FormatRange> EmojiStyle::emojiFormats(const QString& text)
{
    return colorEmojiFamily().isEmpty() ? QList<QTextLayout::FormatRange>() : formatsOf(emojiRuns(text));
}

QList<QTextLayout::FormatRange> EmojiStyle::formatsOf(const QList<Run>& runs)
{
    QList<QTextLayout::FormatRange> formats;
    for (const Run& run : runs) {
        QTextCharFormat emoji;
        // The colour font alone for the whole sequence, so no plain font takes part of it.
        emoji.setFontFamilies(QStringList { colorEmojiFamily() });
        formats.append({ int(run.start), int(run.length), emoji });
    }
    return formats;
}

void EmojiStyle::drawText(QPainter& painter, const QRect& rect, int flags, const QString& text)
{
    const QList<Run> runs = emojiRuns(text);
    if (runs.isEmpty() || colorEmojiFamily().isEmpty())
        painter.drawText(rect, flags, text);
    else
        drawRuns(painter, rect, flags, text, runs);
}

void EmojiStyle::polish(QWidget* widget)
{
    QProxyStyle::polish(widget);
    EmojiTextFields::equip(widget);
}

void EmojiStyle::drawRuns(QPainter& painter, const QRect& rect, int flags, const QString& shown, const QList<Run>& runs)
{
    QTextLayout layout(shown, painter.font(), painter.device());
    QTextOption option(Qt::Alignment(flags) & Qt::AlignHorizontal_Mask);
    option.setWrapMode((flags & Qt::TextWordWrap) ? QTextOption::WordWrap : QTextOption::ManualWrap);
    layout.setTextOption(option);
    layout.setFormats(formatsOf(runs));

    qreal height = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(rect.width());
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();

    qreal top = rect.top();
    if (flags & Qt::AlignBottom)
        top = rect.bottom() + 1 - height;
    else if (flags & Qt::AlignVCenter)
        top = rect.top() + (rect.height() - height) / 2;

    layout.draw(&painter, QPointF(rect.left(), top));
}

void EmojiStyle::drawControl(
    ControlElement element, const QStyleOption* option, QPainter* painter, const QWidget* widget) const
{
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    const qsizetype tab = item ? item->text.indexOf(u'\t') : -1;
    const QString label = item ? item->text.left(tab < 0 ? item->text.size() : tab) : QString();
    if (element != CE_MenuItem || !item || colorEmojiFamily().isEmpty() || emojiRuns(menuLabel(*item)).isEmpty()) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }

    QStyleOptionMenuItem bare(*item);
    bare.text = tab < 0 ? QString() : item->text.mid(tab); // the shortcut stays
    QProxyStyle::drawControl(element, &bare, painter, widget);

    // The style keeps its label geometry to itself: a letter drawn alone over the same item
    // tells where its labels start, less the letter's own side bearing. (The label's own ink
    // would not: each emoji stands a different way into its advance.)
    const QRect area = item->rect;
    const auto render = [&](const QStyleOptionMenuItem& what) {
        QImage image(area.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.translate(-area.topLeft());
        QProxyStyle::drawControl(element, &what, &p, widget);
        return image;
    };
    QStyleOptionMenuItem lettered(bare);
    lettered.text = referenceLetter + bare.text;
    const int letter = firstDifferentColumn(render(lettered), render(bare));
    if (letter < 0)
        return;
    const int left = letter - inkBounds(referenceLetter, item->font).left();

    const bool enabled = item->state & State_Enabled;
    const bool selected = item->state & State_Selected;
    QPalette palette = item->palette;
    palette.setCurrentColorGroup(enabled ? QPalette::Active : QPalette::Disabled);
    painter->save();
    painter->setFont(item->font);
    const QRect labelRect(area.x() + left, area.y(), area.width() - left, area.height());
    drawItemText(painter, labelRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextHideMnemonic,
        palette, enabled, label, selected ? QPalette::HighlightedText : QPalette::Text);
    painter->restore();
}

QSize EmojiStyle::sizeFromContents(
    ContentsType type, const QStyleOption* option, const QSize& contentsSize, const QWidget* widget) const
{
    QSize size = QProxyStyle::sizeFromContents(type, option, contentsSize, widget);
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (type != CT_MenuItem || !item || colorEmojiFamily().isEmpty())
        return size;
    const QString label = menuLabel(*item);
    const QList<Run> runs = emojiRuns(label);
    if (runs.isEmpty())
        return size;
    // The menu measured the label with the text font's fallback glyphs: a black-and-white
    // 😉 of DejaVu's is narrower than the colour one, a joined sequence falls apart into
    // several glyphs that take far more room than its one.
    const int drawn = qCeil(drawnWidth(label, item->font, runs));
    const int measured = QFontMetrics(item->font).horizontalAdvance(label);
    size.rwidth() += drawn - measured;
    return size;
}

qreal EmojiStyle::drawnWidth(const QString& text, const QFont& font, const QList<Run>& runs)
{
    QTextLayout layout(text, font);
    layout.setFormats(formatsOf(runs));
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setNumColumns(int(text.size()));
    layout.endLayout();
    return line.naturalTextWidth();
}

qreal EmojiStyle::horizontalAdvance(const QString& text, const QFont& font)
{
    const QList<Run> runs = emojiRuns(text);
    if (runs.isEmpty() || colorEmojiFamily().isEmpty())
        return QFontMetricsF(font).horizontalAdvance(text);
    return drawnWidth(text, font, runs);
}

QRect EmojiStyle::inkBounds(const QString& text, const QFont& font)
{
    const QFontMetrics metrics(font);
    const int margin = metrics.height();
    const QSize line(qCeil(horizontalAdvance(text, font)), metrics.height());
    QImage image(line + QSize(4 * margin, 4 * margin), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    drawText(painter, QRect(QPoint(margin, margin), line), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    painter.end();
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(row[x]) > 0)
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink.translated(-margin, -margin);
}
