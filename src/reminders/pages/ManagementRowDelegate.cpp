#include "reminders/pages/ManagementRowDelegate.h"

#include "platform/EmojiStyle.h"
#include "platform/SecondaryColour.h"
#include "reminders/pages/ManagementListModel.h"
#include "widgets/EmojiLabel.h"
#include "widgets/FocusRing.h"
#include "widgets/ReadableColour.h"
#include "widgets/SecondaryText.h"
#include "widgets/Spacing.h"
#include "widgets/Symbols.h"
#include "widgets/TextStyle.h"

#include "platform/TextFitting.h"
#include <QAbstractItemView>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>
#include <QToolTip>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr int padding = Spacing::standardPadding;
constexpr int spacing = 12;
constexpr int buttonSize = 26;
constexpr QSize switchSize(38, 22);

QColor withAlpha(QColor colour, qreal alpha)
{
    colour.setAlphaF(alpha);
    return colour;
}

/// What a card of `tint` looks like over the page.
QColor cardColour(const QPalette& palette, const QColor& tint)
{
    return SecondaryColour::opaqueOver(tint, palette.color(QPalette::Window));
}

/// The secondary text colour on a card of `tint`.
QColor secondary(const QPalette& palette, const QColor& tint)
{
    return SecondaryText::colour(palette.color(QPalette::WindowText), palette.color(QPalette::Window), tint);
}

/// A row's edit or delete symbol in `colour`, drawn on a faint disc of that colour while the
/// mouse is over it.
void paintButtonSymbol(QPainter& painter, const QRectF& box, Symbols::Symbol symbol, const QColor& colour, bool hovered)
{
    const qreal side = TextStyle::pixelSizeOf(TextStyle::font(TextStyle::Style::title3));
    const QRectF glyph(box.center() - QPointF(side / 2, side / 2), QSizeF(side, side));
    if (hovered) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(withAlpha(colour, 0.15));
        painter.drawEllipse(glyph);
    }
    Symbols::paint(painter, glyph, symbol, colour);
}

/// Breaks `layout`'s text into lines of `width`: between words where it can, within a word
/// longer than a line. Lays out at most `maxLines` lines when it is given, and one more to
/// tell whether text is left over. Returns the height of all lines.
qreal layOutLines(QTextLayout& layout, qreal width, int maxLines = 0)
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.setFormats(EmojiStyle::emojiFormats(layout.text()));
    layout.setCacheEnabled(true);
    qreal y = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
        if (maxLines > 0 && line.lineNumber() >= maxLines)
            break;
    }
    layout.endLayout();
    return y;
}

QString titleText(QString title)
{
    // A line break in a stored title starts a new line, as typed.
    title.replace(u'\n', QChar::LineSeparator);
    return title;
}

/// The title as a row shows it: whole while it takes at most `ManagementRowDelegate::titleLines`
/// lines of `width` in `font`, else those lines with the last one ending in "…".
QString shownTitle(const QString& title, const QFont& font, int width)
{
    const QString text = titleText(title);
    QTextLayout layout(text, font);
    layOutLines(layout, width, ManagementRowDelegate::titleLines);
    if (layout.lineCount() <= ManagementRowDelegate::titleLines)
        return text;
    const int lastStart = layout.lineAt(ManagementRowDelegate::titleLines - 1).textStart();
    QString rest = text.mid(lastStart);
    rest.replace(QChar::LineSeparator, u' ');
    // No line holds more characters than it has pixels: eliding need not measure the rest.
    rest.truncate(std::max(1, width));
    const QFontMetrics metrics(font);
    QString shown = text.left(lastStart) + metrics.elidedText(rest + u'…', Qt::ElideRight, width);
    // A fallback font can draw the last line a little wider than the metrics said.
    for (int cut = 1; cut < rest.size(); ++cut) {
        QTextLayout check(shown, font);
        layOutLines(check, width, ManagementRowDelegate::titleLines);
        if (check.lineCount() <= ManagementRowDelegate::titleLines)
            break;
        shown = text.left(lastStart) + metrics.elidedText(rest.left(rest.size() - cut) + u'…', Qt::ElideRight, width);
    }
    return shown;
}

struct TextFonts
{
    QFont title = TextStyle::font(TextStyle::Style::body, QFont::Medium);
    QFont caption = TextStyle::font(TextStyle::Style::caption);
    QFont detail = TextStyle::font(TextStyle::Style::caption2);
};

/// The title's height over its lines, and the height of the caption and detail lines.
int textBlockHeight(qreal titleHeight, const TextFonts& fonts)
{
    const int titleLines = std::max(QFontMetrics(fonts.title).height(), static_cast<int>(std::ceil(titleHeight)));
    return titleLines + 4 + QFontMetrics(fonts.caption).height() + 4 + QFontMetrics(fonts.detail).height();
}

} // namespace

void paintSwitch(QPainter& painter, const QRectF& rect, bool on, const QColor& surface, bool enabled)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal radius = rect.height() / 2;
    QColor track = on ? RowColours::blue : withAlpha(RowColours::gray, 0.25);
    if (!enabled)
        track = withAlpha(track, track.alphaF() * 0.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(track);
    painter.drawRoundedRect(rect, radius, radius);
    if (!on) {
        // A faint grey track alone vanishes on a dark row: its outline stands out from what
        // it is drawn on in any palette.
        QColor edge = ReadableColour::on(RowColours::gray, surface, 3.2);
        if (!enabled)
            edge = withAlpha(edge, 0.5);
        painter.setPen(QPen(edge, 1));
        painter.setBrush(Qt::NoBrush);
        const QRectF outline = rect.adjusted(0.5, 0.5, -0.5, -0.5);
        painter.drawRoundedRect(outline, outline.height() / 2, outline.height() / 2);
        painter.setPen(Qt::NoPen);
    }
    const qreal knob = rect.height() - 4;
    const QRectF knobRect(on ? rect.right() - 2 - knob : rect.left() + 2, rect.top() + 2, knob, knob);
    painter.setBrush(QColor(0, 0, 0, 30));
    painter.drawEllipse(knobRect.translated(0, 0.6));
    painter.setBrush(Qt::white);
    painter.drawEllipse(knobRect);
    painter.restore();
}

ManagementRowDelegate::ManagementRowDelegate(int rowGap, bool gapAfterLast, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_rowGap(rowGap)
    , m_gapAfterLast(gapAfterLast)
{
}

ManagementRowDelegate::Geometry ManagementRowDelegate::geometry(const QRect& card, bool canDelete)
{
    Geometry g;
    g.card = card;
    const int middle = g.card.center().y();
    g.toggle = QRect(QPoint(g.card.left() + padding, middle - switchSize.height() / 2), switchSize);
    g.emoji = QRect(g.toggle.right() + 1 + spacing, g.card.top(), 32, g.card.height());
    int right = g.card.right() - padding;
    if (canDelete) {
        g.remove = QRect(right - buttonSize + 1, middle - buttonSize / 2, buttonSize, buttonSize);
        right = g.remove.left() - 8 - 1;
    }
    g.edit = QRect(right - buttonSize + 1, middle - buttonSize / 2, buttonSize, buttonSize);
    const int textLeft = g.emoji.right() + 1 + spacing;
    g.text = QRect(textLeft, g.card.top() + padding - 2, std::max(0, g.edit.left() - spacing - textLeft),
        std::max(0, g.card.height() - 2 * (padding - 2)));
    return g;
}

int ManagementRowDelegate::cardHeight(const ManagementRow& row, int width, const QFont& font)
{
    Q_UNUSED(font) // the type scale follows the application font
    const TextFonts fonts;
    const int textWidth = std::max(1, geometry(QRect(0, 0, width, rowHeight), row.canDelete).text.width());
    QTextLayout title(shownTitle(row.title, fonts.title, textWidth), fonts.title);
    const qreal titleHeight = layOutLines(title, textWidth);
    return std::max(rowHeight, textBlockHeight(titleHeight, fonts) + 2 * (padding - 2));
}

bool ManagementRowDelegate::isTitleElided(const ManagementRow& row, const QRect& card)
{
    const int width = std::max(1, geometry(card, row.canDelete).text.width());
    return shownTitle(row.title, TextFonts().title, width) != titleText(row.title);
}

QString ManagementRowDelegate::toolTipText(const QString& title)
{
    if (title.size() <= toolTipCharacters)
        return title;
    // Never between the two halves of a character outside the basic plane.
    qsizetype cut = toolTipCharacters;
    if (title.at(cut - 1).isHighSurrogate())
        --cut;
    return title.left(cut) + u'…';
}

int ManagementRowDelegate::gapBelow(const QModelIndex& index) const
{
    if (!m_gapAfterLast && index.row() == index.model()->rowCount(index.parent()) - 1)
        return 0;
    return m_rowGap;
}

QRect ManagementRowDelegate::cardRect(const QRect& item, const QModelIndex& index) const
{
    return item.adjusted(0, 0, 0, -gapBelow(index));
}

int ManagementRowDelegate::itemHeight(const QModelIndex& index, int width, const QFont& font) const
{
    // Every change of the list lays out all rows again; a title is measured once for each
    // width and font, not once for each change.
    if (width != m_measuredWidth || font != m_measuredFont || m_cardHeights.size() > 4096) {
        m_cardHeights.clear();
        m_measuredWidth = width;
        m_measuredFont = font;
    }
    const auto row = index.data(ManagementListModel::RowRole).value<ManagementRow>();
    const std::pair<QString, bool> key { row.title, row.canDelete };
    auto known = m_cardHeights.constFind(key);
    if (known == m_cardHeights.cend())
        known = m_cardHeights.insert(key, cardHeight(row, width, font));
    return *known + gapBelow(index);
}

int ManagementRowDelegate::rowWidth(const QStyleOptionViewItem& option) const
{
    // The list stretches every row to its width, which the item's own rectangle does not
    // yet know when its size is asked for.
    if (const auto* view = qobject_cast<const QAbstractItemView*>(parent()))
        return view->viewport()->width();
    return option.rect.width();
}

ManagementRowDelegate::Part ManagementRowDelegate::partAt(const QRect& card, bool canDelete, const QPoint& pos)
{
    const Geometry g = geometry(card, canDelete);
    // The switch answers a little around itself, as a finger-sized target.
    if (g.toggle.adjusted(-4, -6, 4, 6).contains(pos))
        return Part::toggle;
    if (g.edit.contains(pos))
        return Part::edit;
    if (canDelete && g.remove.contains(pos))
        return Part::remove;
    return Part::none;
}

QSize ManagementRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    // The list stretches rows to its width; this is only the narrowest a row may get.
    const int width = std::max(rowWidth(option), 200);
    return { width, itemHeight(index, width, option.font) };
}

void ManagementRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const auto row = index.data(ManagementListModel::RowRole).value<ManagementRow>();
    const Geometry g = geometry(cardRect(option.rect, index), row.canDelete);
    const QPalette& palette = option.palette;
    const bool hovered = index == m_hoverIndex;

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QColor tint = row.enabled ? row.accent : RowColours::gray;
    QPainterPath card;
    card.addRoundedRect(QRectF(g.card).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    const QColor cardTint = withAlpha(tint, 0.05);
    painter->fillPath(card, cardTint);
    painter->setPen(QPen(withAlpha(tint, row.enabled ? 0.3 : 0.2), 1));
    painter->drawPath(card);
    // The row the keyboard is at: its edge stands out from the card in the accent colour.
    if (FocusRing::shows(option))
        FocusRing::paint(*painter, QRectF(g.card), 8, palette, cardColour(palette, cardTint));

    paintSwitch(*painter, g.toggle, row.enabled, cardColour(palette, cardTint));

    painter->setFont(EmojiLabel::emojiFont(TextStyle::font(TextStyle::Style::title3)));
    painter->setPen(palette.color(QPalette::WindowText));
    painter->drawText(g.emoji, Qt::AlignCenter, row.emoji);

    // User text is drawn as it is: the painter never reads markup.
    const TextFonts fonts;
    const QFont& captionFont = fonts.caption;
    const QFont& detailFont = fonts.detail;
    QTextLayout title(shownTitle(row.title, fonts.title, std::max(1, g.text.width())), fonts.title);
    const qreal titleLinesHeight = layOutLines(title, std::max(1, g.text.width()));
    const int titleHeight = std::max(QFontMetrics(fonts.title).height(), static_cast<int>(std::ceil(titleLinesHeight)));
    const int captionHeight = QFontMetrics(captionFont).height();
    const int detailHeight = QFontMetrics(detailFont).height();
    const int total = textBlockHeight(titleLinesHeight, fonts);
    int y = g.text.top() + std::max(0, (g.text.height() - total) / 2);

    painter->setPen(palette.color(QPalette::WindowText));
    // One line in a fallback font can be taller or shorter than the title font says; the
    // lines sit in the middle of the title's room.
    title.draw(painter, QPointF(g.text.left(), y + (titleHeight - titleLinesHeight) / 2));
    y += titleHeight + 4;

    painter->setFont(captionFont);
    painter->setPen(secondary(palette, cardTint));
    QString message = row.message;
    message.replace(u'\n', u' ');
    // Unclipped: a line mixing Chinese and Latin text is taller than the font says.
    EmojiStyle::drawText(*painter, QRect(g.text.left(), y, g.text.width(), captionHeight),
        Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip,
        QFontMetrics(captionFont).elidedText(message, Qt::ElideRight, g.text.width()));
    y += captionHeight + 4;

    const QFont markFont = TextStyle::font(TextStyle::Style::body, QFont::Bold);
    int x = g.text.left();
    for (const ManagementRow::Run& run : row.details) {
        const int room = g.text.right() + 1 - x;
        if (room <= 0)
            break;
        const QFont& runFont = run.mark ? markFont : detailFont;
        painter->setFont(runFont);
        const QFontMetrics runMetrics(runFont);
        const QString shown = runMetrics.elidedText(run.text, Qt::ElideRight, room);
        // The details' blue and orange as dark or light as they must be to read on the card,
        // with room for the smoothing of such small strokes.
        painter->setPen(run.colour.isValid() ? ReadableColour::on(run.colour, cardColour(palette, cardTint), 5.0)
                                             : secondary(palette, cardTint));
        painter->drawText(QRect(x, y, room, detailHeight),
            Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip, shown);
        x += runMetrics.horizontalAdvance(shown) + 8;
    }

    const QColor surface = cardColour(palette, cardTint);
    const QColor text = palette.color(QPalette::WindowText);
    paintButtonSymbol(*painter, g.edit, Symbols::Symbol::pencilCircle, text, hovered && m_hoverPart == Part::edit);
    if (row.canDelete) {
        const QColor red = Symbols::colourOn(Symbols::Tint::red, surface, text, palette.color(QPalette::Highlight));
        paintButtonSymbol(
            *painter, g.remove, Symbols::Symbol::trashCircle, red, hovered && m_hoverPart == Part::remove);
    }
    painter->restore();
}

bool ManagementRowDelegate::editorEvent(
    QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option, const QModelIndex& index)
{
    const auto row = index.data(ManagementListModel::RowRole).value<ManagementRow>();
    switch (event->type()) {
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const Part part = partAt(cardRect(option.rect, index), row.canDelete, mouse->position().toPoint());
        if (index != m_hoverIndex || part != m_hoverPart) {
            m_hoverIndex = index;
            m_hoverPart = part;
            if (auto* view = qobject_cast<QAbstractItemView*>(parent()))
                view->viewport()->update();
        }
        return false;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        m_pressIndex = index;
        m_pressPart = partAt(cardRect(option.rect, index), row.canDelete, mouse->position().toPoint());
        return m_pressPart != Part::none;
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        const Part part = partAt(cardRect(option.rect, index), row.canDelete, mouse->position().toPoint());
        const bool samePlace = index == m_pressIndex && part == m_pressPart;
        m_pressIndex = QPersistentModelIndex();
        m_pressPart = Part::none;
        if (!samePlace)
            return false;
        switch (part) {
        case Part::toggle:
            Q_EMIT onToggle(row.id);
            return true;
        case Part::edit:
            Q_EMIT onEdit(row.id);
            return true;
        case Part::remove:
            Q_EMIT onDelete(row.id);
            return true;
        case Part::none:
            return false;
        }
        return false;
    }
    default:
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    }
}

void ManagementRowDelegate::clearHover()
{
    m_hoverIndex = QPersistentModelIndex();
    m_hoverPart = Part::none;
}

bool ManagementRowDelegate::helpEvent(
    QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (event->type() == QEvent::ToolTip && index.isValid()) {
        const auto row = index.data(ManagementListModel::RowRole).value<ManagementRow>();
        QString tip;
        switch (partAt(cardRect(option.rect, index), row.canDelete, event->pos())) {
        case Part::edit:
            tip = u"编辑"_s;
            break;
        case Part::remove:
            tip = u"删除"_s;
            break;
        case Part::toggle:
            break;
        case Part::none:
            // A title cut short shows in the tool tip, as text: never read as markup.
            if (isTitleElided(row, cardRect(option.rect, index)))
                tip = TextFitting::plainToolTip(toolTipText(row.title));
            break;
        }
        if (!tip.isEmpty()) {
            QToolTip::showText(event->globalPos(), tip, view);
            return true;
        }
        QToolTip::hideText();
        return true;
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}
