#include "friends/FriendListView.h"

#include "friends/FriendListModel.h"
#include "friends/FriendManager.h"
#include "friends/FriendMessageManager.h"
#include "friends/FriendRowView.h"
#include "friends/RefreshButton.h"
#include "friends/SendMessageSheet.h"
#include "platform/Alerts.h"
#include "platform/LogManager.h"
#include "platform/SecondaryColour.h"
#include "platform/SystemColours.h"
#include "server/APIError.h"
#include "server/Tasks.h"
#include "widgets/BusySpinner.h"
#include "widgets/ButtonStyle.h"
#include "widgets/Divider.h"
#include "widgets/GraphemeText.h"
#include "widgets/PlainLabel.h"
#include "widgets/ReadableColour.h"
#include "widgets/RowKeys.h"
#include "widgets/SecondaryText.h"
#include "widgets/Spacing.h"
#include "widgets/Symbols.h"
#include "widgets/TextStyle.h"

#include <QHBoxLayout>
#include <QListView>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>
#include <QStackedWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using TextStyle::Style;

namespace {

const QString category = u"Friend"_s;

/// The padding a page's parts keep from its edges and from one another's.
using Spacing::standardPadding;

PlainLabel* label(const QString& text, const QFont& font, QWidget* parent)
{
    auto* l = new PlainLabel(text, parent);
    l->setFont(font);
    return l;
}

PlainLabel* secondary(PlainLabel* label)
{
    SecondaryText::apply(label);
    return label;
}

/// A list whose items keep the standard padding from every edge, the scroll bar's included.
class PaddedListView final : public QListView
{
public:
    explicit PaddedListView(QWidget* parent)
        : QListView(parent)
    {
        setViewportMargins(standardPadding, standardPadding, standardPadding, standardPadding);
    }
};

/// The connection block's faint grey, laid over the page.
const QColor blockTint(128, 128, 128, 26);

/// The dot tells the state by its colour alone: a graphic, so it stands out from what is
/// drawn behind it as a glyph must.
constexpr double dotContrast = Symbols::minimumContrast;

enum ContentPage {
    loadingPage,
    emptyPage,
    listPage,
};

} // namespace

/// The connection's state as a filled circle: the desktop's green while connected, its grey
/// otherwise, each made only as much darker or lighter (hue kept) as it must be to stand out
/// from the block. Worked out from the palette at every paint, so it follows a switch.
class ConnectionDot final : public QWidget
{
public:
    explicit ConnectionDot(QWidget* parent)
        : QWidget(parent)
    {
        setFixedSize(8, 8);
    }

    void setConnected(bool connected)
    {
        if (m_connected == connected)
            return;
        m_connected = connected;
        update();
    }

    [[nodiscard]] QColor drawnColour() const
    {
        return ReadableColour::on(
            m_connected ? SystemColours::green() : SystemColours::gray(), SecondaryText::backdrop(this), dotContrast);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(drawnColour());
        painter.drawEllipse(QRectF(rect()));
    }

private:
    bool m_connected = false;
};

FriendListView::FriendListView(
    FriendManager& friends, FriendMessageManager& messages, TimerSource& timers, QWidget* parent)
    : QWidget(parent)
    , m_friendManager(friends)
    , m_messageManager(messages)
    , m_timers(timers)
{
    setObjectName(u"friendListView"_s);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(headerView());
    layout->addWidget(Divider::create(this));
    layout->addWidget(connectionStatusView());
    m_content = new QStackedWidget(this);
    m_content->insertWidget(loadingPage, loadingView());
    m_content->insertWidget(emptyPage, emptyStateView());
    m_content->insertWidget(listPage, friendsListView());
    layout->addWidget(m_content, 1);

    connect(&m_messageManager, &FriendMessageManager::isConnectedChanged, this, &FriendListView::updateConnection);
    connect(&m_messageManager, &FriendMessageManager::unreadCountChanged, this, &FriendListView::updateConnection);
    connect(&m_friendManager, &FriendManager::isLoadingChanged, this, &FriendListView::updateContent);
    connect(&m_friendManager, &FriendManager::friendsChanged, this, &FriendListView::updateContent);
    updateConnection();
    updateContent();
}

FriendListView::~FriendListView() = default;

QWidget* FriendListView::headerView()
{
    auto* header = new QWidget(this);
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(standardPadding, standardPadding, standardPadding, standardPadding);
    auto* title = label(u"👥 好友列表"_s, TextStyle::font(Style::title2, QFont::Bold), header);
    title->setObjectName(u"title"_s);
    row->addWidget(title);
    row->addStretch();
    m_refresh = new RefreshButton(header);
    m_refresh->setObjectName(u"refresh"_s);
    m_refresh->setToolTip(u"刷新列表"_s);
    m_refresh->setAccessibleName(u"刷新列表"_s);
    connect(m_refresh, &QPushButton::clicked, this, &FriendListView::refreshFriends);
    row->addWidget(m_refresh);
    return header;
}

QWidget* FriendListView::connectionStatusView()
{
    auto* block = new QWidget(this);
    block->setObjectName(u"connectionBlock"_s);
    // Its own window colour is the grey over the page, so that everything in it, the
    // reconnect button's title too, takes its colours from what it really stands on.
    block->setAutoFillBackground(true);
    m_block = block;
    tintBlock();
    auto* column = new QVBoxLayout(block);
    column->setContentsMargins(standardPadding, 8, standardPadding, 8);
    column->setSpacing(4);

    auto* statusRow = new QHBoxLayout;
    statusRow->setSpacing(8);
    m_dot = new ConnectionDot(block);
    m_dot->setObjectName(u"connectionDot"_s);
    statusRow->addWidget(m_dot);
    m_status = secondary(label(QString(), TextStyle::font(Style::caption), block));
    m_status->setObjectName(u"connectionStatus"_s);
    statusRow->addWidget(m_status);
    statusRow->addStretch();
    m_reconnect
        = ButtonStyle::create(u"重新连接"_s, ButtonStyle::Style::borderless, ButtonStyle::ControlSize::regular, block);
    m_reconnect->setObjectName(u"reconnect"_s);
    TextStyle::apply(m_reconnect, Style::caption);
    connect(m_reconnect, &QPushButton::clicked, this, [this] { m_messageManager.connect(); });
    statusRow->addWidget(m_reconnect);
    column->addLayout(statusRow);

    m_unreadRow = new QWidget(block);
    auto* unreadLayout = new QHBoxLayout(m_unreadRow);
    unreadLayout->setContentsMargins(0, 0, 0, 0);
    m_unread = label(QString(), TextStyle::font(TextStyle::Style::caption2), m_unreadRow);
    ReadableColour::tint(m_unread, SystemColours::orange());
    m_unread->setObjectName(u"unread"_s);
    unreadLayout->addWidget(m_unread);
    unreadLayout->addStretch();
    column->addWidget(m_unreadRow);
    return block;
}

QWidget* FriendListView::loadingView()
{
    auto* loading = new QWidget(this);
    loading->setObjectName(u"loadingState"_s);
    auto* loadingColumn = new QVBoxLayout(loading);
    loadingColumn->setSpacing(16);
    loadingColumn->addStretch();
    loadingColumn->addWidget(new BusySpinner(24, loading), 0, Qt::AlignHCenter);
    loadingColumn->addWidget(
        secondary(label(u"加载中..."_s, TextStyle::font(Style::body), loading)), 0, Qt::AlignHCenter);
    loadingColumn->addStretch();
    return loading;
}

QWidget* FriendListView::emptyStateView()
{
    auto* empty = new QWidget(this);
    empty->setObjectName(u"emptyState"_s);
    auto* emptyColumn = new QVBoxLayout(empty);
    emptyColumn->setContentsMargins(standardPadding, standardPadding, standardPadding, standardPadding);
    emptyColumn->setSpacing(16);
    emptyColumn->addStretch();
    auto* icon = new SymbolView(Symbols::Symbol::person2Slash, TextStyle::scaled(60), Symbols::Tint::gray, empty);
    icon->setObjectName(u"emptySymbol"_s);
    emptyColumn->addWidget(icon, 0, Qt::AlignHCenter);
    auto* emptyTitle = secondary(label(u"还没有好友"_s, TextStyle::font(Style::title3, QFont::DemiBold), empty));
    emptyTitle->setObjectName(u"emptyTitle"_s);
    emptyColumn->addWidget(emptyTitle, 0, Qt::AlignHCenter);
    auto* hint = secondary(label(u"通过验证码添加好友，开始聊天吧"_s, TextStyle::font(Style::body), empty));
    hint->setObjectName(u"emptyHint"_s);
    hint->setWordWrap(true);
    hint->setAlignment(Qt::AlignCenter);
    emptyColumn->addWidget(hint);
    emptyColumn->addStretch();
    return empty;
}

QWidget* FriendListView::friendsListView()
{
    m_model = new FriendListModel(m_friendManager, this);
    auto* row = new FriendRowView(m_friendManager, this);
    auto* listPane = new QWidget(this);
    auto* paneLayout = new QVBoxLayout(listPane);
    paneLayout->setContentsMargins(0, 0, 0, 0);
    m_list = new PaddedListView(listPane);
    paneLayout->addWidget(m_list);
    m_list->setObjectName(u"friendList"_s);
    m_list->setModel(m_model);
    m_list->setItemDelegate(row);
    m_list->setUniformItemSizes(true); // 1,000 friends lay out without measuring each card
    m_list->setMouseTracking(true);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    // From the keyboard, the arrows pick a card, Space flips its pin and Delete asks to delete.
    RowKeys::install(m_list,
        { .toggle =
                [this](int index) {
                    if (index < m_model->rowCount())
                        m_friendManager.togglePinFriend(m_model->friendAt(index).id);
                },
            .open = {},
            .remove =
                [this](int index) {
                    if (index < m_model->rowCount())
                        confirmDelete(m_model->friendAt(index));
                } });
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_list->setFrameShape(QFrame::NoFrame);
    // The cards lie on the page itself. A style sheet would make the list see-through as
    // well, but it freezes the scroll bar in the colours of the palette it first saw.
    m_list->viewport()->setAutoFillBackground(false);
    row->setOnSendMessage([this](int index) {
        if (index >= 0 && index < m_model->rowCount())
            showSendMessage(m_model->friendAt(index));
    });
    row->setOnDelete([this](int index) {
        if (index >= 0 && index < m_model->rowCount())
            confirmDelete(m_model->friendAt(index));
    });
    return listPane;
}

void FriendListView::tintBlock()
{
    QPalette tinted = m_block->palette();
    tinted.setColor(QPalette::Window, SecondaryColour::opaqueOver(blockTint, palette().color(QPalette::Window)));
    m_block->setPalette(tinted);
}

void FriendListView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && m_block)
        tintBlock();
}

void FriendListView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        loadFriends();
}

void FriendListView::loadFriends()
{
    Tasks::start(m_friendManager.fetchFriendList(), category, u"获取好友列表"_s);
}

void FriendListView::updateConnection()
{
    const bool connected = m_messageManager.isConnected();
    m_dot->setConnected(connected);
    m_status->setText(connected ? u"在线"_s : u"离线"_s);
    m_reconnect->setVisible(!connected);
    const int unread = m_messageManager.unreadCount();
    m_unreadRow->setVisible(unread >= 1);
    m_unread->setText(u"📨 未读消息: "_s + QString::number(unread) + u" 条"_s);
}

void FriendListView::updateContent()
{
    if (m_friendManager.isLoading())
        m_content->setCurrentIndex(loadingPage);
    else if (m_friendManager.friends().isEmpty())
        m_content->setCurrentIndex(emptyPage);
    else
        m_content->setCurrentIndex(listPage);
}

void FriendListView::setRefreshing(bool refreshing)
{
    m_isRefreshing = refreshing;
    // Off while it spins: the keyboard waits on the page and comes back to the button.
    if (refreshing)
        m_refreshFocus.take(this, { m_refresh });
    m_refresh->setEnabled(!refreshing);
    m_refresh->setSpinning(refreshing);
    if (!refreshing)
        m_refreshFocus.giveTo(m_refresh);
}

void FriendListView::refreshFriends()
{
    if (m_isRefreshing)
        return;
    setRefreshing(true);
    Tasks::start(runRefresh(), category, u"刷新好友列表"_s);
}

QCoro::Task<> FriendListView::runRefresh()
{
    QPointer self(this);
    co_await m_friendManager.fetchFriendList();
    if (!self)
        co_return;
    m_settleTimer = m_timers.start(refreshSettleMs, false, [this] { setRefreshing(false); });
}

void FriendListView::showSendMessage(const Friend& friendRecord)
{
    if (m_showingSendMessage)
        return;
    m_showingSendMessage = friendRecord;
    SendMessageSheet* sheet = SendMessageSheet::present(
        friendRecord, [this, friendRecord](QString text) { return sendMessage(friendRecord, std::move(text)); }, this);
    connect(sheet, &QDialog::finished, this, [this] { m_showingSendMessage.reset(); });
}

QCoro::Task<> FriendListView::sendMessage(Friend to, QString content)
{
    try {
        co_await m_messageManager.sendMessage(to.userId, std::move(content));
    } catch (const std::exception& error) {
        LogManager::log(u"❌ 消息发送失败: "_s + APIError::describe(error), category);
        throw;
    }
    LogManager::log(u"✅ 消息发送成功"_s, category);
}

void FriendListView::confirmDelete(const Friend& friendRecord)
{
    m_showingDeleteConfirm = friendRecord;
    const int answer = Alerts::show(Alerts::Style::Warning, u"删除好友"_s,
        u"确定要删除好友「"_s + GraphemeText::quoted(friendRecord.nickname) + u"」吗？删除后将无法互发消息。"_s,
        { u"取消"_s, u"删除"_s }, this, 1);
    if (answer != 1) {
        m_showingDeleteConfirm.reset();
        return;
    }
    Tasks::start(deleteFriend(friendRecord), category, u"删除好友"_s);
}

QCoro::Task<> FriendListView::deleteFriend(Friend friendRecord)
{
    QPointer self(this);
    QString failure;
    try {
        co_await m_friendManager.deleteFriend(friendRecord);
    } catch (const std::exception& error) {
        failure = APIError::describe(error);
    }
    if (!failure.isNull()) {
        LogManager::log(u"❌ 删除好友失败: "_s + failure, category);
        // The friend stays listed and waiting for confirmation; the user may try again.
        if (self)
            Alerts::show(Alerts::Style::Warning, u"删除失败"_s,
                u"删除好友「"_s + GraphemeText::quoted(friendRecord.nickname) + u"」失败："_s + failure
                    + u"\n\n请重试"_s,
                { u"确定"_s }, self);
        co_return;
    }
    if (self)
        m_showingDeleteConfirm.reset();
}
