#include "driftbottle/unwired/ThrowBottleTabView.h"

#include "driftbottle/ButtonSpinner.h"
#include "driftbottle/DriftBottleManager.h"
#include "driftbottle/unwired/SensitiveWordAlertView.h"
#include "server/Tasks.h"
#include "widgets/BannerRow.h"
#include "widgets/BusySpinner.h"
#include "widgets/ButtonStyle.h"
#include "widgets/EmojiLabel.h"
#include "widgets/GraphemeText.h"
#include "widgets/IconTitleGap.h"
#include "widgets/OverlayCard.h"
#include "widgets/PlainLabel.h"
#include "widgets/PlainTextEditor.h"
#include "widgets/SecondaryText.h"
#include "widgets/Symbols.h"
#include "widgets/TextStyle.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

using namespace Qt::StringLiterals;

// The page refuses no more than the manager would.
static_assert(ThrowBottleTabView::maxLength == DriftBottleManager::maxContentLength);

ThrowBottleTabView::ThrowBottleTabView(DriftBottleManager& bottleManager, UserManager& userManager, QWidget* parent)
    : QWidget(parent)
    , m_bottleManager(bottleManager)
    , m_userManager(userManager)
    , m_editor(new PlainTextEditor)
    , m_counter(new PlainLabel)
    , m_errorRow(new BannerRow(BannerRow::Kind::error))
    , m_throwButton(new QPushButton(this))
    , m_spinner(new BusySpinner(14, m_throwButton))
    , m_success(nullptr)
{
    setObjectName(u"throwTab"_s);
    auto* body = new QWidget;
    auto* column = new QVBoxLayout(body);
    column->setContentsMargins(0, 20, 0, 0);
    column->setSpacing(24);

    auto* header = new QVBoxLayout;
    header->setSpacing(12);
    auto* bottle = new EmojiLabel(u"🍾"_s, body);
    bottle->setObjectName(u"bottleMark"_s);
    bottle->setFont(EmojiLabel::emojiFont(TextStyle::systemFont(50)));
    header->addWidget(bottle);
    auto* subtitle = new PlainLabel(u"写下你的心情，让它漂向远方"_s, body);
    subtitle->setObjectName(u"throwHint"_s);
    subtitle->setFont(TextStyle::font(TextStyle::Style::subheadline));
    subtitle->setAlignment(Qt::AlignCenter);
    SecondaryText::apply(subtitle);
    header->addWidget(subtitle);
    column->addLayout(header);

    auto* editorBlock = new QVBoxLayout;
    editorBlock->setContentsMargins(24, 0, 24, 0);
    editorBlock->setSpacing(12);
    auto* titleRow = new QHBoxLayout;
    auto* title = new PlainLabel(u"内容"_s, body);
    title->setObjectName(u"contentTitle"_s);
    title->setFont(TextStyle::font(TextStyle::Style::headline));
    m_counter->setParent(body);
    m_counter->setObjectName(u"characterCounter"_s);
    m_counter->setFont(TextStyle::font(TextStyle::Style::caption));
    titleRow->addWidget(title);
    titleRow->addStretch(1);
    titleRow->addWidget(m_counter);
    editorBlock->addLayout(titleRow);

    m_editor->setParent(body);
    m_editor->setObjectName(u"bottleEditor"_s);
    m_editor->setPlaceholderText(u"在这里写下你想说的话...\n\n可以是心情、故事、或者只是一句问候"_s);
    m_editor->setFixedHeight(200 + 2 * 12);
    m_editor->setFrameShape(QFrame::NoFrame);
    m_editor->setMaxCharacters(maxLength);
    connect(m_editor, &QPlainTextEdit::textChanged, this, &ThrowBottleTabView::contentChanged);
    editorBlock->addWidget(m_editor);
    column->addLayout(editorBlock);

    m_errorRow->setParent(body);
    m_errorRow->setObjectName(u"errorRow"_s);
    m_errorRow->setFont(TextStyle::font(TextStyle::Style::caption));
    m_errorRow->hide();
    auto* errorWrap = new QHBoxLayout;
    errorWrap->setContentsMargins(24, 0, 24, 0);
    errorWrap->addWidget(m_errorRow);
    column->addLayout(errorWrap);
    column->addSpacing(roomBelowContent);
    column->addStretch(1);

    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // It scrolls by wheel and keys with no bar showing.
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(body);
    scroll->viewport()->setAutoFillBackground(false);
    body->setAutoFillBackground(false);

    m_throwButton->setObjectName(u"throwButton"_s);
    ButtonStyle::apply(m_throwButton, ButtonStyle::Style::borderedProminent, ButtonStyle::ControlSize::large);
    // The label is 200 wide, the large control's padding either side of it.
    m_throwButton->setFixedWidth(TextStyle::scaled(200 + 2 * 16));
    m_throwButton->setAutoDefault(false);
    m_spinner->hide();
    connect(m_throwButton, &QPushButton::clicked, this, &ThrowBottleTabView::throwBottle);

    // The button is in no layout: it floats over the scrolled content (resizeEvent).
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(scroll, 1);
    m_throwButton->raise();

    m_success = new OverlayCard(this, 0.5);
    m_success->setObjectName(u"throwSuccess"_s);
    m_success->cardLayout()->setContentsMargins(50, 50, 50, 50);
    m_success->cardLayout()->setSpacing(20);
    auto* tick = new SymbolView(Symbols::Symbol::checkmarkCircleFill, TextStyle::scaled(successSymbolPixels),
        Symbols::Tint::green, m_success->card());
    tick->setObjectName(u"successSymbol"_s);
    m_success->cardLayout()->addWidget(tick, 0, Qt::AlignHCenter);
    auto* done = new PlainLabel(u"发送成功！"_s, m_success->card());
    done->setObjectName(u"successTitle"_s);
    done->setFont(TextStyle::font(TextStyle::Style::title, QFont::Bold));
    done->setAlignment(Qt::AlignCenter);
    m_success->cardLayout()->addWidget(done);

    applyEditorColours();
    contentChanged();
}

QString ThrowBottleTabView::content() const
{
    return m_editor->text();
}

QString ThrowBottleTabView::counterText() const
{
    return m_counter->fullText();
}

QString ThrowBottleTabView::errorMessage() const
{
    return m_errorRow->isHidden() ? QString() : m_errorRow->message();
}

void ThrowBottleTabView::contentChanged()
{
    const qsizetype count = GraphemeText::count(content());
    m_counter->setText(QString::number(count) + u"/"_s + QString::number(maxLength));
    // Over the limit the count turns red; the secondary kit hands the label back to it.
    const bool over = count > maxLength;
    SecondaryText::setSecondary(m_counter, !over);
    if (over) {
        QPalette palette = m_counter->palette();
        for (const QPalette::ColorRole role : { QPalette::WindowText, QPalette::Text })
            palette.setColor(role, QColor(0xd7, 0x2c, 0x2c));
        m_counter->setPalette(palette);
    }
    updateButton();
}

void ThrowBottleTabView::updateButton()
{
    const QString text = content();
    m_throwButton->setEnabled(!m_isSending && !text.isEmpty() && GraphemeText::count(text) <= maxLength);
    m_throwButton->setText(m_isSending ? u"发送中..."_s : u"发送"_s);
    m_spinner->setVisible(m_isSending);
    // While sending, a blank icon keeps the spinner's place before the words.
    m_throwButton->setIconSize(IconTitleGap::widenedSize(m_spinner->size(), labelSpacing));
    m_throwButton->setIcon(m_isSending ? ButtonSpinner::placeholder(m_spinner->size(), labelSpacing) : QIcon());
    if (m_isSending)
        ButtonSpinner::placeOnIcon(m_spinner, m_throwButton);
}

void ThrowBottleTabView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_throwButton->adjustSize();
    const QSize button = m_throwButton->size();
    m_throwButton->move((width() - button.width()) / 2, height() - buttonBottomMargin - button.height());
}

void ThrowBottleTabView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange)
        applyEditorColours();
    QWidget::changeEvent(event);
}

void ThrowBottleTabView::applyEditorColours()
{
    // The editor inverts the page: a grey box with white text on a light page, a white box
    // with black text on a dark one.
    const bool light = palette().color(QPalette::Window).lightness() >= 128;
    const QColor text = light ? QColor(Qt::white) : QColor(Qt::black);
    // Gray at 0.85 over a light page leaves white text at about 3:1, and the placeholder below
    // that: the box is deepened, hue kept, and a faint placeholder made stronger, just as far
    // as both must go to read at 4.5:1.
    QColor box = light ? SecondaryColour::opaqueOver(QColor(128, 128, 128, 217), SecondaryText::backdrop(m_editor))
                       : QColor(Qt::white);
    QColor placeholder = text;
    placeholder.setAlphaF(light ? 0.7 : 0.5);
    const auto reads = [&](const QColor& ink) {
        return SecondaryColour::contrast(SecondaryColour::opaqueOver(ink, box), box) >= SecondaryText::minimumContrast;
    };
    for (int step = 0; step < 100 && light && !(reads(text) && reads(placeholder)); ++step)
        box = box.darker(102);
    while (!reads(placeholder) && placeholder.alphaF() < 1.0)
        placeholder.setAlphaF(std::min(1.0f, placeholder.alphaF() + 0.01f));
    m_editor->setStyleSheet(
        u"QPlainTextEdit { background: %1; border-radius: 12px; padding: 12px; }"_s.arg(box.name(QColor::HexArgb)));
    QPalette editorPalette = m_editor->palette();
    editorPalette.setColor(QPalette::Text, text);
    editorPalette.setColor(QPalette::PlaceholderText, placeholder);
    if (editorPalette != m_editor->palette())
        m_editor->setPalette(editorPalette);
}

void ThrowBottleTabView::setShowSuccess(bool shown)
{
    m_showSuccess = shown;
    if (shown)
        m_success->fadeIn();
    else
        m_success->fadeOut();
}

void ThrowBottleTabView::throwBottle()
{
    if (m_isSending)
        return;
    m_isSending = true;
    m_errorRow->hide();
    setShowSuccess(false);
    updateButton();
    Tasks::start(sendBottle(content()), u"DriftBottle"_s, u"丢瓶子"_s);
}

QCoro::Task<> ThrowBottleTabView::sendBottle(QString content)
{
    const QPointer<ThrowBottleTabView> self(this);
    QString failure;
    try {
        co_await m_bottleManager.throwBottle(content, {}, BottleType::normal, false);
    } catch (const std::exception& error) {
        failure = APIError::describe(error);
    }
    if (!self)
        co_return;
    m_isSending = false;
    if (failure.isEmpty()) {
        m_editor->clear();
        setShowSuccess(true);
        // Each success hides the card 1.5 s after itself; nothing cancels or extends it.
        QTimer::singleShot(successShownMs, Qt::PreciseTimer, this, [this] { setShowSuccess(false); });
    } else if (SensitiveWordAlertView::isSensitiveWordRefusal(failure)) {
        m_showSensitiveWordAlert = true;
        SensitiveWordAlertView::present(this, [this] { m_showSensitiveWordAlert = false; });
    } else {
        m_errorRow->setMessage(failure);
        m_errorRow->show();
    }
    updateButton();
}
