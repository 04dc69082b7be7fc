#include "widgets/SegmentedPicker.h"

#include "platform/KeyboardFocus.h"
#include "widgets/PlainLabel.h"
#include "widgets/ReadableColour.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr qreal cornerRadius = 6.0;
constexpr int horizontalPadding = 14;
constexpr int verticalPadding = 5;
/// Between a segment's symbol and its title.
constexpr int iconSpacing = 5;

// A path around `r` with rounded corners on the chosen sides only.
QPainterPath roundedOn(const QRectF& r, bool left, bool right)
{
    const qreal d = 2 * cornerRadius;
    QPainterPath path;
    path.moveTo(r.left() + (left ? cornerRadius : 0), r.top());
    if (right) {
        path.lineTo(r.right() - cornerRadius, r.top());
        path.arcTo(r.right() - d, r.top(), d, d, 90, -90);
        path.lineTo(r.right(), r.bottom() - cornerRadius);
        path.arcTo(r.right() - d, r.bottom() - d, d, d, 0, -90);
    } else {
        path.lineTo(r.topRight());
        path.lineTo(r.bottomRight());
    }
    if (left) {
        path.lineTo(r.left() + cornerRadius, r.bottom());
        path.arcTo(r.left(), r.bottom() - d, d, d, 270, -90);
        path.lineTo(r.left(), r.top() + cornerRadius);
        path.arcTo(r.left(), r.top(), d, d, 180, -90);
    } else {
        path.lineTo(r.bottomLeft());
        path.lineTo(r.topLeft());
    }
    path.closeSubpath();
    return path;
}

} // namespace

SegmentedPicker::SegmentedPicker(const QString& title, QWidget* parent)
    : QWidget(parent)
    , m_row(new QHBoxLayout(this))
    , m_group(new QButtonGroup(this))
{
    m_row->setContentsMargins(0, 0, 0, 0);
    m_row->setSpacing(0);
    if (!title.isEmpty()) {
        m_title = new PlainLabel(title, this);
        m_row->addWidget(m_title);
        m_row->addSpacing(8);
    }
    m_row->addStretch(1);
    m_group->setExclusive(true);
    connect(m_group, &QButtonGroup::idClicked, this, &SegmentedPicker::segmentClicked);
}

QAbstractButton* SegmentedPicker::addSegment(const QString& text, int id)
{
    auto* added = new PickerSegment(text, this);
    added->setAccessibleDescription(m_title ? m_title->text() : QString());
    const QList<QAbstractButton*> before = m_group->buttons();
    if (!before.isEmpty())
        static_cast<PickerSegment*>(before.last())->setEnds(before.size() == 1, false);
    added->setEnds(before.isEmpty(), true);
    m_group->addButton(added, id);
    // Before the stretch that keeps the segments at their natural width.
    m_row->insertWidget(m_row->count() - 1, added);
    return added;
}

QAbstractButton* SegmentedPicker::segment(int id) const
{
    return m_group->button(id);
}

QList<QAbstractButton*> SegmentedPicker::segments() const
{
    return m_group->buttons();
}

void SegmentedPicker::setCurrentId(int id)
{
    if (QAbstractButton* chosen = m_group->button(id))
        chosen->setChecked(true);
}

int SegmentedPicker::currentId() const
{
    return m_group->checkedId();
}

PickerSegment::PickerSegment(const QString& text, QWidget* parent)
    : QAbstractButton(parent)
{
    setText(text);
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_Hover);
}

void PickerSegment::setEnds(bool first, bool last)
{
    m_first = first;
    m_last = last;
    update();
}

QSize PickerSegment::sizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    const int iconRoom = icon().isNull() ? 0 : iconSize().width() + iconSpacing;
    return { iconRoom + metrics.horizontalAdvance(text()) + 2 * horizontalPadding,
        qMax(metrics.height(), icon().isNull() ? 0 : iconSize().height()) + 2 * verticalPadding };
}

void PickerSegment::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& colours = palette();
    const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, m_last ? -0.5 : 0.5, -0.5);
    const QPainterPath outline = roundedOn(area, m_first, m_last);

    // The selection colour as deep as the chosen title needs to read on it.
    QColor fill = isChecked()
        ? ReadableColour::on(colours.color(QPalette::Highlight), colours.color(QPalette::HighlightedText))
        : colours.color(QPalette::Button);
    if (!isChecked() && (m_hovered || isDown()))
        fill = fill.lightness() < 128 ? fill.lighter(isDown() ? 130 : 115) : fill.darker(isDown() ? 115 : 106);
    if (!isEnabled())
        fill.setAlphaF(0.5);
    painter.fillPath(outline, fill);
    painter.setPen(QPen(colours.color(QPalette::Mid), 1));
    painter.drawPath(outline);
    // Only while the keyboard is in use: a click shows its choice by the fill alone.
    if (KeyboardFocus::shows(this)) {
        painter.setPen(QPen(colours.color(isChecked() ? QPalette::HighlightedText : QPalette::Highlight), 1));
        painter.drawPath(roundedOn(area.adjusted(2, 2, -2, -2), m_first, m_last));
    }

    const QPalette::ColorGroup group = isEnabled() ? QPalette::Normal : QPalette::Disabled;
    painter.setPen(colours.color(group, isChecked() ? QPalette::HighlightedText : QPalette::ButtonText));
    if (icon().isNull()) {
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
        return;
    }
    // The symbol (its On form for the chosen segment) and the title, centred together.
    const QSize side = iconSize();
    const int textWidth = fontMetrics().horizontalAdvance(text());
    const int left = (width() - (side.width() + iconSpacing + textWidth)) / 2;
    const QPixmap symbol = icon().pixmap(
        side, devicePixelRatio(), isEnabled() ? QIcon::Normal : QIcon::Disabled, isChecked() ? QIcon::On : QIcon::Off);
    painter.drawPixmap(QRect(QPoint(left, (height() - side.height()) / 2), side), symbol);
    painter.drawText(QRect(left + side.width() + iconSpacing, 0, textWidth + 1, height()),
        Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text());
}

void PickerSegment::enterEvent(QEnterEvent* event)
{
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void PickerSegment::leaveEvent(QEvent* event)
{
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}
