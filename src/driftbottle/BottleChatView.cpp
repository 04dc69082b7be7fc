#include "driftbottle/BottleChatView.h"

#include "driftbottle/ButtonSpinner.h"
#include "driftbottle/ChatView.h"
#include "driftbottle/ConversationListModel.h"
#include "driftbottle/ConversationManager.h"
#include "driftbottle/ConversationRowView.h"
#include "driftbottle/ThrowNewBottleSheet.h"
#include "driftbottle/WrappedLabel.h"
#include "platform/Alerts.h"
#include "platform/LogManager.h"
#include "server/Tasks.h"
#include "widgets/BannerRow.h"
#include "widgets/BusySpinner.h"
#include "widgets/ButtonStyle.h"
#include "widgets/Divider.h"
#include "widgets/EmojiLabel.h"
#include "widgets/GraphemeText.h"
#include "widgets/IconTitleGap.h"
#include "widgets/OverlayCard.h"
#include "widgets/PlainLabel.h"
#include "widgets/RowKeys.h"
#include "widgets/SecondaryText.h"
#include "widgets/Symbols.h"
#include "widgets/TextStyle.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString category = u"Conversation"_s;

void log(const QString& message)
{
    LogManager::log(message, category);
}

/// The pick card's preview: at most this many lines of at most this width.
constexpr int previewLines = 3;
constexpr int previewWidth = 380;

using Symbols::Symbol;
using Symbols::Tint;
using TextStyle::Style;

enum class Tone { primary, secondary };

PlainLabel* styledLabel(const QString& text, const QFont& font, Tone tone, QWidget* parent)
{
    auto* label = new PlainLabel(text, parent);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    if (tone == Tone::secondary)
        SecondaryText::apply(label);
    return label;
}

/// Between a header button's symbol (or spinner) and its title.
constexpr int labelSpacing = 6;

/// The side of the symbol on a button: as tall as its title.
int buttonSymbolSide(const QPushButton* button)
{
    return std::max(1, qRound(TextStyle::pixelSizeOf(button->font())));
}

const QString pickTitle = u"捡瓶子"_s;
const QString pickingTitle = u"捡取中..."_s;

} // namespace

BottleChatView::BottleChatView(ConversationManager& manager, const Clock& clock, QWidget* parent)
    : QWidget(parent)
    , m_conversationManager(manager)
    , m_conversationManagerAlive(&manager)
    , m_model(new ConversationListModel(manager, clock, this))
{
    setObjectName(u"bottleChatView"_s);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setChildrenCollapsible(false);
    splitter->setHandleWidth(1);
    layout->addWidget(splitter);

    splitter->addWidget(conversationListView());
    splitter->addWidget(chatDetailView());
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({ 300, windowWidth - 300 });
    buildPickOverlay();

    connect(&manager, &ConversationManager::conversationsChanged, this, &BottleChatView::updateListState);
    connect(&manager, &ConversationManager::conversationsChanged, this, &BottleChatView::dropVanishedSelection);
    connect(&manager, &ConversationManager::isLoadingChanged, this, &BottleChatView::updateListState);
    connect(&manager, &ConversationManager::currentConversationChanged, this, &BottleChatView::updateChatPane);
    updateListState();
    updateChatPane();
    resize(windowWidth, windowHeight);
}

BottleChatView::~BottleChatView()
{
    // A window deleted while shown gets no hide event; its refresh must end all the same,
    // unless the manager that ran it has gone already.
    if (m_refreshing && m_conversationManagerAlive)
        m_conversationManager.stopAutoRefresh();
}

QWidget* BottleChatView::conversationListView()
{
    auto* pane = new QWidget(this);
    pane->setObjectName(u"listPane"_s);
    pane->setBackgroundRole(QPalette::Base);
    pane->setAutoFillBackground(true);
    pane->setMinimumWidth(250);
    pane->setMaximumWidth(400);
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* header = new QHBoxLayout;
    header->setContentsMargins(16, 16, 16, 16);
    header->setSpacing(12);
    m_throwButton = ButtonStyle::create(
        u"丢瓶子"_s, ButtonStyle::Style::borderedProminent, ButtonStyle::ControlSize::large, pane);
    m_throwButton->setObjectName(u"throwButton"_s);
    IconTitleGap::setButtonSymbol(
        m_throwButton, Symbol::paperplaneFill, Tint::primary, buttonSymbolSide(m_throwButton), labelSpacing);
    m_pickButton = ButtonStyle::create(pickTitle, ButtonStyle::Style::bordered, ButtonStyle::ControlSize::large, pane);
    m_pickButton->setObjectName(u"pickButton"_s);
    IconTitleGap::setButtonSymbol(
        m_pickButton, Symbol::handPointUpBrailleFill, Tint::primary, buttonSymbolSide(m_pickButton), labelSpacing);
    m_pickSpinner = new BusySpinner(13, m_pickButton);
    m_pickSpinner->hide();
    header->addWidget(m_throwButton, 1);
    header->addWidget(m_pickButton, 1);
    layout->addLayout(header);
    layout->addWidget(Divider::create(pane));

    // The margins go with the banner: a hidden banner leaves no gap above the list.
    m_bannerBox = new QWidget(pane);
    auto* bannerMargin = new QVBoxLayout(m_bannerBox);
    bannerMargin->setContentsMargins(12, 8, 12, 8);
    m_banner = new BannerRow(BannerRow::Kind::notice, m_bannerBox);
    m_banner->setObjectName(u"listError"_s);
    TextStyle::apply(m_banner, Style::caption);
    m_banner->layout()->setContentsMargins(12, 8, 12, 8);
    bannerMargin->addWidget(m_banner);
    m_bannerBox->hide();
    layout->addWidget(m_bannerBox);

    m_listStack = new QStackedWidget(pane);
    m_loadingPage = new QWidget(m_listStack);
    auto* loading = new QVBoxLayout(m_loadingPage);
    loading->addStretch(1);
    loading->addWidget(new BusySpinner(20, m_loadingPage), 0, Qt::AlignCenter);
    loading->addWidget(styledLabel(u"加载中..."_s, TextStyle::font(Style::body), Tone::secondary, m_loadingPage));
    loading->addStretch(1);
    m_listStack->addWidget(m_loadingPage);

    m_emptyPage = emptyStateView();
    m_listStack->addWidget(m_emptyPage);

    m_list = new QListView(m_listStack);
    m_list->setObjectName(u"conversationList"_s);
    m_list->setModel(m_model);
    m_list->setItemDelegate(new ConversationRowView(m_list));
    m_list->setUniformItemSizes(true);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setMouseTracking(true);
    m_list->viewport()->setAttribute(Qt::WA_Hover);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_listStack->addWidget(m_list);
    layout->addWidget(m_listStack, 1);

    connect(m_throwButton, &QPushButton::clicked, this,
        [this] { m_throwSheet = ThrowNewBottleSheet::present(m_conversationManager, this); });
    connect(m_pickButton, &QPushButton::clicked, this, &BottleChatView::pickBottle);
    connect(m_list, &QListView::clicked, this, [this](const QModelIndex& index) {
        m_conversationManager.selectConversation(m_model->conversationAt(index.row()));
    });
    // Return on the row the keyboard is at opens it too. A style that activates on a single
    // click also sends this after the click: the row is open by then and is not loaded twice.
    connect(m_list, &QListView::activated, this, [this](const QModelIndex& index) {
        const Conversation conversation = m_model->conversationAt(index.row());
        const std::optional<Conversation>& current = m_conversationManager.currentConversation();
        if (!current || current->bottleId != conversation.bottleId)
            m_conversationManager.selectConversation(conversation);
    });
    connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) { openRowMenu(pos); });
    m_list->installEventFilter(this);
    // Delete offers what the row's menu offers, asking first: a key pressed by mistake must not
    // throw a conversation away. Return stays with the list, which opens the row as above.
    RowKeys::install(m_list, { .toggle = {}, .open = {}, .remove = [this](int row) {
                                  const Conversation conversation = m_model->conversationAt(row);
                                  const int answer = Alerts::show(Alerts::Style::Warning, u"删除对话"_s,
                                      u"确定要删除与「"_s
                                          + GraphemeText::quoted(ConversationListModel::displayName(conversation))
                                          + u"」的对话吗？"_s,
                                      { u"取消"_s, u"删除对话"_s }, this, 1);
                                  if (answer == 1)
                                      deleteConversation(conversation);
                              } });
    return pane;
}

QWidget* BottleChatView::emptyStateView()
{
    auto* page = new QWidget(m_listStack);
    page->setObjectName(u"emptyState"_s);
    auto* empty = new QVBoxLayout(page);
    empty->setSpacing(20);
    empty->addStretch(1);
    auto* wave = new EmojiLabel(u"🌊"_s, page);
    wave->setObjectName(u"emptyEmoji"_s);
    wave->setFont(EmojiLabel::emojiFont(TextStyle::systemFont(60)));
    empty->addWidget(wave, 0, Qt::AlignCenter);
    empty->addWidget(styledLabel(u"还没有对话"_s, TextStyle::font(Style::headline), Tone::secondary, page));
    empty->addWidget(
        styledLabel(u"点击上方按钮丢瓶子或捡瓶子"_s, TextStyle::font(Style::caption), Tone::secondary, page));
    empty->addStretch(1);
    return page;
}

QWidget* BottleChatView::chatDetailView()
{
    m_chatStack = new QStackedWidget(this);
    m_chatStack->setMinimumWidth(400);
    m_placeholder = buildPlaceholder();
    m_chatStack->addWidget(m_placeholder);
    return m_chatStack;
}

QWidget* BottleChatView::buildPlaceholder()
{
    auto* placeholder = new QWidget(m_chatStack);
    placeholder->setObjectName(u"chatPlaceholder"_s);
    placeholder->setBackgroundRole(QPalette::Window);
    placeholder->setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(placeholder);
    layout->setSpacing(16);
    layout->addStretch(1);
    auto* symbol
        = new SymbolView(Symbol::bubbleLeftAndBubbleRight, TextStyle::scaled(60), Tint::secondary, placeholder);
    symbol->setObjectName(u"placeholderSymbol"_s);
    layout->addWidget(symbol, 0, Qt::AlignCenter);
    layout->addWidget(
        styledLabel(u"选择一个对话开始聊天"_s, TextStyle::font(Style::headline), Tone::primary, placeholder));
    layout->addWidget(
        styledLabel(u"或者丢一个新瓶子"_s, TextStyle::font(Style::caption), Tone::secondary, placeholder));
    layout->addStretch(1);
    return placeholder;
}

void BottleChatView::buildPickOverlay()
{
    m_pickOverlay = new OverlayCard(this, 0.3);
    m_pickOverlay->setObjectName(u"pickOverlay"_s);
    QVBoxLayout* card = m_pickOverlay->cardLayout();
    card->setContentsMargins(40, 40, 40, 40);
    card->setSpacing(16);
    // The card is painted in the palette's base colour.
    auto* tick = new SymbolView(
        Symbol::checkmarkCircleFill, TextStyle::scaled(60), Tint::green, m_pickOverlay->card(), QPalette::Base);
    tick->setObjectName(u"pickSymbol"_s);
    card->addWidget(tick, 0, Qt::AlignCenter);
    auto* title = styledLabel(
        u"捡到瓶子！"_s, TextStyle::font(Style::title2, QFont::Bold), Tone::primary, m_pickOverlay->card());
    title->setObjectName(u"pickTitle"_s);
    card->addWidget(title);
    m_pickPreview = new WrappedLabel(previewWidth, previewLines, m_pickOverlay->card());
    m_pickPreview->setObjectName(u"pickPreview"_s);
    m_pickPreview->setFont(TextStyle::font(Style::body));
    SecondaryText::apply(m_pickPreview);
    // Broken into lines where it is drawn, so that the card takes the size of exactly what it shows.
    m_pickPreview->setContentsMargins(20, 0, 20, 0);
    m_pickPreview->setMinimumWidth(260);
    card->addWidget(m_pickPreview, 0, Qt::AlignHCenter);
}

QString BottleChatView::preview(const QString& content)
{
    if (GraphemeText::count(content) <= previewLength)
        return content;
    return GraphemeText::truncated(content, previewLength) + u"..."_s;
}

bool BottleChatView::eventFilter(QObject* watched, QEvent* event)
{
    // The menu key asks for the menu at a corner of the list, over its first row: it is the
    // row the keyboard is at that is offered for deletion.
    if (watched == m_list && event->type() == QEvent::ContextMenu
        && static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        if (const QModelIndex current = m_list->currentIndex(); current.isValid())
            openRowMenu(m_list->visualRect(current).center());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void BottleChatView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    loadConversations();
    m_conversationManager.startAutoRefresh();
    m_refreshing = true;
}

void BottleChatView::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_conversationManager.stopAutoRefresh();
    m_refreshing = false;
}

void BottleChatView::closeEvent(QCloseEvent* event)
{
    Q_EMIT closing();
    QWidget::closeEvent(event);
}

bool BottleChatView::showPickBottleSheet() const
{
    return !m_pickSheet.isNull();
}

void BottleChatView::setShowPickBottleSheet(bool show)
{
    if (!show) {
        if (m_pickSheet)
            m_pickSheet->reject();
        return;
    }
    if (m_pickSheet)
        return;
    // Made fresh for every opening, like the throw sheet.
    auto* sheet = new PickBottleSheet(this);
    sheet->setWindowModality(Qt::WindowModal);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    connect(sheet, &QDialog::finished, this, [this] { m_pickSheet = nullptr; });
    m_pickSheet = sheet;
    sheet->open();
}

void BottleChatView::setErrorMessage(const std::optional<QString>& message)
{
    m_errorMessage = message;
    if (message)
        m_banner->setMessage(*message);
    m_bannerBox->setVisible(message.has_value());
}

void BottleChatView::setPicking(bool picking)
{
    m_isPicking = picking;
    // The button is off while it works; the keyboard waits on the window and comes back to
    // it, rather than going on to the next control.
    if (picking)
        m_pickFocus.take(this, { m_pickButton });
    m_pickButton->setEnabled(!picking);
    m_pickButton->setText(picking ? pickingTitle : pickTitle);
    const int side = buttonSymbolSide(m_pickButton);
    if (picking) {
        // The spinner takes the symbol's place before the words.
        IconTitleGap::clearButtonSymbol(m_pickButton);
        m_pickButton->setIconSize(IconTitleGap::widenedSize(QSize(side, side), labelSpacing));
        m_pickButton->setIcon(ButtonSpinner::placeholder(QSize(side, side), labelSpacing));
        ButtonSpinner::placeOnIcon(m_pickSpinner, m_pickButton);
    } else {
        IconTitleGap::setButtonSymbol(m_pickButton, Symbol::handPointUpBrailleFill, Tint::primary, side, labelSpacing);
    }
    m_pickSpinner->setVisible(picking);
    if (!picking)
        m_pickFocus.giveTo(m_pickButton);
}

void BottleChatView::updateListState()
{
    const bool empty = m_conversationManager.conversations().isEmpty();
    if (!empty)
        m_listStack->setCurrentWidget(m_list);
    else if (m_conversationManager.isLoading())
        m_listStack->setCurrentWidget(m_loadingPage);
    else
        m_listStack->setCurrentWidget(m_emptyPage);
}

void BottleChatView::dropVanishedSelection()
{
    // A conversation the server no longer lists (deleted elsewhere, or gone with its bottle)
    // can neither be shown nor answered: the pane goes back to its placeholder, as after a
    // delete here.
    const std::optional<Conversation>& current = m_conversationManager.currentConversation();
    if (!current)
        return;
    const QList<Conversation>& listed = m_conversationManager.conversations();
    if (std::ranges::none_of(listed, [&](const Conversation& c) { return c.bottleId == current->bottleId; }))
        m_conversationManager.clearSelection();
}

void BottleChatView::updateChatPane()
{
    const std::optional<Conversation>& current = m_conversationManager.currentConversation();
    if (!current) {
        // The next conversation starts a fresh pane: no text or state left from this one.
        m_chatStack->setCurrentWidget(m_placeholder);
        if (m_chat) {
            m_chat->deleteLater();
            m_chat = nullptr;
        }
        return;
    }
    if (m_chat) {
        m_chat->setConversation(*current);
        return;
    }
    m_chat = new ChatView(m_conversationManager, *current, m_chatStack);
    m_chatStack->addWidget(m_chat);
    m_chatStack->setCurrentWidget(m_chat);
}

QMenu* BottleChatView::openRowMenu(const QPoint& pos)
{
    const QModelIndex index = m_list->indexAt(pos);
    if (!index.isValid())
        return nullptr;
    // Fixed now: a refresh while the menu is open may move or replace the rows.
    const Conversation conversation = m_model->conversationAt(index.row());
    auto* menu = new QMenu(this);
    menu->setObjectName(u"rowMenu"_s);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The destructive item's symbol in the menu's text colour, as tall as its text.
    const int side = std::max(1, qRound(TextStyle::pixelSizeOf(menu->font())));
    QAction* remove = menu->addAction(
        Symbols::icon(Symbol::trash, side, Symbols::colour(Tint::primary, menu->palette())), u"删除对话"_s);
    connect(remove, &QAction::triggered, this, [this, conversation] { deleteConversation(conversation); });
    menu->popup(m_list->viewport()->mapToGlobal(pos));
    return menu;
}

void BottleChatView::loadConversations()
{
    Tasks::start(runLoad(), category, u"加载对话列表"_s);
}

QCoro::Task<> BottleChatView::runLoad()
{
    const QPointer<BottleChatView> self(this);
    QString failure;
    try {
        co_await m_conversationManager.refreshConversations();
    } catch (const std::exception& error) {
        failure = APIError::describe(error);
    }
    if (self && !failure.isNull())
        setErrorMessage(failure);
}

void BottleChatView::pickBottle()
{
    if (m_isPicking)
        return;
    setPicking(true);
    setErrorMessage(std::nullopt);
    log(u"🎣 开始捡瓶子..."_s);
    Tasks::start(runPick(), category, u"捡瓶子"_s);
}

QCoro::Task<> BottleChatView::runPick()
{
    const QPointer<BottleChatView> self(this);
    DriftBottle bottle;
    QString failure;
    try {
        bottle = co_await m_conversationManager.pickBottle();
    } catch (const std::exception& error) {
        failure = APIError::describe(error);
    }
    if (!self)
        co_return;
    setPicking(false);
    if (!failure.isNull()) {
        setErrorMessage(failure);
        log(u"❌ 捡瓶子失败: "_s + failure);
        QTimer::singleShot(pickErrorMs, Qt::PreciseTimer, this, [this, failure] {
            if (m_errorMessage == failure)
                setErrorMessage(std::nullopt);
        });
        co_return;
    }
    m_pickedBottle = bottle;
    m_pickPreview->setText(preview(bottle.content));
    m_showPickSuccess = true;
    m_pickOverlay->fadeIn();
    log(u"✅ 捡到瓶子: "_s + bottle.id + u" - "_s + GraphemeText::truncated(bottle.content, 20) + u"..."_s);
    QTimer::singleShot(pickSuccessMs, Qt::PreciseTimer, this, [this, id = bottle.id] {
        for (const Conversation& c : m_conversationManager.conversations()) {
            if (c.bottleId == id) {
                m_conversationManager.selectConversation(c);
                break;
            }
        }
        m_showPickSuccess = false;
        m_pickOverlay->fadeOut();
    });
}

void BottleChatView::deleteConversation(const Conversation& conversation)
{
    log(u"🗑️ 删除对话: "_s + conversation.bottleId);
    Tasks::start(runDelete(conversation.bottleId), category, u"删除对话"_s);
}

QCoro::Task<> BottleChatView::runDelete(QString bottleId)
{
    const QPointer<BottleChatView> self(this);
    ConversationManager& manager = m_conversationManager;
    QString failure;
    try {
        co_await manager.deleteConversation(bottleId);
    } catch (const std::exception& error) {
        failure = APIError::describe(error);
    }
    if (!failure.isNull()) {
        if (self)
            setErrorMessage(failure);
        log(u"❌ 删除对话失败: "_s + failure);
        co_return;
    }
    // The manager outlives the window, so the selection is cleared even if it closed meanwhile.
    const std::optional<Conversation>& current = manager.currentConversation();
    if (current && current->bottleId == bottleId)
        manager.clearSelection();
    log(u"✅ 对话删除成功"_s);
}
