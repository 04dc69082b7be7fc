#include "reminders/AlarmWindowView.h"

#include "platform/CloseSymbol.h"
#include "widgets/EmojiLabel.h"
#include "widgets/PlainLabel.h"
#include "widgets/SecondaryText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QLabel* plainLabel(const QString& text, const QString& name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return label;
}

/// A faint line of the text colour: it parts the header from the message without
/// competing with either.
QColor dividerColor(const QPalette& palette)
{
    QColor color = palette.color(QPalette::WindowText);
    color.setAlphaF(0.55);
    return color;
}

/// The outline of a clock face with its hands at ten past ten, `size` pixels square, drawn
/// rather than taken from the emoji font so that it takes the colour of the time beside it.
QPixmap clockPixmap(int size, const QColor& color, qreal ratio)
{
    QPixmap pixmap(QSize(size, size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal stroke = std::max(1.0, size / 11.0);
    const QRectF face = QRectF(0, 0, size, size).adjusted(stroke / 2, stroke / 2, -stroke / 2, -stroke / 2);
    painter.setPen(QPen(color, stroke));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(face);
    const QPointF centre = face.center();
    const qreal radius = face.width() / 2;
    painter.setPen(QPen(color, stroke, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre, centre + QPointF(0, -radius * 0.6));
    painter.drawLine(centre, centre + QPointF(radius * 0.45, 0));
    painter.end();
    return pixmap;
}

void setColor(QLabel* label, const QColor& color)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
}

void scaleFont(QWidget* widget, double factor, QFont::Weight weight = QFont::Normal)
{
    QFont font = widget->font();
    font.setPointSizeF(font.pointSizeF() * factor);
    font.setWeight(weight);
    widget->setFont(font);
}

} // namespace

AlarmWindowView::AlarmWindowView(const Alarm& alarm, std::function<void()> onClose, QWidget* parent)
    : QWidget(parent)
    , m_alarm(alarm)
    , m_onClose(std::move(onClose))
{
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(cardWidth, cardHeight);

    auto* emojiLabel = new EmojiLabel(emoji(alarm.type), 0, this);
    emojiLabel->setObjectName(u"alarmEmoji"_s);
    QFont emojiFont = emojiLabel->font();
    emojiFont.setPixelSize(emojiPixels);
    emojiLabel->setFont(emojiFont);
    // The card keeps its size: a long title or message ends in "…", whole in the tool tip.
    auto* titleLabel = new PlainLabel(alarm.title, this);
    titleLabel->setObjectName(u"alarmTitle"_s);
    scaleFont(titleLabel, 1.05, QFont::DemiBold);
    titleLabel->setElideMode(Qt::ElideRight);

    auto* closeButton = new CloseSymbolButton(closePixels, QPalette::Window, this);
    closeButton->setObjectName(u"alarmCloseButton"_s);
    closeButton->setToolTip(u"关闭"_s);
    connect(closeButton, &QToolButton::clicked, this, [this] {
        if (m_onClose)
            m_onClose();
    });

    auto* header = new QHBoxLayout;
    header->setSpacing(6);
    header->addWidget(emojiLabel);
    header->addWidget(titleLabel, 1);
    header->addWidget(closeButton);

    auto* divider = new QFrame(this);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Plain);
    QPalette dividerPalette = divider->palette();
    dividerPalette.setColor(QPalette::WindowText, dividerColor(palette()));
    divider->setPalette(dividerPalette);

    auto* messageLabel = new PlainLabel(alarm.message, this);
    messageLabel->setObjectName(u"alarmMessage"_s);
    messageLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    messageLabel->setLineLimit(messageLines);
    messageLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Expanding);
    SecondaryText::apply(messageLabel);

    const QColor orange(255, 149, 0);
    auto* timeLabel = plainLabel(alarm.timeText(), u"alarmTime"_s, this);
    scaleFont(timeLabel, 0.85);
    setColor(timeLabel, orange);
    auto* clockLabel = new QLabel(this);
    clockLabel->setObjectName(u"alarmClock"_s);
    // As tall as the caption's capitals and digits reach, like a symbol set in that font.
    clockLabel->setPixmap(clockPixmap(timeLabel->fontMetrics().ascent(), orange, devicePixelRatioF()));
    clockLabel->setAlignment(Qt::AlignCenter);
    auto* footer = new QHBoxLayout;
    footer->setSpacing(4);
    footer->addWidget(clockLabel);
    footer->addWidget(timeLabel);
    if (alarm.repeatType != AlarmRepeatType::once) {
        auto* dot = plainLabel(u"·"_s, u"alarmDot"_s, this);
        // At its regular weight the dot is a blur of two pixels that never reaches its own
        // colour; bold, it is drawn solid and reads like the rule beside it.
        scaleFont(dot, 1.0, QFont::Bold);
        SecondaryText::apply(dot);
        auto* rule = plainLabel(alarm.formatRepeatRule(), u"alarmRepeatRule"_s, this);
        scaleFont(rule, 0.85);
        SecondaryText::apply(rule);
        footer->addWidget(dot);
        footer->addWidget(rule);
    }
    footer->addStretch(1);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(padding, padding, padding, padding);
    column->setSpacing(8);
    column->addLayout(header);
    column->addWidget(divider);
    column->addWidget(messageLabel);
    column->addLayout(footer);
}

void AlarmWindowView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 12, 12);
    painter.fillPath(path, palette().color(QPalette::Window));
    QColor edge = palette().color(QPalette::WindowText);
    edge.setAlphaF(0.15);
    painter.setPen(QPen(edge, 1));
    painter.drawPath(path);
}
