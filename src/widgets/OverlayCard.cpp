#include "widgets/OverlayCard.h"

#include "platform/RoundedPanel.h"

#include <QEvent>
#include <QGraphicsDropShadowEffect>
#include <QGraphicsOpacityEffect>
#include <QMouseEvent>
#include <QPainter>
#include <QPropertyAnimation>
#include <QVBoxLayout>

#include <algorithm>

OverlayCard::OverlayCard(QWidget* parent, qreal backdropOpacity)
    : QWidget(parent)
    , m_backdrop(0, 0, 0, qRound(std::clamp(backdropOpacity, 0.0, 1.0) * 255))
    , m_card(new RoundedPanel(cornerRadius, this))
    , m_cardLayout(new QVBoxLayout(m_card))
    , m_effect(new QGraphicsOpacityEffect(this))
{
    Q_ASSERT(parent);
    setAttribute(Qt::WA_NoMousePropagation);
    m_cardLayout->setContentsMargins(24, 20, 24, 20);
    auto* shadow = new QGraphicsDropShadowEffect(m_card);
    shadow->setColor(QColor(0, 0, 0, 77));
    shadow->setBlurRadius(20);
    shadow->setOffset(0, 10);
    m_card->setGraphicsEffect(shadow);
    auto* outer = new QVBoxLayout(this);
    outer->addStretch(1);
    outer->addWidget(m_card, 0, Qt::AlignCenter);
    outer->addStretch(1);

    m_effect->setOpacity(0.0);
    setGraphicsEffect(m_effect);
    parent->installEventFilter(this);
    setGeometry(parent->rect());
    hide();
}

bool OverlayCard::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

void OverlayCard::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_backdrop);
}

void OverlayCard::mousePressEvent(QMouseEvent* event)
{
    // The backdrop swallows the click so that nothing under the card reacts to it.
    event->accept();
}

qreal OverlayCard::opacity() const
{
    return m_effect->opacity();
}

void OverlayCard::fadeIn()
{
    setGeometry(parentWidget()->rect());
    raise();
    show();
    fadeTo(1.0);
}

void OverlayCard::fadeOut()
{
    if (isHidden())
        return;
    fadeTo(0.0);
}

void OverlayCard::fadeTo(qreal target)
{
    if (m_animation) {
        // A superseded fade-out must not hide the card that is fading in again.
        m_animation->disconnect(this);
        m_animation->stop(); // deletes itself
    }
    auto* animation = new QPropertyAnimation(m_effect, "opacity", this);
    animation->setDuration(fadeMs);
    animation->setStartValue(m_effect->opacity());
    animation->setEndValue(target);
    animation->setEasingCurve(QEasingCurve::InOutQuad);
    if (target == 0.0) {
        connect(animation, &QPropertyAnimation::finished, this, [this] {
            hide();
            Q_EMIT fadedOut();
        });
    }
    m_animation = animation;
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}
