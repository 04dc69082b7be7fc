#include "driftbottle/unwired/BottleDetailView.h"

#include "driftbottle/DriftBottleManager.h"
#include "driftbottle/unwired/BottlePresentation.h"
#include "driftbottle/unwired/ReplySheetView.h"
#include "driftbottle/unwired/SensitiveWordAlertView.h"
#include "platform/RoundedPanel.h"
#include "server/Tasks.h"
#include "server/UserManager.h"
#include "widgets/BannerRow.h"
#include "widgets/ButtonStyle.h"
#include "widgets/EmojiLabel.h"
#include "widgets/IconTitleGap.h"
#include "widgets/PlainLabel.h"
#include "widgets/SecondaryText.h"
#include "widgets/Spacing.h"
#include "widgets/Symbols.h"
#include "widgets/TextStyle.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <QtMath>

using namespace Qt::StringLiterals;

namespace {

using TextStyle::Style;

/// An emoji in the system font at `pixels`.
EmojiLabel* emojiMark(const QString& emoji, int pixels, const QString& name, QWidget* parent)
{
    auto* label = new EmojiLabel(emoji, parent);
    label->setObjectName(name);
    label->setFont(EmojiLabel::emojiFont(TextStyle::systemFont(pixels)));
    // A bottle may carry no emoji: nothing shows, and an empty label in the emoji font would
    // ask for a width of thousands of pixels and push the page off the window.
    if (emoji.isEmpty())
        label->hide();
    return label;
}

/// Read-only plain text, wrapped, with `spacing` pixels between its lines, as tall as it
/// is (the detail scrolls, not the text) and selectable with the mouse.
QTextEdit* spacedText(const QString& text, int spacing, QWidget* parent)
{
    auto* edit = new QTextEdit(parent);
    edit->setAcceptRichText(false);
    edit->setPlainText(text);
    edit->setReadOnly(true);
    edit->setTextInteractionFlags(Qt::TextSelectableByMouse);
    edit->setFrameShape(QFrame::NoFrame);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    edit->viewport()->setAutoFillBackground(false);
    edit->setFocusPolicy(Qt::NoFocus);
    QTextDocument* document = edit->document();
    document->setDocumentMargin(0);
    QTextCursor all(document);
    all.select(QTextCursor::Document);
    QTextBlockFormat format;
    format.setLineHeight(spacing, QTextBlockFormat::LineDistanceHeight);
    all.mergeBlockFormat(format);
    QObject::connect(document->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, edit,
        [edit](const QSizeF& size) { edit->setFixedHeight(qCeil(size.height())); });
    edit->setFixedHeight(qCeil(document->size().height()));
    return edit;
}

QHBoxLayout* padded(QWidget* widget, int horizontal)
{
    auto* row = new QHBoxLayout;
    row->setContentsMargins(horizontal, 0, horizontal, 0);
    row->addWidget(widget);
    return row;
}

} // namespace

BottleDetailView::BottleDetailView(
    DriftBottle bottle, DriftBottleManager& bottleManager, UserManager& userManager, QWidget* parent)
    : QWidget(parent)
    , m_bottle(std::move(bottle))
    , m_bottleManager(bottleManager)
    , m_userManager(userManager)
    , m_successBanner(new BannerRow(BannerRow::Kind::success, this))
    , m_errorBanner(new BannerRow(BannerRow::Kind::error, this))
    , m_replyButton(new QPushButton(u"回复"_s, this))
{
    setObjectName(u"bottleDetail"_s);
    setFixedSize(fixedSize);

    QPushButton* close = Symbols::closeButton(qRound(TextStyle::pixelSizeOf(TextStyle::font(Style::title3))), this);
    close->setObjectName(u"closeIconButton"_s);
    connect(close, &QPushButton::clicked, this, &BottleDetailView::dismissRequested);
    auto* topBar = new QHBoxLayout;
    topBar->setContentsMargins(
        Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding);
    topBar->addStretch(1);
    topBar->addWidget(close);

    auto* body = new QWidget;
    auto* column = new QVBoxLayout(body);
    column->setContentsMargins(0, 8, 0, 0);
    column->setSpacing(24);

    auto* header = new QVBoxLayout;
    header->setSpacing(12);
    header->addWidget(emojiMark(BottlePresentation::typeMark(m_bottle.bottleType), 50, u"typeMark"_s, body));
    auto* typeName = new PlainLabel(BottlePresentation::typeName(m_bottle.bottleType), body);
    typeName->setObjectName(u"typeName"_s);
    typeName->setFont(TextStyle::font(Style::headline));
    typeName->setAlignment(Qt::AlignCenter);
    SecondaryText::apply(typeName);
    header->addWidget(typeName);
    column->addLayout(header);

    auto* senderCard = new RoundedPanel(16, body);
    auto* senderRow = new QHBoxLayout(senderCard);
    senderRow->setContentsMargins(20, 20, 20, 20);
    senderRow->setSpacing(16);
    senderRow->addWidget(emojiMark(m_bottle.senderEmoji, 50, u"senderMark"_s, senderCard));
    auto* senderText = new QVBoxLayout;
    senderText->setSpacing(6);
    auto* senderName = new PlainLabel(m_bottle.senderName, senderCard);
    senderName->setObjectName(u"senderName"_s);
    senderName->setFont(TextStyle::font(Style::title3, QFont::DemiBold));
    senderName->setElideMode(Qt::ElideRight);
    auto* date = new PlainLabel(BottlePresentation::detailDate(m_bottle.createdAt), senderCard);
    date->setObjectName(u"thrownAt"_s);
    date->setFont(TextStyle::font(Style::caption));
    SecondaryText::apply(date);
    senderText->addWidget(senderName);
    senderText->addWidget(date);
    senderRow->addLayout(senderText, 1);
    column->addLayout(padded(senderCard, 24));

    auto* contentCard = new RoundedPanel(16, body);
    auto* contentColumn = new QVBoxLayout(contentCard);
    contentColumn->setContentsMargins(20, 20, 20, 20);
    contentColumn->setSpacing(12);
    auto* contentTitle = new PlainLabel(u"内容"_s, contentCard);
    contentTitle->setObjectName(u"contentTitle"_s);
    contentTitle->setFont(TextStyle::font(Style::headline));
    SecondaryText::apply(contentTitle);
    QTextEdit* content = spacedText(m_bottle.content, contentLineSpacing, contentCard);
    content->setObjectName(u"bottleContent"_s);
    contentColumn->addWidget(contentTitle);
    contentColumn->addWidget(content);
    column->addLayout(padded(contentCard, 24));

    m_successBanner->setObjectName(u"successBanner"_s);
    m_successBanner->setContentCentred(true);
    m_successBanner->setMessage(u"回复已发送！"_s);
    m_successBanner->setFont(TextStyle::font(Style::subheadline));
    m_errorBanner->setObjectName(u"errorBanner"_s);
    m_errorBanner->setFont(TextStyle::font(Style::caption));
    for (BannerRow* banner : { m_successBanner, m_errorBanner }) {
        banner->setParent(body);
        banner->hide();
        column->addLayout(padded(banner, 24));
    }
    column->addSpacing(80);
    column->addStretch(1);

    auto* scroll = m_scroll = new QScrollArea(this);
    scroll->setObjectName(u"detailScroll"_s);
    // No stop of its own for Tab, where it would show no mark: Tab goes to the buttons, and
    // Page Up and Page Down pressed on them scroll the bottle (see keyPressEvent).
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // It scrolls by wheel and pages with no bar showing, so the cards keep their width too.
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(body);

    auto* closeButton = new QPushButton(u"关闭"_s, this);
    closeButton->setObjectName(u"closeButton"_s);
    connect(closeButton, &QPushButton::clicked, this, &BottleDetailView::dismissRequested);
    ButtonStyle::apply(closeButton, ButtonStyle::Style::bordered, ButtonStyle::ControlSize::large);
    m_replyButton->setObjectName(u"replyButton"_s);
    ButtonStyle::apply(m_replyButton, ButtonStyle::Style::borderedProminent, ButtonStyle::ControlSize::large);
    const int symbolSide = qRound(TextStyle::pixelSizeOf(m_replyButton->font()));
    // In the white of the prominent style's title, which it keeps on its face in every palette.
    const QSize symbolSquare(symbolSide, symbolSide);
    m_replyButton->setIconSize(IconTitleGap::widenedSize(symbolSquare, labelSpacing));
    m_replyButton->setIcon(
        IconTitleGap::widened(Symbols::icon(Symbols::Symbol::arrowshapeTurnUpLeftFill, symbolSide, QColor(Qt::white)),
            symbolSquare, labelSpacing));
    connect(m_replyButton, &QPushButton::clicked, this, &BottleDetailView::openReplySheet);
    for (QPushButton* button : { closeButton, m_replyButton })
        button->setAutoDefault(false);
    auto* bottomBar = new QHBoxLayout;
    bottomBar->setContentsMargins(
        Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding);
    bottomBar->setSpacing(16);
    bottomBar->addStretch(1);
    bottomBar->addWidget(closeButton);
    bottomBar->addWidget(m_replyButton);
    bottomBar->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(topBar);
    layout->addWidget(scroll, 1);
    layout->addLayout(bottomBar);

    // Signing in or out while the screen is open adds or removes the reply button.
    connect(&m_userManager, &UserManager::isLoggedInChanged, this, &BottleDetailView::updateReplyButton);
    connect(&m_userManager, &UserManager::currentUserChanged, this, &BottleDetailView::updateReplyButton);
    updateReplyButton();
}

BottleDetailView* BottleDetailView::openWindow(
    const DriftBottle& bottle, DriftBottleManager& bottles, UserManager& users)
{
    auto* view = new BottleDetailView(bottle, bottles, users);
    view->setAttribute(Qt::WA_DeleteOnClose);
    view->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    view->setWindowTitle(u"瓶子详情"_s);
    connect(view, &BottleDetailView::dismissRequested, view, &QWidget::close);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), view->size());
        frame.moveCenter(screen->availableGeometry().center());
        view->move(frame.topLeft());
    }
    view->show();
    view->raise();
    view->activateWindow();
    return view;
}

QDialog* BottleDetailView::openSheet(
    QWidget* parent, const DriftBottle& bottle, DriftBottleManager& bottles, UserManager& users)
{
    auto* sheet = new QDialog(parent);
    sheet->setObjectName(u"bottleDetailSheet"_s);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->setWindowModality(Qt::WindowModal);
    sheet->setWindowTitle(u"瓶子详情"_s);
    auto* view = new BottleDetailView(bottle, bottles, users, sheet);
    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    sheet->setFixedSize(fixedSize);
    connect(view, &BottleDetailView::dismissRequested, sheet, &QDialog::accept);
    sheet->open();
    return sheet;
}

bool BottleDetailView::canReply() const
{
    if (!m_userManager.isLoggedIn())
        return false;
    // A signed-in account without its user record still may answer.
    return !m_userManager.currentUser() || m_userManager.currentUser()->id != m_bottle.senderId;
}

void BottleDetailView::updateReplyButton()
{
    m_replyButton->setVisible(canReply());
}

void BottleDetailView::openReplySheet()
{
    if (m_sheet && m_sheet->isVisible())
        return;
    m_sheet = new ReplySheetView(
        m_bottle.id, m_bottle.senderId, [this](const QString& content) { replyToBottle(content); }, this);
    m_sheet->setContent(m_replyDraft);
    m_sheet->open();
}

void BottleDetailView::replyToBottle(const QString& content)
{
    m_errorBanner->hide();
    Tasks::start(sendReply(content), u"DriftBottle"_s, u"回复瓶子"_s);
}

QCoro::Task<> BottleDetailView::sendReply(QString content)
{
    const QPointer<BottleDetailView> self(this);
    QString failure;
    try {
        co_await m_bottleManager.replyToBottle(m_bottle.id, m_bottle.senderId, content);
    } catch (const std::exception& error) {
        failure = APIError::describe(error);
    }
    if (!self)
        co_return;
    if (failure.isEmpty()) {
        m_replyDraft.clear();
        if (m_sheet)
            m_sheet->accept();
        showBanner(m_successBanner);
        // Each success hides the banner 2 s after itself; a later one does not extend it.
        QTimer::singleShot(successBannerMs, Qt::PreciseTimer, this, [this] { m_successBanner->hide(); });
        co_return;
    }
    if (SensitiveWordAlertView::isSensitiveWordRefusal(failure)) {
        m_replyDraft.clear();
        if (m_sheet)
            m_sheet->reject();
        m_showSensitiveWordAlert = true;
        SensitiveWordAlertView::present(this, [this] { m_showSensitiveWordAlert = false; });
        m_errorBanner->hide();
        co_return;
    }
    // The sheet closes on its own; the answer waits for the next time it opens.
    m_replyDraft = content;
    m_errorBanner->setMessage(failure);
    showBanner(m_errorBanner);
}

void BottleDetailView::keyPressEvent(QKeyEvent* event)
{
    // The buttons leave these keys to the view: the page under them scrolls, as it did when
    // the scroller held the focus.
    if (event->modifiers() == Qt::NoModifier && (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown)) {
        m_scroll->verticalScrollBar()->triggerAction(
            event->key() == Qt::Key_PageUp ? QAbstractSlider::SliderPageStepSub : QAbstractSlider::SliderPageStepAdd);
        return;
    }
    QWidget::keyPressEvent(event);
}

void BottleDetailView::showBanner(BannerRow* banner)
{
    banner->show();
    // Below a long text, or at a larger font, the banners lie under the visible part of the
    // page, which shows no scroll bar: the page is laid out at once and scrolled to the new
    // banner, or the outcome of a press of "发送" would go unseen.
    m_scroll->widget()->layout()->activate();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    m_scroll->ensureWidgetVisible(banner, 0, bannerMargin);
}

QString BottleDetailView::errorMessage() const
{
    return m_errorBanner->isHidden() ? QString() : m_errorBanner->message();
}

bool BottleDetailView::showSuccessMessage() const
{
    return !m_successBanner->isHidden();
}
