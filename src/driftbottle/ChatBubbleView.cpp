#include "driftbottle/ChatBubbleView.h"

#include "driftbottle/ChatColours.h"
#include "driftbottle/ChatMessageModel.h"
#include "platform/EmojiStyle.h"
#include "widgets/ButtonStyle.h"
#include "widgets/ReadableColour.h"
#include "widgets/SecondaryText.h"
#include "widgets/TextStyle.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QPainterPath>

using namespace Qt::StringLiterals;

namespace {

constexpr int bubblePaddingX = 12;
constexpr int bubblePaddingY = 8;
constexpr int columnSpacing = 4;
constexpr int radius = 16;

QFont captionFont(const QFont&)
{
    return TextStyle::font(TextStyle::Style::caption);
}

QFont smallFont(const QFont&)
{
    return TextStyle::font(TextStyle::Style::caption2);
}

/// The part of the painter's device that is being drawn, in the painter's coordinates.
QRect visibleArea(const QPainter* painter, const QStyleOptionViewItem& option)
{
    if (painter->hasClipping() && !painter->clipBoundingRect().isEmpty())
        return painter->clipBoundingRect().toAlignedRect();
    if (const auto* view = qobject_cast<const QAbstractItemView*>(option.widget))
        return view->viewport()->rect();
    if (const QPaintDevice* device = painter->device())
        return painter->transform().inverted().mapRect(QRect(0, 0, device->width(), device->height()));
    return option.rect;
}

} // namespace

QColor ChatBubbleView::ownBubbleColour(const QPalette& palette)
{
    // The accent deepened, hue kept, just enough for the white text to read on it, as the
    // prominent button's face is.
    QPalette accented = palette;
    accented.setColor(QPalette::Highlight, ChatColours::accent());
    return ButtonStyle::prominentFace(accented);
}

ChatBubbleView::ChatBubbleView(const ChatMessageModel& model, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_model(model)
{
}

ChatBubbleView::~ChatBubbleView() = default;

void ChatBubbleView::clearCache()
{
    m_measured.clear();
}

int ChatBubbleView::columnWidth(const QStyleOptionViewItem& option) const
{
    int available = option.rect.width();
    if (const auto* view = qobject_cast<const QAbstractItemView*>(option.widget))
        available = view->viewport()->width();
    return std::max(80, std::min(maxColumnWidth, available - 2 * margin));
}

const ChatBubbleView::Measured& ChatBubbleView::measured(
    const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (!m_wrapper || m_wrapper->font() != option.font) {
        m_wrapper = std::make_unique<TextWrapper>(option.font);
        m_measured.clear();
    }
    const ChatMessage& message = m_model.messageAt(index.row());
    const int column = columnWidth(option);
    auto known = m_measured.constFind(message.id);
    if (known == m_measured.cend() || known->column != column)
        known
            = m_measured.insert(message.id, { column, m_wrapper->wrap(message.content, column - 2 * bubblePaddingX) });
    return *known;
}

ChatBubbleView::Geometry ChatBubbleView::geometry(
    const QStyleOptionViewItem& option, const ChatMessage& message, QSize text, bool first) const
{
    const bool isFromMe = message.isFromMe;
    const int column = columnWidth(option);
    const QFontMetrics caption(captionFont(option.font));
    const QFontMetrics small(smallFont(option.font));

    Geometry g;
    // The list's padding: at its sides on every row, above only the first.
    const QRect row = option.rect.adjusted(margin, first ? margin : 0, -margin, 0);
    int y = row.top();
    if (!isFromMe) {
        g.name = QRect(row.left(), y, column, caption.height());
        y += caption.height() + columnSpacing;
    }
    const QSize bubble(text.width() + 2 * bubblePaddingX, text.height() + 2 * bubblePaddingY);
    const int bubbleLeft = isFromMe ? row.right() + 1 - bubble.width() : row.left();
    g.bubble = QRect(QPoint(bubbleLeft, y), bubble);
    g.text = g.bubble.adjusted(bubblePaddingX, bubblePaddingY, -bubblePaddingX, -bubblePaddingY);
    y += bubble.height() + columnSpacing;
    const int timeLeft = isFromMe ? row.right() + 1 - column : row.left();
    g.time = QRect(timeLeft, y, column, small.height());
    return g;
}

QSize ChatBubbleView::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const Measured& m = measured(option, index);
    QStyleOptionViewItem at = option;
    at.rect = QRect(0, 0, m.column + 2 * margin, 0);
    const Geometry g
        = geometry(at, m_model.messageAt(index.row()), QSize(m.text.width, m.text.height), index.row() == 0);
    return { m.column + 2 * margin, g.time.bottom() + 1 + rowSpacing };
}

void ChatBubbleView::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const ChatMessage& message = m_model.messageAt(index.row());
    const Measured& m = measured(option, index);
    const Geometry g = geometry(option, message, QSize(m.text.width, m.text.height), index.row() == 0);
    const QPalette& palette = option.palette;

    // Names and times stand on the list's window background.
    const QColor window = palette.color(QPalette::Window);
    const QColor secondary = SecondaryText::colour(palette.color(QPalette::Text), window);
    // The time is thin digits at the smallest size: their smoothed strokes read a fifth
    // fainter than the colour they are drawn in, so the grey is taken that much further.
    constexpr double thinDigitsContrast = 6.0;
    const QColor timeColour = ReadableColour::on(secondary, window, thinDigitsContrast);

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (!g.name.isNull()) {
        painter->setFont(captionFont(option.font));
        painter->setPen(secondary);
        // Unclipped: a name mixing Chinese and Latin text is taller than the caption font says.
        EmojiStyle::drawText(*painter, g.name, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip,
            painter->fontMetrics().elidedText(message.senderName, Qt::ElideRight, g.name.width()));
    }
    // What can show of the row: a view hands over a row at most 32,767 pixels tall, while a
    // long reply's bubble is taller. The bubble and its lines are drawn from what was measured,
    // as far as they are in view, and no further: coordinates stay small whatever the length.
    const QRect visible = visibleArea(painter, option);
    const QRect shownBubble = g.bubble.intersected(visible.adjusted(0, -2 * radius, 0, 2 * radius));
    QPainterPath path;
    path.addRoundedRect(shownBubble, radius, radius);
    painter->fillPath(path, message.isFromMe ? ownBubbleColour(palette) : ChatColours::otherBubble());

    painter->setFont(option.font);
    painter->setPen(message.isFromMe ? QColor(Qt::white) : palette.color(QPalette::Text));
    const int lineHeight = m_wrapper->lineHeight();
    for (qsizetype i = 0; i < m.text.lines.size(); ++i) {
        const int top = g.text.top() + static_cast<int>(i) * lineHeight;
        // A 20,000-character reply has hundreds of lines; only those in view are drawn.
        if (top + lineHeight < visible.top())
            continue;
        if (top > visible.bottom())
            break;
        EmojiStyle::drawText(*painter, QRect(g.text.left(), top, g.text.width() + bubblePaddingX, lineHeight),
            Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip, m.text.lines.at(i));
    }

    painter->setFont(smallFont(option.font));
    painter->setPen(timeColour);
    painter->drawText(g.time,
        (message.isFromMe ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter | Qt::TextSingleLine,
        message.createdAt.toLocalTime().toString(u"HH:mm"_s));
    painter->restore();
}
