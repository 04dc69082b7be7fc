#include "driftbottle/unwired/SensitiveWordAlertView.h"

#include "platform/RoundedPanel.h"
#include "widgets/ButtonStyle.h"
#include "widgets/PlainLabel.h"
#include "widgets/SecondaryText.h"
#include "widgets/Symbols.h"
#include "widgets/TextStyle.h"

#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr qreal cardRadius = 20;

} // namespace

SensitiveWordAlertView::SensitiveWordAlertView(QWidget* host, std::function<void()> onDismiss)
    : QWidget(host)
    , m_onDismiss(std::move(onDismiss))
    , m_card(new RoundedPanel(cardRadius, this))
    , m_button(new QPushButton(u"我知道了"_s, m_card))
    , m_effect(new QGraphicsOpacityEffect(this))
{
    Q_ASSERT(host);
    setObjectName(u"sensitiveWordAlert"_s);
    setAttribute(Qt::WA_NoMousePropagation);
    setFocusPolicy(Qt::NoFocus);
    m_card->setObjectName(u"sensitiveWordCard"_s);

    auto* heading = new QVBoxLayout;
    heading->setSpacing(12);
    auto* symbol = new SymbolView(Symbols::Symbol::exclamationmarkTriangleFill, TextStyle::scaled(50),
        Symbols::Tint::orange, m_card, QPalette::Base);
    symbol->setObjectName(u"sensitiveWordSymbol"_s);
    heading->addWidget(symbol, 0, Qt::AlignHCenter);
    auto* title = new PlainLabel(u"瓶子包含敏感词，请修改！"_s, m_card);
    title->setObjectName(u"sensitiveWordTitle"_s);
    TextStyle::apply(title, TextStyle::Style::title2, QFont::Bold);
    title->setAlignment(Qt::AlignCenter);
    title->setWordWrap(true);
    heading->addWidget(title);

    auto* explanation = new PlainLabel(u"为了营造良好的社区环境，请修改内容后重新提交"_s, m_card);
    explanation->setObjectName(u"sensitiveWordExplanation"_s);
    explanation->setAlignment(Qt::AlignCenter);
    explanation->setWordWrap(true);
    explanation->setContentsMargins(8, 0, 8, 0);
    SecondaryText::apply(explanation);

    m_button->setObjectName(u"sensitiveWordOkButton"_s);
    ButtonStyle::apply(m_button, ButtonStyle::Style::borderedProminent, ButtonStyle::ControlSize::large);
    // Inside a dialog (the reply sheet) Return must press this button, not the dialog's own.
    m_button->setAutoDefault(true);
    connect(m_button, &QPushButton::clicked, this, &SensitiveWordAlertView::requestDismiss);

    auto* column = new QVBoxLayout(m_card);
    column->setContentsMargins(32, 32, 32, 32);
    column->setSpacing(24);
    column->addLayout(heading);
    column->addWidget(explanation);
    column->addWidget(m_button, 0, Qt::AlignHCenter);

    m_effect->setOpacity(0.0);
    setGraphicsEffect(m_effect);
    host->installEventFilter(this);
    followHost();
    hide();
}

SensitiveWordAlertView* SensitiveWordAlertView::present(QWidget* host, std::function<void()> onDismissed)
{
    for (auto* shown : host->findChildren<SensitiveWordAlertView*>(Qt::FindDirectChildrenOnly)) {
        if (!shown->m_closing)
            return shown;
    }
    auto* alert = new SensitiveWordAlertView(host, {});
    alert->m_onDismiss = [alert, onDismissed = std::move(onDismissed)] {
        connect(alert, &SensitiveWordAlertView::fadedOut, alert, &QObject::deleteLater);
        alert->fadeOut();
        if (onDismissed)
            onDismissed();
    };
    alert->fadeIn();
    return alert;
}

bool SensitiveWordAlertView::isSensitiveWordRefusal(const QString& errorDescription)
{
    return errorDescription.contains(u"敏感词"_s);
}

void SensitiveWordAlertView::requestDismiss()
{
    // A second click while the card fades out must not end the presentation twice.
    if (m_closing)
        return;
    m_closing = true;
    if (m_focusBefore)
        m_focusBefore->setFocus(Qt::OtherFocusReason);
    if (m_onDismiss)
        m_onDismiss();
}

void SensitiveWordAlertView::fadeIn()
{
    m_closing = false;
    if (QWidget* focused = window()->focusWidget(); focused && !isAncestorOf(focused) && focused != this)
        m_focusBefore = focused;
    followHost();
    raise();
    show();
    m_button->setFocus(Qt::OtherFocusReason);
    fadeTo(1.0);
}

void SensitiveWordAlertView::fadeOut()
{
    m_closing = true;
    if (isHidden()) {
        Q_EMIT fadedOut();
        return;
    }
    fadeTo(0.0);
}

void SensitiveWordAlertView::fadeTo(qreal target)
{
    if (m_animation) {
        // A fade-out that gets replaced must not hide the card fading in again.
        m_animation->disconnect(this);
        m_animation->stop();
    }
    auto* animation = new QPropertyAnimation(m_effect, "opacity", this);
    animation->setDuration(fadeMs);
    animation->setEasingCurve(QEasingCurve::InOutQuad);
    animation->setStartValue(m_effect->opacity());
    animation->setEndValue(target);
    if (target == 0.0) {
        connect(animation, &QPropertyAnimation::finished, this, [this] {
            hide();
            Q_EMIT fadedOut();
        });
    }
    m_animation = animation;
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void SensitiveWordAlertView::followHost()
{
    const QRect area = parentWidget()->rect();
    setGeometry(area);
    // At most 350 wide, and narrower only when the host itself is.
    const int width = qMin(maxCardWidth, area.width() - 32);
    m_card->setFixedWidth(qMax(width, 200));
    m_card->setFixedHeight(m_card->heightForWidth(m_card->width()) > 0 ? m_card->heightForWidth(m_card->width())
                                                                       : m_card->sizeHint().height());
    m_card->move((area.width() - m_card->width()) / 2, (area.height() - m_card->height()) / 2);
}

bool SensitiveWordAlertView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        followHost();
    return QWidget::eventFilter(watched, event);
}

void SensitiveWordAlertView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0, 0, 0, 128));

    // A soft shadow under the card, a little below it: rings of falling strength stand in
    // for a blur, which a widget cannot have without a second graphics effect.
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QRectF face = QRectF(m_card->geometry()).translated(0, 10);
    constexpr int rings = 20;
    for (int i = rings; i > 0; --i) {
        const qreal spread = i;
        QPainterPath ring;
        ring.addRoundedRect(face.adjusted(-spread, -spread, spread, spread), cardRadius + spread, cardRadius + spread);
        painter.fillPath(ring, QColor(0, 0, 0, 4));
    }
}

bool SensitiveWordAlertView::onBackdrop(const QPointF& position) const
{
    return !m_card->geometry().contains(position.toPoint());
}

void SensitiveWordAlertView::mousePressEvent(QMouseEvent* event)
{
    // Presses on the card's face reach here too (the face ignores them); they do nothing.
    m_pressOnBackdrop = onBackdrop(event->position());
    event->accept();
}

void SensitiveWordAlertView::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    const bool click = m_pressOnBackdrop && onBackdrop(event->position());
    m_pressOnBackdrop = false;
    if (click && event->button() == Qt::LeftButton)
        requestDismiss();
}

void SensitiveWordAlertView::keyPressEvent(QKeyEvent* event)
{
    // Keys the button leaves alone stop here: nothing under the card reacts while it shows.
    event->accept();
}

bool SensitiveWordAlertView::focusNextPrevChild(bool)
{
    // Tab stays on the card's one button instead of wandering to the widgets underneath.
    m_button->setFocus(Qt::TabFocusReason);
    return true;
}
