#include "friends/MessageBubbleWindow.h"

#include "friends/FriendMessageBubbleWindowManager.h"
#include "platform/SystemColours.h"
#include "widgets/EmojiLabel.h"
#include "widgets/PlainLabel.h"
#include "widgets/PlainLineEdit.h"
#include "widgets/ReadableColour.h"
#include "widgets/SecondaryText.h"
#include "widgets/TextStyle.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

/// The layout is drawn up with y counted from the bubble's bottom edge; Qt counts from the top.
QRect fromBottom(int height, int x, int y, int w, int h)
{
    return { x, height - y - h, w, h };
}

/// The message text's top edge, just under the avatar, and its least gap to the reply field
/// (both counted from the bubble's bottom edge).
constexpr int textTop = 127;
constexpr int textGap = 4;

/// The height of a line of Chinese and Latin text, fallback fonts included.
int lineHeightOf(const QFont& font)
{
    QTextLayout probe(u"汉Ag"_s, font);
    probe.beginLayout();
    const QTextLine line = probe.createLine();
    probe.endLayout();
    return std::max(1, static_cast<int>(std::ceil(std::max(line.height(), QFontMetricsF(font).height()))));
}

} // namespace

MessageBubbleWindow::MessageBubbleWindow(Kind kind, quint64 token, QString bubbleId, qint64 receiverId,
    const QString& avatar, const QString& title, const QString& content, Screens& screens)
    : KeyEnabledWindow(screens)
    , m_kind(kind)
    , m_token(token)
    , m_bubbleId(std::move(bubbleId))
    , m_receiverId(receiverId)
{
    const bool received = kind == Kind::Received;
    using Manager = FriendMessageBubbleWindowManager;
    const int h = received ? Manager::receiveWindowHeight : Manager::sendWindowHeight;
    // The column of bubbles is laid out from these fixed sizes, so they never grow.
    setFixedSize(Manager::windowWidth, h);
    setObjectName(received ? u"receivedBubble"_s : u"composeBubble"_s);
    const int top = received ? 128 : 68; // the avatar's bottom edge; the rest of the header follows it

    auto* avatarLabel = new EmojiLabel(avatar, this);
    avatarLabel->setObjectName(u"avatar"_s);
    avatarLabel->setFont(EmojiLabel::emojiFont(TextStyle::systemFont(24)));
    avatarLabel->setGeometry(fromBottom(h, 15, top, 30, 30));
    avatarLabel->setAlignment(Qt::AlignCenter);

    auto* titleLabel = new PlainLabel(QString(), this);
    titleLabel->setObjectName(u"title"_s);
    titleLabel->setFont(TextStyle::systemFont(14, QFont::Medium));
    titleLabel->setElideMode(Qt::ElideRight);
    titleLabel->setText(title);
    titleLabel->setGeometry(fromBottom(h, 55, top + 4, 200, 20));

    m_close = new QPushButton(u"✕"_s, this);
    m_close->setObjectName(u"close"_s);
    m_close->setFlat(true);
    m_close->setFocusPolicy(Qt::NoFocus);
    m_close->setGeometry(fromBottom(h, 285, top + 5, 20, 20));
    SecondaryText::apply(m_close);
    connect(m_close, &QPushButton::clicked, this, &MessageBubbleWindow::closeRequested);

    if (received) {
        // A message may be thousands of characters long: it scrolls inside its box
        // instead of being cut off or stretching the bubble.
        auto* text = new QPlainTextEdit(this);
        text->setObjectName(u"content"_s);
        text->setReadOnly(true);
        text->setPlainText(content);
        text->setFrameShape(QFrame::NoFrame);
        text->setFont(TextStyle::systemFont(13));
        text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        text->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        text->setFocusPolicy(Qt::NoFocus);
        // Its base is the card's colour, so it needs no fill of its own.
        text->viewport()->setAutoFillBackground(false);
        SecondaryText::apply(text);
        text->document()->setDocumentMargin(0);
        // A whole number of lines, clear of the reply field, so that scrolled to its end the
        // last line shows in full.
        const int lineHeight = lineHeightOf(text->font());
        const int lines = std::max(1, (textTop - 33 - 28 - textGap) / lineHeight);
        text->setGeometry(fromBottom(h, 15, textTop - lines * lineHeight, 290, lines * lineHeight));

        m_waiting = new PlainLabel(QString(), this);
        m_waiting->setObjectName(u"waiting"_s);
        m_waiting->setFont(TextStyle::font(TextStyle::Style::caption));
        ReadableColour::tint(m_waiting, SystemColours::orange());
        m_waiting->setGeometry(fromBottom(h, 15, 8, 290, 20));
        m_waiting->hide();
    }

    const int fieldY = received ? 33 : 28;
    m_textField = new PlainLineEdit(this);
    m_textField->setObjectName(u"input"_s);
    m_textField->setPlaceholderText(received ? u"回复..."_s : u"输入消息..."_s);
    SecondaryText::apply(m_textField, SecondaryText::Part::placeholder);
    m_textField->setFont(TextStyle::systemFont(13));
    m_textField->setGeometry(fromBottom(h, 15, fieldY, 220, 28));

    m_send = new QPushButton(u"发送"_s, this);
    m_send->setObjectName(u"send"_s);
    m_send->setAutoDefault(false);
    m_send->setGeometry(fromBottom(h, 245, fieldY, 60, 28));
    connect(m_send, &QPushButton::clicked, this, &MessageBubbleWindow::sendRequested);
    takeCardPalette();
}

void MessageBubbleWindow::takeCardPalette()
{
    // Only the window colour is set here; the base and the rest keep following the
    // application, so after a switch of palette the new base arrives first and the card
    // takes it from there.
    // A bubble fading out is disabled: its card keeps the colour it had.
    QPalette card = palette();
    const QColor base = card.color(QPalette::Active, QPalette::Base);
    for (const QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled })
        card.setColor(group, QPalette::Window, base);
    if (card != palette())
        setPalette(card);
}

void MessageBubbleWindow::changeEvent(QEvent* event)
{
    KeyEnabledWindow::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        takeCardPalette();
}

void MessageBubbleWindow::setSending(bool sending)
{
    m_send->setEnabled(!sending);
    m_send->setText(sending ? u"发送中..."_s : u"发送"_s);
    m_textField->setEnabled(!sending);
}

void MessageBubbleWindow::setWaitingCount(qsizetype count)
{
    if (!m_waiting)
        return;
    m_waiting->setText(u"还有 "_s + QString::number(count) + u" 条消息"_s);
    m_waiting->setVisible(count > 0);
}

void MessageBubbleWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // A soft edge stands in for the shadow, which a window of exactly the bubble's size
    // has no room to cast.
    const QRectF card = QRectF(rect()).adjusted(1, 1, -1, -2);
    for (int i = 3; i >= 1; --i) {
        QPainterPath shade;
        shade.addRoundedRect(card.adjusted(-i * 0.33, -i * 0.33 + 1, i * 0.33, i * 0.66), 12, 12);
        painter.fillPath(shade, QColor(0, 0, 0, 18));
    }
    QPainterPath path;
    path.addRoundedRect(card, 12, 12);
    painter.fillPath(path, palette().color(QPalette::Window));
}
