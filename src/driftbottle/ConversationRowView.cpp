#include "driftbottle/ConversationRowView.h"

#include "driftbottle/ChatColours.h"
#include "driftbottle/ConversationListModel.h"
#include "platform/EmojiStyle.h"
#include "platform/SecondaryColour.h"
#include "widgets/EmojiLabel.h"
#include "widgets/FocusRing.h"
#include "widgets/ReadableColour.h"
#include "widgets/SecondaryText.h"
#include "widgets/TextStyle.h"

#include <QPainter>
#include <QPainterPath>

using namespace Qt::StringLiterals;

const QString ConversationRowView::unpickedTag = u"未被捡起"_s;

namespace {

constexpr int paddingX = 12;
constexpr int paddingY = 10;
constexpr int spacing = 12;
constexpr int lineSpacing = 4;

QFont headlineFont(const QFont&)
{
    return TextStyle::font(TextStyle::Style::headline);
}

QFont captionFont(const QFont&)
{
    return TextStyle::font(TextStyle::Style::caption);
}

QFont subheadlineFont(const QFont&)
{
    return TextStyle::font(TextStyle::Style::subheadline);
}

QFont tagFont(const QFont&)
{
    return TextStyle::font(TextStyle::Style::caption2);
}

QFont avatarFont(const QFont& base)
{
    QFont font = EmojiLabel::emojiFont(base);
    font.setPixelSize(TextStyle::systemFont(ConversationRowView::avatarPixels).pixelSize());
    return font;
}

/// The avatar's square: an emoji line is taller than its font size.
int avatarBox(const QFont& base)
{
    return QFontMetrics(avatarFont(base)).height();
}

} // namespace

ConversationRowView::ConversationRowView(QObject* parent)
    : QStyledItemDelegate(parent)
{
}

QString ConversationRowView::singleLine(const QString& text)
{
    QString line = text;
    for (QChar& c : line) {
        if (c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u' ';
    }
    return line;
}

QSize ConversationRowView::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    const QFontMetrics headline(headlineFont(option.font));
    const QFontMetrics subline(subheadlineFont(option.font));
    const int text = headline.height() + lineSpacing + subline.height();
    return { dividerInset + 200, std::max(avatarBox(option.font), text) + 2 * paddingY + 1 };
}

void ConversationRowView::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QRect row = option.rect;
    const QPalette& palette = option.palette;
    QColor tint;
    const bool isSelected = index.data(ConversationListModel::SelectedRole).toBool();
    if (isSelected)
        tint = ChatColours::selection();
    else if (option.state & QStyle::State_MouseOver)
        tint = ChatColours::hover(palette);
    if (tint.isValid())
        painter->fillRect(row, tint);
    // The row the keyboard is at, while the list has the focus: outlined in the accent, above
    // the divider at its foot.
    if (FocusRing::shows(option)) {
        const QColor base = palette.color(QPalette::Base);
        FocusRing::paint(*painter, QRectF(row).adjusted(0, 0, 0, -1), 0, palette,
            tint.isValid() ? SecondaryColour::opaqueOver(tint, base) : base);
    }
    // Times and last messages stay readable on a tinted row too.
    const QColor secondary = SecondaryText::colour(palette.color(QPalette::Text), palette.color(QPalette::Base), tint);

    const QRect inner = row.adjusted(paddingX, paddingY, -paddingX, -paddingY - 1);
    const int box = avatarBox(option.font);
    const QRect avatar(inner.left(), inner.center().y() - box / 2, box, box);
    painter->setFont(avatarFont(option.font));
    painter->setPen(palette.color(QPalette::Text));
    painter->drawText(
        avatar, Qt::AlignCenter | Qt::TextSingleLine, index.data(ConversationListModel::AvatarRole).toString());

    const QFont headline = headlineFont(option.font);
    const QFont caption = captionFont(option.font);
    const QFontMetrics headlineMetrics(headline);
    const QFontMetrics captionMetrics(caption);
    const QFontMetrics bodyMetrics(subheadlineFont(option.font));
    const int textLeft = avatar.right() + 1 + spacing;
    const int textWidth = inner.right() + 1 - textLeft;
    const int top = inner.center().y() - (headlineMetrics.height() + lineSpacing + bodyMetrics.height()) / 2;

    // First line: the name, then the time at the right.
    const QString time = index.data(ConversationListModel::TimeTextRole).toString();
    const int timeWidth = captionMetrics.horizontalAdvance(time);
    const QRect firstLine(textLeft, top, textWidth, headlineMetrics.height());
    painter->setFont(caption);
    // The caption size's strokes are thinner than a pixel and come out lighter than their
    // colour once smoothed: the time is dimmed a little less than the larger last message.
    const QColor under = tint.isValid() ? SecondaryColour::opaqueOver(tint, palette.color(QPalette::Base))
                                        : palette.color(QPalette::Base);
    painter->setPen(ReadableColour::on(secondary, under, 5.5));
    painter->drawText(firstLine, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, time);
    painter->setFont(headline);
    painter->setPen(palette.color(QPalette::Text));
    const int nameWidth = std::max(0, textWidth - timeWidth - spacing);
    const QString name = headlineMetrics.elidedText(
        singleLine(index.data(ConversationListModel::NameRole).toString()), Qt::ElideRight, nameWidth);
    EmojiStyle::drawText(*painter, QRect(firstLine.left(), firstLine.top(), nameWidth, firstLine.height()),
        Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip, name);

    // Second line: the last message, then the tag of a bottle nobody picked up. A line that
    // mixes Chinese and Latin text is taller than the body font says (its Chinese comes from
    // a fallback font): the lines are drawn unclipped, or the bottom of their glyphs, an
    // underscore among them, would be cut off.
    const QRect secondLine(textLeft, firstLine.bottom() + 1 + lineSpacing, textWidth, bodyMetrics.height());
    int messageWidth = textWidth;
    if (!index.data(ConversationListModel::HasReplyRole).toBool()) {
        const QFont tag = tagFont(option.font);
        const QFontMetrics tagMetrics(tag);
        const QSize tagSize(tagMetrics.horizontalAdvance(unpickedTag) + 12, tagMetrics.height() + 4);
        const QRect tagRect(secondLine.right() + 1 - tagSize.width(), secondLine.center().y() - tagSize.height() / 2,
            tagSize.width(), tagSize.height());
        QPainterPath path;
        path.addRoundedRect(tagRect, 4, 4);
        painter->fillPath(path, ChatColours::warningTint(0.2));
        painter->setFont(tag);
        // The orange, hue kept, made as much darker or lighter as it must be to read on its
        // own tint over the row.
        const QColor tagGround = SecondaryColour::opaqueOver(ChatColours::warningTint(0.2), under);
        painter->setPen(ReadableColour::on(ChatColours::warning(), tagGround));
        painter->drawText(tagRect, Qt::AlignCenter | Qt::TextSingleLine, unpickedTag);
        messageWidth -= tagSize.width() + spacing;
    }
    painter->setFont(subheadlineFont(option.font));
    painter->setPen(secondary);
    const QString message
        = bodyMetrics.elidedText(singleLine(index.data(ConversationListModel::LastMessageRole).toString()),
            Qt::ElideRight, std::max(0, messageWidth));
    EmojiStyle::drawText(*painter,
        QRect(secondLine.left(), secondLine.top(), std::max(0, messageWidth), secondLine.height()),
        Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip, message);

    // Filled, not stroked: a smoothed line on a pixel edge would spread over two faint rows.
    painter->fillRect(
        QRect(row.left() + dividerInset, row.bottom(), row.width() - dividerInset, 1), ChatColours::divider(palette));
    painter->restore();
}
