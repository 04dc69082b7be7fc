#include "driftbottle/unwired/BottleRowView.h"

#include "driftbottle/unwired/BottleListModel.h"
#include "driftbottle/unwired/BottlePresentation.h"
#include "platform/EmojiStyle.h"
#include "widgets/EmojiLabel.h"
#include "widgets/FocusRing.h"
#include "widgets/ReadableColour.h"
#include "widgets/SecondaryText.h"
#include "widgets/Spacing.h"
#include "widgets/Symbols.h"
#include "widgets/TextStyle.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>
#include <QtMath>

using namespace Qt::StringLiterals;

namespace {

// The card's own padding, and the list's around the cards: both the standard one.
constexpr int padding = Spacing::standardPadding;
constexpr int sideMargin = Spacing::standardPadding;
constexpr int typeColumn = 50;
constexpr int spacing = 12;
constexpr int chevronWidth = 14;

struct Fonts
{
    QFont body, headline, caption, mark, emoji, emojiCaption;

    explicit Fonts(const QFont& base)
        : body(TextStyle::font(TextStyle::Style::body))
        , headline(TextStyle::font(TextStyle::Style::headline))
        , caption(TextStyle::font(TextStyle::Style::caption))
    {
        mark = EmojiLabel::emojiFont(TextStyle::systemFont(30));
        emoji = EmojiLabel::emojiFont(base);
        emojiCaption = EmojiLabel::emojiFont(caption);
    }
};

/// The height of a line as drawn: Chinese text comes from a fallback font whose lines are
/// taller than those of the base font.
int lineHeight(const QFont& font)
{
    QTextLayout layout(u"汉Ag"_s, font);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(1000);
    layout.endLayout();
    return qMax(QFontMetrics(font).lineSpacing(), qCeil(line.height()));
}

/// The status badge: its emoji and label 4 px apart, 8 px inside its ends and 2 inside
/// its top and bottom.
constexpr int badgeSpacing = 4;
constexpr int badgePaddingX = 8;
constexpr int badgePaddingY = 2;

int badgeHeight(const Fonts& fonts)
{
    return qMax(lineHeight(fonts.emoji), lineHeight(fonts.caption)) + 2 * badgePaddingY;
}

/// The header line holds the sender and, on the sent list, the badge, the tallest of them.
int headerLineHeight(const Fonts& fonts, bool withBadge)
{
    const int sender = qMax(lineHeight(fonts.headline), lineHeight(fonts.emoji));
    return withBadge ? qMax(sender, badgeHeight(fonts)) : sender;
}

/// A card's faint grey, a shade deeper under the mouse.
QColor cardTint(bool hovered)
{
    return QColor(128, 128, 128, hovered ? 30 : 13);
}

/// Cards stand under their faint grey on whatever shows through the see-through list: the
/// page's window or the tabbed screen's base.
QColor secondary(const QStyleOptionViewItem& option, bool hovered)
{
    const QColor under = option.widget ? SecondaryText::backdrop(option.widget) : option.palette.color(QPalette::Base);
    return SecondaryText::colour(option.palette.color(QPalette::Text), under, cardTint(hovered));
}

/// The tags' blue, hue kept, shifted just enough to read on the card's grey over what
/// shows through the list.
QColor tagColour(const QStyleOptionViewItem& option, bool hovered)
{
    const QColor under = option.widget ? SecondaryText::backdrop(option.widget) : option.palette.color(QPalette::Base);
    return ReadableColour::on(QColor(0x00, 0x7a, 0xff), SecondaryColour::opaqueOver(cardTint(hovered), under));
}

/// The date's digits are thin at the caption size, and a screen smooths them lighter than
/// their ink (measured on X: the ink's 5:1 drawn at 4.4:1). Their ink stands further from
/// the card than other secondary text, so the digits as drawn still read at 4.5:1.
QColor dateColour(const QStyleOptionViewItem& option, bool hovered)
{
    const QColor under = option.widget ? SecondaryText::backdrop(option.widget) : option.palette.color(QPalette::Base);
    return ReadableColour::on(
        secondary(option, hovered), SecondaryColour::opaqueOver(cardTint(hovered), under), BottleRowView::dateContrast);
}

} // namespace

BottleRowView::BottleRowView(bool showStatus, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_showStatus(showStatus)
{
}

QString BottleRowView::previewText(const QString& text, const QFont& font, int width, int lines)
{
    QString flowing = text;
    flowing.replace(u'\n', QChar::LineSeparator);
    QTextLayout layout(flowing, font);
    // Broken where the lines drawn in the colour emoji font end.
    layout.setFormats(EmojiStyle::emojiFormats(flowing));
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList shown;
    layout.beginLayout();
    for (int n = 0; n < lines; ++n) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        const bool last = n == lines - 1;
        const QString rest = flowing.mid(line.textStart());
        const QString own = flowing.mid(line.textStart(), line.textLength());
        if (last && rest.size() > own.size()) {
            QString tail = rest;
            tail.replace(QChar::LineSeparator, u' ');
            // Elide on the whole remainder, so the "…" tells that more follows.
            QString elided = QFontMetrics(font).elidedText(tail, Qt::ElideRight, width);
            if (elided == tail)
                elided = own.trimmed() + QChar(0x2026);
            shown.append(elided);
        } else {
            shown.append(QString(own).remove(QChar::LineSeparator));
        }
    }
    layout.endLayout();
    return shown.join(u'\n');
}

QSize BottleRowView::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    const Fonts fonts(option.font);
    const int text = headerLineHeight(fonts, m_showStatus) + 6 + previewLines * lineHeight(fonts.body) + 6
        + lineHeight(fonts.caption) + 2;
    return { 300, gap + 2 * padding + qMax(text, 40) };
}

void BottleRowView::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const auto* bottle = static_cast<const DriftBottle*>(index.data(BottleListModel::bottleRole).value<const void*>());
    if (!bottle)
        return;
    const Fonts fonts(option.font);
    const QPalette& palette = option.palette;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);

    const QRectF card
        = QRectF(option.rect).adjusted(sideMargin + 0.5, gap / 2.0 + 0.5, -sideMargin - 0.5, -gap / 2.0 - 0.5);
    QPainterPath outline;
    outline.addRoundedRect(card, 12, 12);
    const bool hovered = option.state & QStyle::State_MouseOver;
    painter->fillPath(outline, cardTint(hovered));
    painter->setPen(QPen(QColor(128, 128, 128, 51), 1));
    painter->drawPath(outline);
    if (FocusRing::shows(option)) {
        const QColor under
            = option.widget ? SecondaryText::backdrop(option.widget) : option.palette.color(QPalette::Base);
        FocusRing::paint(*painter, card.adjusted(-0.5, -0.5, 0.5, 0.5), 12, palette,
            SecondaryColour::opaqueOver(cardTint(hovered), under));
    }

    const QRect inner = card.toAlignedRect().adjusted(padding, padding, -padding, -padding);

    painter->setFont(fonts.mark);
    painter->setPen(palette.color(QPalette::Text));
    painter->drawText(QRect(inner.left(), inner.top(), typeColumn, inner.height()), Qt::AlignCenter,
        BottlePresentation::typeMark(bottle->bottleType));

    const QRect chevron(inner.right() - chevronWidth + 1, inner.top(), chevronWidth, inner.height());
    const qreal chevronSide = TextStyle::pixelSizeOf(fonts.body);
    Symbols::paint(*painter,
        QRectF(chevron.center().x() + 0.5 - chevronSide / 2, chevron.center().y() + 0.5 - chevronSide / 2, chevronSide,
            chevronSide),
        Symbols::Symbol::chevronRight, secondary(option, hovered));

    QRect column(inner.left() + typeColumn + spacing, inner.top(), 0, inner.height());
    column.setRight(chevron.left() - spacing);

    // Header: sender emoji and name, and on the sent list the status badge at the far end.
    const int headerHeight = headerLineHeight(fonts, m_showStatus);
    int x = column.left();
    painter->setFont(fonts.emoji);
    painter->setPen(palette.color(QPalette::Text));
    const int emojiWidth = QFontMetrics(fonts.emoji).horizontalAdvance(bottle->senderEmoji);
    painter->drawText(QRect(x, column.top(), emojiWidth, headerHeight), Qt::AlignVCenter, bottle->senderEmoji);
    x += emojiWidth + (bottle->senderEmoji.isEmpty() ? 0 : 6);
    int nameRight = column.right();
    if (m_showStatus) {
        // The status emoji at the card's own size, 4 px before the caption-sized label.
        const BottlePresentation::StatusBadge badge = BottlePresentation::statusBadge(bottle->status);
        const int emojiWide = QFontMetrics(fonts.emoji).horizontalAdvance(badge.emoji);
        const int labelWide = QFontMetrics(fonts.caption).horizontalAdvance(badge.label);
        const int width = badgePaddingX + emojiWide + badgeSpacing + labelWide + badgePaddingX;
        const int height = badgeHeight(fonts);
        const QRect pill(column.right() - width + 1, column.top() + (headerHeight - height) / 2, width, height);
        QColor tint = badge.colour;
        tint.setAlphaF(0.2);
        QPainterPath pillPath;
        pillPath.addRoundedRect(QRectF(pill), 12, 12);
        painter->fillPath(pillPath, tint);
        painter->setPen(palette.color(QPalette::Text));
        const QRect inside = pill.adjusted(badgePaddingX, 0, -badgePaddingX, 0);
        painter->setFont(fonts.emoji);
        painter->drawText(QRect(inside.left(), inside.top(), emojiWide, inside.height()), Qt::AlignCenter, badge.emoji);
        painter->setFont(fonts.emojiCaption);
        painter->drawText(QRect(inside.left() + emojiWide + badgeSpacing, inside.top(), labelWide, inside.height()),
            Qt::AlignCenter, badge.label);
        nameRight = pill.left() - 8;
    }
    painter->setFont(fonts.headline);
    const QRect nameBox(x, column.top(), qMax(0, nameRight - x), headerHeight);
    // The name, the text and the themes are what people typed: their emoji in colour.
    EmojiStyle::drawText(*painter, nameBox, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine | Qt::TextDontClip,
        QFontMetrics(fonts.headline).elidedText(bottle->senderName, Qt::ElideRight, nameBox.width()));

    // Preview: at most two lines of the text.
    const int previewTop = column.top() + headerHeight + 6;
    const int previewHeight = previewLines * lineHeight(fonts.body);
    painter->setFont(fonts.body);
    painter->setPen(secondary(option, hovered));
    const QStringList lines = previewText(bottle->content, fonts.body, column.width(), previewLines).split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QRect lineBox(
            column.left(), previewTop + int(i) * lineHeight(fonts.body), column.width(), lineHeight(fonts.body));
        EmojiStyle::drawText(
            *painter, lineBox, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip, lines[i]);
    }

    // Footer: tags on the left, the date on the right.
    const QRect footer(column.left(), previewTop + previewHeight + 6, column.width(), lineHeight(fonts.caption));
    painter->setFont(fonts.caption);
    const QString date = BottlePresentation::rowDate(bottle->createdAt);
    const int dateWidth = QFontMetrics(fonts.caption).horizontalAdvance(date);
    painter->setPen(dateColour(option, hovered));
    painter->drawText(footer, Qt::AlignRight | Qt::AlignVCenter, date);
    const QString tags = BottlePresentation::tagTexts(bottle->theme).join(u' ');
    if (!tags.isEmpty()) {
        painter->setPen(tagColour(option, hovered));
        const int tagsWidth = qMax(0, footer.width() - dateWidth - spacing);
        EmojiStyle::drawText(*painter, QRect(footer.left(), footer.top(), tagsWidth, footer.height()),
            Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip,
            QFontMetrics(fonts.caption).elidedText(tags, Qt::ElideRight, tagsWidth));
    }
    painter->restore();
}
