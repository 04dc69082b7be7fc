#include "reminders/AlarmWindowView.h"

#include "platform/SystemColours.h"
#include "widgets/Divider.h"
#include "widgets/EmojiLabel.h"
#include "widgets/PlainLabel.h"
#include "widgets/ReadableColour.h"
#include "widgets/SecondaryText.h"
#include "widgets/Symbols.h"
#include "widgets/TextStyle.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

/// What the orange aims at: the thin strokes of a caption only reach 4.5:1 in their darkest
/// pixels when the colour itself goes a little beyond.
constexpr double smallInkContrast = 5.0;

QLabel* plainLabel(const QString& text, const QString& name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return label;
}

} // namespace

AlarmWindowView::AlarmWindowView(const Alarm& alarm, std::function<void()> onClose, QWidget* parent)
    : QWidget(parent)
    , m_alarm(alarm)
    , m_onClose(std::move(onClose))
{
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(cardSize());

    auto* emojiLabel = new EmojiLabel(emoji(alarm.type), this);
    emojiLabel->setObjectName(u"alarmEmoji"_s);
    emojiLabel->setFont(EmojiLabel::emojiFont(TextStyle::systemFont(emojiPixels)));
    // The card keeps its size: a long title or message ends in "…", whole in the tool tip.
    auto* titleLabel = new PlainLabel(alarm.title, this);
    titleLabel->setObjectName(u"alarmTitle"_s);
    TextStyle::apply(titleLabel, TextStyle::Style::headline);
    titleLabel->setElideMode(Qt::ElideRight);

    QPushButton* closeButton = Symbols::closeButton(closePixels, this);
    closeButton->setObjectName(u"alarmCloseButton"_s);
    // The card opens over whatever the user is doing: it takes no keyboard focus.
    closeButton->setFocusPolicy(Qt::NoFocus);
    connect(closeButton, &QPushButton::clicked, this, [this] {
        if (m_onClose)
            m_onClose();
    });

    auto* header = new QHBoxLayout;
    header->setSpacing(6);
    header->addWidget(emojiLabel);
    header->addWidget(titleLabel, 1);
    header->addWidget(closeButton);

    // The kit's divider, as every screen draws it: it parts the header from the message
    // without competing with either.
    QFrame* divider = Divider::create(this);
    divider->setObjectName(u"alarmDivider"_s);

    auto* messageLabel = new PlainLabel(alarm.message, this);
    messageLabel->setObjectName(u"alarmMessage"_s);
    messageLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    TextStyle::apply(messageLabel, TextStyle::Style::body);
    messageLabel->setLineLimit(messageLines);
    messageLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Expanding);
    SecondaryText::apply(messageLabel);

    const QFont caption = TextStyle::font(TextStyle::Style::caption);
    auto* timeLabel = plainLabel(alarm.timeText(), u"alarmTime"_s, this);
    timeLabel->setFont(caption);
    m_time = timeLabel;
    m_clock = new QLabel(this);
    m_clock->setObjectName(u"alarmClock"_s);
    m_clock->setAlignment(Qt::AlignCenter);
    showOrange();
    auto* footer = new QHBoxLayout;
    footer->setSpacing(4);
    footer->addWidget(m_clock);
    footer->addWidget(timeLabel);
    if (alarm.repeatType != AlarmRepeatType::once) {
        auto* dot = plainLabel(u"·"_s, u"alarmDot"_s, this);
        // At its regular weight the dot is a blur of two pixels that never reaches its own
        // colour; bold, it is drawn solid and reads like the rule beside it.
        dot->setFont(TextStyle::font(TextStyle::Style::body, QFont::Bold));
        SecondaryText::apply(dot);
        auto* rule = plainLabel(alarm.formatRepeatRule(), u"alarmRepeatRule"_s, this);
        rule->setFont(caption);
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

QSize AlarmWindowView::cardSize()
{
    return { TextStyle::scaled(cardWidth), TextStyle::scaled(cardHeight) };
}

void AlarmWindowView::showOrange()
{
    // The time's orange as dark or light as it must be to read on the card, with room for
    // the smoothing of such small strokes; the clock symbol is set in the caption like the
    // time, and in its colour.
    const QColor colour
        = ReadableColour::on(SystemColours::orange(), palette().color(QPalette::Window), smallInkContrast);
    QPalette timePalette = m_time->palette();
    timePalette.setColor(QPalette::WindowText, colour);
    m_time->setPalette(timePalette);
    const int side = qRound(TextStyle::pixelSizeOf(m_time->font()));
    m_clock->setPixmap(Symbols::icon(Symbols::Symbol::clock, side,
        Symbols::drawnColour(Symbols::Symbol::clock, side, colour, palette().color(QPalette::Window)))
                           .pixmap(QSize(side, side), devicePixelRatioF()));
}

void AlarmWindowView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && m_clock)
        showOrange();
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
