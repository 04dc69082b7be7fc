#include "pet/SpeechBubbleView.h"

#include "platform/FloatingWindow.h"
#include "platform/InkWideLabel.h"
#include "platform/RoundedPanel.h"
#include "platform/TextFitting.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QLabel* plainLabel(const QString& text, const QFont& font, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setFont(font);
    return label;
}

} // namespace

SpeechBubbleView::SpeechBubbleView(const QString& message, const QString& title, const QString& emoji,
    std::function<void()> onClose, const SpeechBubbleLook& look, QWidget* parent)
    : QWidget(parent)
    , m_message(message)
    , m_title(title)
    , m_emoji(emoji)
    , m_onClose(std::move(onClose))
    , m_card(new RoundedPanel(12, this))
    , m_closeButton(look.closeButton(m_card))
{
    setAttribute(Qt::WA_TranslucentBackground);
    m_card->setObjectName(u"bubbleCard"_s);
    // The card paints the control background: its texts and symbol are set against that.
    m_card->setBackgroundRole(QPalette::Base);

    auto* emojiView = new InkWideLabel(emoji, look.emoji, m_card);
    emojiView->setObjectName(u"bubbleEmoji"_s);

    m_titleLabel = plainLabel(title, look.title, m_card);
    m_titleLabel->setObjectName(u"bubbleTitle"_s);
    m_titleLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    m_closeButton->setObjectName(u"bubbleCloseButton"_s);
    // The bubble never takes the keyboard: its button is for the mouse alone.
    m_closeButton->setFocusPolicy(Qt::NoFocus);
    connect(m_closeButton, &QPushButton::clicked, this, &SpeechBubbleView::close);

    m_messageLabel = plainLabel(message, look.message, m_card);
    m_messageLabel->setObjectName(u"bubbleMessage"_s);
    m_messageLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    auto* header = new QHBoxLayout;
    header->setSpacing(6);
    header->addWidget(emojiView, 0, Qt::AlignVCenter);
    header->addWidget(m_titleLabel, 1, Qt::AlignVCenter);
    header->addWidget(m_closeButton, 0, Qt::AlignVCenter);

    auto* column = new QVBoxLayout(m_card);
    column->setContentsMargins(12, 12, 12, 12);
    column->setSpacing(8);
    column->addLayout(header);
    column->addWidget(m_messageLabel);

    m_autoCloseTimer.setSingleShot(true);
    m_autoCloseTimer.setTimerType(Qt::PreciseTimer);
    m_autoCloseTimer.setInterval(autoCloseMs);
    connect(&m_autoCloseTimer, &QTimer::timeout, this, &SpeechBubbleView::close);
}

void SpeechBubbleView::setOpacity(double opacity)
{
    if (m_opacity == opacity)
        return;
    m_opacity = opacity;
    applyOpacity();
    Q_EMIT opacityChanged(opacity);
}

void SpeechBubbleView::applyOpacity()
{
    // The window is transparent around the card, so fading the window fades the bubble.
    if (auto* window = qobject_cast<FloatingWindow*>(this->window()))
        window->fadeTo(m_opacity, 0);
}

void SpeechBubbleView::setOffset(double offset)
{
    if (m_offset == offset)
        return;
    m_offset = offset;
    m_card->setGeometry(cardRect());
    Q_EMIT offsetChanged(offset);
}

void SpeechBubbleView::close()
{
    m_autoCloseTimer.stop();
    if (m_onClose)
        m_onClose();
}

QRect SpeechBubbleView::cardRect() const
{
    const int width = std::min(maxContentWidth, this->width());
    const int height = std::min(this->height(),
        m_card->layout()->hasHeightForWidth() ? m_card->layout()->heightForWidth(width) : m_card->sizeHint().height());
    return { (this->width() - width) / 2, (this->height() - height) / 2 + qRound(m_offset), width, height };
}

void SpeechBubbleView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    fitTexts();
    m_card->setGeometry(cardRect());
}

void SpeechBubbleView::fitTexts()
{
    // The bubble keeps its size: a long title or message ends in "…", whole in the tool tip.
    const QMargins margins = m_card->layout()->contentsMargins();
    const int width = std::min(maxContentWidth, this->width()) - margins.left() - margins.right();
    const auto* header = static_cast<QBoxLayout*>(m_card->layout()->itemAt(0)->layout());
    const int spacing = static_cast<QBoxLayout*>(m_card->layout())->spacing();
    const int titleWidth
        = width - header->itemAt(0)->sizeHint().width() - m_closeButton->sizeHint().width() - 2 * header->spacing();
    const QString title = m_titleLabel->fontMetrics().elidedText(m_title, Qt::ElideRight, titleWidth);
    m_titleLabel->setText(title);
    m_titleLabel->setToolTip(title == m_title ? QString() : TextFitting::plainToolTip(m_title));

    const int room = height() - margins.top() - margins.bottom() - header->sizeHint().height() - spacing;
    const QFontMetrics metrics = m_messageLabel->fontMetrics();
    const int lines = std::clamp((room + metrics.leading()) / std::max(1, metrics.lineSpacing()), 1, messageLines);
    bool cut = false;
    m_messageLabel->setText(TextFitting::fitted(m_message, m_messageLabel->font(), width, lines, &cut));
    m_messageLabel->setToolTip(cut ? TextFitting::plainToolTip(m_message) : QString());
    // What is drawn is cut and broken into lines; a screen reader gets the words as they were.
    m_titleLabel->setAccessibleName(m_title);
    m_messageLabel->setAccessibleName(m_message);
}

void SpeechBubbleView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_appeared)
        return;
    m_appeared = true;
    // The bubble fades in while it slides down into place.
    applyOpacity();
    auto* appear = new QParallelAnimationGroup(this);
    for (const auto& [property, end] : { std::pair { "opacity", 1.0 }, std::pair { "offset", 0.0 } }) {
        auto* animation = new QPropertyAnimation(this, property, appear);
        animation->setDuration(appearMs);
        animation->setEndValue(end);
        animation->setEasingCurve(QEasingCurve::OutQuad);
        appear->addAnimation(animation);
    }
    appear->start(QAbstractAnimation::DeleteWhenStopped);
    m_autoCloseTimer.start();
}
