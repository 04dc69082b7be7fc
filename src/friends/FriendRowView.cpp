#include "friends/FriendRowView.h"

#include "friends/FriendListModel.h"
#include "friends/FriendManager.h"
#include "platform/EmojiStyle.h"
#include "platform/SystemColours.h"
#include "widgets/EmojiLabel.h"
#include "widgets/FocusRing.h"
#include "widgets/SecondaryText.h"
#include "widgets/Symbols.h"
#include "widgets/TextStyle.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFontInfo>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <utility>

using namespace Qt::StringLiterals;
using TextStyle::Style;

namespace {

constexpr int padding = 12;
constexpr int pinColumnWidth = 100;
constexpr int deleteSize = 28;
constexpr int avatarPixels = 40;
constexpr int hintPixels = 9;
// The pin column's lines, spaced 2 apart: the switch, its caption and the two hints fill
// the card's height between the paddings.
constexpr int switchWidth = 28;
constexpr int switchHeight = 16;
constexpr int columnSpacing = 2;
constexpr int captionLine = 14;
constexpr int hintLine = 12;
static_assert(switchHeight + 3 * columnSpacing + captionLine + 2 * hintLine <= FriendRowView::cardHeight - 2 * padding);

/// The delete button's red, under the pointer.
const QColor deleteRed(0xff, 0x3b, 0x30);
/// How far the switch's off track goes from the card's colour towards its text: enough to
/// stand out from the card, little enough to stay quiet beside the text.
constexpr qreal offTrackShare = 0.25;

QColor blend(const QColor& from, const QColor& to, qreal share)
{
    return QColor::fromRgbF(float(from.redF() + (to.redF() - from.redF()) * share),
        float(from.greenF() + (to.greenF() - from.greenF()) * share),
        float(from.blueF() + (to.blueF() - from.blueF()) * share));
}

QFont avatarFont(const QFont&)
{
    return EmojiLabel::emojiFont(TextStyle::systemFont(avatarPixels));
}

/// The card's colours: Base and Text of the list's palette.
std::pair<QColor, QColor> cardColours(const QWidget* view)
{
    const QPalette palette = view ? view->palette() : QApplication::palette();
    return { palette.color(QPalette::Active, QPalette::Base), palette.color(QPalette::Active, QPalette::Text) };
}

QRect cardRect(const QRect& row)
{
    return QRect(row.left(), row.top(), row.width(), FriendRowView::cardHeight);
}

QRect pinColumn(const QRect& row)
{
    const QRect card = cardRect(row);
    // As wide as stated at the default font, wider at a larger one so the hints stay whole.
    const int width = TextStyle::scaled(pinColumnWidth);
    return QRect(
        card.right() - padding - deleteSize - 8 - width + 1, card.top() + padding, width, card.height() - 2 * padding);
}

} // namespace

FriendRowView::FriendRowView(FriendManager& friendManager, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_friendManager(friendManager)
{
}

QString FriendRowView::formatDate(const QDateTime& date)
{
    const QDate day = date.toLocalTime().date();
    if (!day.isValid())
        return {};
    return QString::number(day.year()) + u"年"_s + QString::number(day.month()) + u"月"_s + QString::number(day.day())
        + u"日"_s;
}

QRect FriendRowView::avatarRect(const QRect& row, const QFont& font)
{
    const QRect card = cardRect(row);
    // Every avatar is one emoji: all take the width of one.
    const int width = QFontMetrics(avatarFont(font)).horizontalAdvance(u"🐶"_s);
    return QRect(card.left() + padding, card.top() + padding, width, card.height() - 2 * padding);
}

QRect FriendRowView::pinSwitchRect(const QRect& row)
{
    const QRect column = pinColumn(row);
    return QRect(column.center().x() - switchWidth / 2, column.top(), switchWidth, switchHeight);
}

QRect FriendRowView::deleteRect(const QRect& row)
{
    const QRect card = cardRect(row);
    return QRect(card.right() - padding - deleteSize + 1, card.center().y() - deleteSize / 2, deleteSize, deleteSize);
}

QSize FriendRowView::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return { option.rect.width(), cardHeight + rowSpacing };
}

void FriendRowView::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QRect card = cardRect(option.rect);
    const QFont base = option.font;

    QPainterPath path;
    path.addRoundedRect(QRectF(card).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    const auto [cardColor, textColor] = cardColours(option.widget);
    painter->fillPath(path, cardColor);
    painter->setPen(QPen(QColor(128, 128, 128, 51), 1));
    painter->drawPath(path);
    // The card the keyboard acts on wears the focus colour round its edge.
    if (FocusRing::shows(option))
        FocusRing::paint(*painter, QRectF(card), 8, option.widget->palette(), cardColor);

    const QRect avatar = avatarRect(option.rect, base);
    painter->setFont(avatarFont(base));
    painter->setPen(textColor);
    painter->drawText(avatar, Qt::AlignCenter | Qt::TextSingleLine, index.data(FriendListModel::AvatarRole).toString());

    // Nickname and date: plain text, elided to the room left by the pin column.
    const QRect column = pinColumn(option.rect);
    const int textLeft = avatar.right() + 12;
    const QRect textRect(textLeft, card.top() + padding, column.left() - 8 - textLeft, card.height() - 2 * padding);
    const QFont headline = TextStyle::font(Style::headline);
    painter->setFont(headline);
    const QString nickname = QFontMetrics(headline).elidedText(
        index.data(FriendListModel::NicknameRole).toString(), Qt::ElideRight, textRect.width());
    EmojiStyle::drawText(*painter, QRect(textRect.left(), textRect.top() + 6, textRect.width(), 22),
        Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip, nickname);
    const QColor secondary = SecondaryText::colour(textColor, cardColor);
    const QFont caption = TextStyle::font(Style::caption);
    painter->setFont(caption);
    painter->setPen(secondary);
    painter->drawText(QRect(textRect.left(), textRect.top() + 32, textRect.width(), 18),
        Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
        u"成为好友："_s + formatDate(index.data(FriendListModel::FriendSinceRole).toDateTime()));

    // The pin switch, its caption and its two hint lines.
    const bool pinned = index.data(FriendListModel::PinnedRole).toBool();
    const QRectF track = pinSwitchRect(option.rect);
    painter->setPen(Qt::NoPen);
    painter->setBrush(pinned ? SystemColours::green() : blend(cardColor, textColor, offTrackShare));
    painter->drawRoundedRect(track, track.height() / 2, track.height() / 2);
    const double knob = track.height() - 4;
    painter->setBrush(Qt::white);
    painter->drawEllipse(QRectF(pinned ? track.right() - 2 - knob : track.left() + 2, track.top() + 2, knob, knob));
    painter->setPen(secondary);
    painter->setFont(TextStyle::font(TextStyle::Style::caption2));
    const QRect captionRect(column.left(), int(track.bottom()) + columnSpacing, column.width(), captionLine);
    painter->drawText(captionRect, Qt::AlignCenter, u"置顶好友"_s);
    // The hints stay in the secondary colour: it already sits at the faintest that still
    // reads, so any fainter and the small hint text would not.
    painter->setFont(TextStyle::systemFont(hintPixels));
    const QRect firstHint(column.left(), captionRect.bottom() + 1 + columnSpacing, column.width(), hintLine);
    painter->drawText(firstHint, Qt::AlignCenter, u"在宠物上右键后"_s);
    painter->drawText(firstHint.translated(0, hintLine + columnSpacing), Qt::AlignCenter, u"可以直接看到该好友"_s);

    const QRect trash = deleteRect(option.rect);
    if (option.state & QStyle::State_MouseOver) {
        painter->setPen(Qt::NoPen);
        QColor hover = deleteRed;
        hover.setAlpha(28);
        painter->setBrush(hover);
        painter->drawRoundedRect(trash, 6, 6);
    }
    // The symbol at the body font's size.
    const int side = QFontInfo(TextStyle::font(Style::body)).pixelSize();
    const QColor accent = option.widget ? option.widget->palette().color(QPalette::Highlight) : QColor();
    Symbols::paint(*painter,
        QRectF(trash.center().x() + 0.5 - side / 2.0, trash.center().y() + 0.5 - side / 2.0, side, side),
        Symbols::Symbol::trashFill,
        Symbols::drawnColourOn(Symbols::Symbol::trashFill, side, Symbols::Tint::red, cardColor, textColor, accent));
    painter->restore();
}

bool FriendRowView::editorEvent(
    QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            const QPoint at = mouse->position().toPoint();
            // A little slack around the small switch.
            if (pinSwitchRect(option.rect).adjusted(-6, -4, 6, 4).contains(at)) {
                m_friendManager.togglePinFriend(index.data(FriendListModel::FriendIdRole).toLongLong());
                return true;
            }
            if (deleteRect(option.rect).contains(at)) {
                if (m_onDelete)
                    m_onDelete(index.row());
                return true;
            }
        }
    }
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}

bool FriendRowView::helpEvent(
    QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (event->type() != QEvent::ToolTip)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    if (deleteRect(option.rect).contains(event->pos()))
        QToolTip::showText(event->globalPos(), u"删除好友"_s, view->viewport(), deleteRect(option.rect));
    else
        QToolTip::hideText();
    return true;
}
