#include "reminders/pages/ManagementRowDelegate.h"

#include "platform/EmojiStyle.h"
#include "reminders/pages/ManagementListModel.h"
#include "widgets/EmojiLabel.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

using namespace Qt::StringLiterals;

namespace {

constexpr int padding = 12;
constexpr int spacing = 12;
constexpr int buttonSize = 26;
constexpr QSize switchSize(38, 22);

QColor withAlpha(QColor colour, qreal alpha)
{
    colour.setAlphaF(alpha);
    return colour;
}

QColor secondary(const QPalette& palette)
{
    return withAlpha(palette.color(QPalette::WindowText), 0.55);
}

QFont scaled(const QFont& base, qreal factor, QFont::Weight weight = QFont::Normal)
{
    QFont font = base;
    font.setPointSizeF(base.pointSizeF() * factor);
    font.setWeight(weight);
    return font;
}

void paintEditIcon(QPainter& painter, const QRectF& box, const QColor& colour, bool hovered)
{
    painter.setPen(QPen(colour, 1.6));
    painter.setBrush(hovered ? withAlpha(colour, 0.15) : QColor(Qt::transparent));
    painter.drawEllipse(box.adjusted(1, 1, -1, -1));
    const QPointF c = box.center();
    // A pencil lying from bottom left to top right.
    painter.setPen(QPen(colour, 2.4, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(c + QPointF(-3.5, 3.5), c + QPointF(4, -4));
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    QPainterPath tip;
    tip.moveTo(c + QPointF(-5.5, 5.5));
    tip.lineTo(c + QPointF(-2.6, 4.6));
    tip.lineTo(c + QPointF(-4.6, 2.6));
    tip.closeSubpath();
    painter.drawPath(tip);
}

void paintDeleteIcon(QPainter& painter, const QRectF& box, const QColor& colour, bool hovered)
{
    painter.setPen(QPen(colour, 1.6));
    painter.setBrush(hovered ? withAlpha(colour, 0.15) : QColor(Qt::transparent));
    painter.drawEllipse(box.adjusted(1, 1, -1, -1));
    const QPointF c = box.center();
    painter.setPen(QPen(colour, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(c + QPointF(-5, -3.5), c + QPointF(5, -3.5)); // lid
    painter.drawLine(c + QPointF(-1.5, -5.5), c + QPointF(1.5, -5.5)); // handle
    QPainterPath can;
    can.moveTo(c + QPointF(-3.8, -2));
    can.lineTo(c + QPointF(-3, 5));
    can.lineTo(c + QPointF(3, 5));
    can.lineTo(c + QPointF(3.8, -2));
    painter.drawPath(can);
    painter.drawLine(c + QPointF(0, -0.5), c + QPointF(0, 3.2));
}

} // namespace

void paintSwitch(QPainter& painter, const QRectF& rect, bool on, bool enabled)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal radius = rect.height() / 2;
    QColor track = on ? RowColours::blue : QColor(0, 0, 0, 40);
    if (!enabled)
        track = withAlpha(track, track.alphaF() * 0.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(track);
    painter.drawRoundedRect(rect, radius, radius);
    const qreal knob = rect.height() - 4;
    const QRectF knobRect(on ? rect.right() - 2 - knob : rect.left() + 2, rect.top() + 2, knob, knob);
    painter.setBrush(QColor(0, 0, 0, 30));
    painter.drawEllipse(knobRect.translated(0, 0.6));
    painter.setBrush(Qt::white);
    painter.drawEllipse(knobRect);
    painter.restore();
}

ManagementRowDelegate::ManagementRowDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
{
}

ManagementRowDelegate::Geometry ManagementRowDelegate::geometry(const QRect& item, bool canDelete)
{
    Geometry g;
    g.card = QRect(item.left(), item.top(), item.width(), rowHeight);
    const int middle = g.card.center().y();
    g.toggle = QRect(QPoint(g.card.left() + padding, middle - switchSize.height() / 2), switchSize);
    g.emoji = QRect(g.toggle.right() + 1 + spacing, g.card.top(), 32, rowHeight);
    int right = g.card.right() - padding;
    if (canDelete) {
        g.remove = QRect(right - buttonSize + 1, middle - buttonSize / 2, buttonSize, buttonSize);
        right = g.remove.left() - 8 - 1;
    }
    g.edit = QRect(right - buttonSize + 1, middle - buttonSize / 2, buttonSize, buttonSize);
    const int textLeft = g.emoji.right() + 1 + spacing;
    g.text = QRect(textLeft, g.card.top() + padding - 2, std::max(0, g.edit.left() - spacing - textLeft),
        rowHeight - 2 * (padding - 2));
    return g;
}

ManagementRowDelegate::Part ManagementRowDelegate::partAt(const QRect& item, bool canDelete, const QPoint& pos)
{
    const Geometry g = geometry(item, canDelete);
    // The switch answers a little around itself, as a finger-sized target.
    if (g.toggle.adjusted(-4, -6, 4, 6).contains(pos))
        return Part::toggle;
    if (g.edit.contains(pos))
        return Part::edit;
    if (canDelete && g.remove.contains(pos))
        return Part::remove;
    return Part::none;
}

QSize ManagementRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    // The list stretches rows to its width; this is only the narrowest a row may get.
    return { std::max(option.rect.width(), 200), rowHeight + rowGap };
}

void ManagementRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const auto row = index.data(ManagementListModel::RowRole).value<ManagementRow>();
    const Geometry g = geometry(option.rect, row.canDelete);
    const QPalette& palette = option.palette;
    const bool hovered = index == m_hoverIndex;

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QColor tint = row.enabled ? row.accent : RowColours::gray;
    QPainterPath card;
    card.addRoundedRect(QRectF(g.card).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    painter->fillPath(card, withAlpha(tint, 0.05));
    painter->setPen(QPen(withAlpha(tint, row.enabled ? 0.3 : 0.2), 1));
    painter->drawPath(card);

    paintSwitch(*painter, g.toggle, row.enabled);

    painter->setFont(EmojiLabel::emojiFont(option.font, qRound(option.font.pointSizeF() * 1.9)));
    painter->setPen(palette.color(QPalette::WindowText));
    painter->drawText(g.emoji, Qt::AlignCenter, row.emoji);

    // User text is drawn as it is: the painter never reads markup.
    const QFont titleFont = scaled(option.font, 1.0, QFont::Medium);
    const QFont captionFont = scaled(option.font, 0.85);
    const QFont detailFont = scaled(option.font, 0.8);
    const int titleHeight = QFontMetrics(titleFont).height();
    const int captionHeight = QFontMetrics(captionFont).height();
    const int detailHeight = QFontMetrics(detailFont).height();
    const int total = titleHeight + 4 + captionHeight + 4 + detailHeight;
    int y = g.text.top() + std::max(0, (g.text.height() - total) / 2);

    painter->setFont(titleFont);
    painter->setPen(palette.color(QPalette::WindowText));
    const QFontMetrics titleMetrics(titleFont);
    EmojiStyle::drawText(*painter, QRect(g.text.left(), y, g.text.width(), titleHeight),
        Qt::AlignLeft | Qt::AlignVCenter, titleMetrics.elidedText(row.title, Qt::ElideRight, g.text.width()));
    y += titleHeight + 4;

    painter->setFont(captionFont);
    painter->setPen(secondary(palette));
    QString message = row.message;
    message.replace(u'\n', u' ');
    EmojiStyle::drawText(*painter, QRect(g.text.left(), y, g.text.width(), captionHeight),
        Qt::AlignLeft | Qt::AlignVCenter,
        QFontMetrics(captionFont).elidedText(message, Qt::ElideRight, g.text.width()));
    y += captionHeight + 4;

    painter->setFont(detailFont);
    const QFontMetrics detailMetrics(detailFont);
    int x = g.text.left();
    for (const ManagementRow::Run& run : row.details) {
        const int room = g.text.right() + 1 - x;
        if (room <= 0)
            break;
        const QString shown = detailMetrics.elidedText(run.text, Qt::ElideRight, room);
        painter->setPen(run.colour.isValid() ? run.colour : secondary(palette));
        painter->drawText(QRect(x, y, room, detailHeight), Qt::AlignLeft | Qt::AlignVCenter, shown);
        x += detailMetrics.horizontalAdvance(shown) + 8;
    }

    const QColor editColour = palette.color(QPalette::WindowText);
    paintEditIcon(*painter, g.edit, withAlpha(editColour, 0.75), hovered && m_hoverPart == Part::edit);
    if (row.canDelete)
        paintDeleteIcon(*painter, g.remove, RowColours::red, hovered && m_hoverPart == Part::remove);
    painter->restore();
}

bool ManagementRowDelegate::editorEvent(
    QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option, const QModelIndex& index)
{
    const auto row = index.data(ManagementListModel::RowRole).value<ManagementRow>();
    switch (event->type()) {
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const Part part = partAt(option.rect, row.canDelete, mouse->position().toPoint());
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
        m_pressPart = partAt(option.rect, row.canDelete, mouse->position().toPoint());
        return m_pressPart != Part::none;
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        const Part part = partAt(option.rect, row.canDelete, mouse->position().toPoint());
        const bool samePlace = index == m_pressIndex && part == m_pressPart;
        m_pressIndex = QPersistentModelIndex();
        m_pressPart = Part::none;
        if (!samePlace)
            return false;
        switch (part) {
        case Part::toggle:
            Q_EMIT toggleClicked(row.id);
            return true;
        case Part::edit:
            Q_EMIT editClicked(row.id);
            return true;
        case Part::remove:
            Q_EMIT deleteClicked(row.id);
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
        switch (partAt(option.rect, row.canDelete, event->pos())) {
        case Part::edit:
            tip = u"编辑"_s;
            break;
        case Part::remove:
            tip = u"删除"_s;
            break;
        default:
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
