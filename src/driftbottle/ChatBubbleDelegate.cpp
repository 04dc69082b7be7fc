#include "driftbottle/ChatBubbleDelegate.h"

#include "driftbottle/ChatColours.h"
#include "driftbottle/ChatMessageModel.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int bubblePaddingX = 12;
constexpr int bubblePaddingY = 8;
constexpr int columnSpacing = 4;
constexpr int radius = 16;

QFont captionFont(const QFont& base)
{
    QFont font = base;
    font.setPointSizeF(base.pointSizeF() * 0.85);
    return font;
}

QFont smallFont(const QFont& base)
{
    QFont font = base;
    font.setPointSizeF(base.pointSizeF() * 0.75);
    return font;
}

/// Lays `layout` out within `width` and returns the size the text takes.
QSize layOut(QTextLayout& layout, int width)
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    qreal height = 0;
    qreal widest = 0;
    while (true) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        line.setPosition(QPointF(0, height));
        height += line.height();
        widest = std::max(widest, line.naturalTextWidth());
    }
    layout.endLayout();
    return { static_cast<int>(std::ceil(widest)), static_cast<int>(std::ceil(height)) };
}

} // namespace

ChatBubbleDelegate::ChatBubbleDelegate(const ChatMessageModel& model, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_model(model)
{
}

int ChatBubbleDelegate::columnWidth(const QStyleOptionViewItem& option) const
{
    int available = option.rect.width();
    if (const auto* view = qobject_cast<const QAbstractItemView*>(option.widget))
        available = view->viewport()->width();
    return std::max(80, std::min(maxColumnWidth, available - 2 * margin));
}

ChatBubbleDelegate::Geometry ChatBubbleDelegate::geometry(
    const QStyleOptionViewItem& option, const QModelIndex& index, QTextLayout* layout) const
{
    const ChatMessage& message = m_model.messageAt(index.row());
    const int column = columnWidth(option);
    const QSize text = layOut(*layout, column - 2 * bubblePaddingX);
    const QFontMetrics caption(captionFont(option.font));
    const QFontMetrics small(smallFont(option.font));

    Geometry g;
    const QRect row = option.rect.adjusted(margin, 0, -margin, 0);
    int y = row.top();
    if (!message.isFromMe) {
        g.name = QRect(row.left(), y, column, caption.height());
        y += caption.height() + columnSpacing;
    }
    const QSize bubble(text.width() + 2 * bubblePaddingX, text.height() + 2 * bubblePaddingY);
    const int bubbleLeft = message.isFromMe ? row.right() + 1 - bubble.width() : row.left();
    g.bubble = QRect(QPoint(bubbleLeft, y), bubble);
    g.text = g.bubble.adjusted(bubblePaddingX, bubblePaddingY, -bubblePaddingX, -bubblePaddingY);
    y += bubble.height() + columnSpacing;
    const int timeLeft = message.isFromMe ? row.right() + 1 - column : row.left();
    g.time = QRect(timeLeft, y, column, small.height());
    return g;
}

QSize ChatBubbleDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const ChatMessage& message = m_model.messageAt(index.row());
    const int column = columnWidth(option);
    const auto cached = m_heights.constFind(message.id);
    if (cached != m_heights.cend() && cached->first == column)
        return { column + 2 * margin, cached->second };

    QTextLayout layout(message.content, option.font);
    QStyleOptionViewItem at = option;
    at.rect = QRect(0, 0, column + 2 * margin, 0);
    const Geometry g = geometry(at, index, &layout);
    const int height = g.time.bottom() + 1 + rowSpacing;
    m_heights.insert(message.id, { column, height });
    return { column + 2 * margin, height };
}

void ChatBubbleDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const ChatMessage& message = m_model.messageAt(index.row());
    QTextLayout layout(message.content, option.font);
    const Geometry g = geometry(option, index, &layout);
    const QPalette& palette = option.palette;

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (!message.isFromMe) {
        painter->setFont(captionFont(option.font));
        painter->setPen(palette.color(QPalette::PlaceholderText));
        painter->drawText(g.name, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
            painter->fontMetrics().elidedText(message.senderName, Qt::ElideRight, g.name.width()));
    }
    QPainterPath path;
    path.addRoundedRect(g.bubble, radius, radius);
    painter->fillPath(path, message.isFromMe ? ChatColours::accent() : ChatColours::otherBubble());
    painter->setPen(message.isFromMe ? QColor(Qt::white) : palette.color(QPalette::Text));
    layout.draw(painter, g.text.topLeft());

    painter->setFont(smallFont(option.font));
    painter->setPen(palette.color(QPalette::PlaceholderText));
    painter->drawText(g.time,
        (message.isFromMe ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter | Qt::TextSingleLine,
        message.createdAt.toLocalTime().toString(u"HH:mm"_s));
    painter->restore();
}
