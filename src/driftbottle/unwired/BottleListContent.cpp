#include "driftbottle/unwired/BottleListContent.h"

#include "driftbottle/DriftBottleManager.h"
#include "driftbottle/unwired/BottleListModel.h"
#include "driftbottle/unwired/BottleRowView.h"
#include "platform/LogManager.h"
#include "server/Tasks.h"
#include "widgets/BusySpinner.h"
#include "widgets/PlainLabel.h"
#include "widgets/RowKeys.h"
#include "widgets/SecondaryText.h"
#include "widgets/Spacing.h"
#include "widgets/Symbols.h"
#include "widgets/TextStyle.h"

#include <QHBoxLayout>
#include <QListView>
#include <QPointer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

/// The cards' list, with the standard padding above the first card and below the last: each
/// row already holds half the gap between two cards above and below its card, and the
/// cards' sides stand the padding in from the rows'.
class PaddedListView final : public QListView
{
public:
    explicit PaddedListView(QWidget* parent)
        : QListView(parent)
    {
        const int margin = Spacing::standardPadding - BottleRowView::gap / 2;
        setViewportMargins(0, margin, 0, margin);
    }
};

} // namespace

BottleListContent::BottleListContent(BottleListKind kind, QWidget* parent)
    : QStackedWidget(parent)
    , m_kind(kind)
    , m_model(new BottleListModel(this))
    , m_sentDelegate(new BottleRowView(true, this))
    , m_receivedDelegate(new BottleRowView(false, this))
    , m_loadingPage(new QWidget(this))
    , m_emptyPage(new QWidget(this))
    , m_emptySymbol(new SymbolView(
          Symbols::Symbol::paperplaneFill, TextStyle::scaled(emptySymbolPixels), Symbols::Tint::gray, m_emptyPage))
    , m_emptyTitle(new PlainLabel({}, m_emptyPage))
    , m_emptyHint(new PlainLabel({}, m_emptyPage))
    , m_list(new PaddedListView(this))
{
    auto* spinnerRow = new QHBoxLayout;
    spinnerRow->addStretch(1);
    spinnerRow->addWidget(new BusySpinner(18, m_loadingPage));
    auto* loadingText = new PlainLabel(u"加载中..."_s, m_loadingPage);
    SecondaryText::apply(loadingText);
    spinnerRow->addWidget(loadingText);
    spinnerRow->addStretch(1);
    auto* loadingLayout = new QVBoxLayout(m_loadingPage);
    loadingLayout->addStretch(1);
    loadingLayout->addLayout(spinnerRow);
    loadingLayout->addStretch(1);

    emptyStateView();

    m_list->setObjectName(u"bottleList"_s);
    m_list->setModel(m_model);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setMouseTracking(true);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->setUniformItemSizes(true);
    // See-through, so the cards stand on the page; with no style sheet the list keeps
    // following the palette when the desktop switches between light and dark.
    m_list->setAutoFillBackground(false);
    m_list->viewport()->setAutoFillBackground(false);
    connect(m_list, &QListView::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            Q_EMIT bottleClicked(m_model->bottleAt(index.row()));
    });
    // Return opens the bottle the keyboard is at, as a click does.
    RowKeys::install(m_list,
        { .toggle = {}, .open = [this](int row) { Q_EMIT bottleClicked(m_model->bottleAt(row)); }, .remove = {} });

    addWidget(m_loadingPage);
    addWidget(m_emptyPage);
    addWidget(m_list);
    setKind(kind);
}

void BottleListContent::emptyStateView()
{
    m_emptyTitle->setObjectName(u"emptyTitle"_s);
    m_emptyHint->setObjectName(u"emptyHint"_s);
    m_emptySymbol->setObjectName(u"emptySymbol"_s);
    m_emptyTitle->setFont(TextStyle::font(TextStyle::Style::headline));
    m_emptyHint->setFont(TextStyle::font(TextStyle::Style::caption));
    for (QLabel* label : { static_cast<QLabel*>(m_emptyTitle), static_cast<QLabel*>(m_emptyHint) }) {
        label->setAlignment(Qt::AlignCenter);
        SecondaryText::apply(label);
    }
    auto* emptyLayout = new QVBoxLayout(m_emptyPage);
    emptyLayout->setSpacing(16);
    emptyLayout->addStretch(1);
    emptyLayout->addWidget(m_emptySymbol, 0, Qt::AlignHCenter);
    emptyLayout->addWidget(m_emptyTitle);
    emptyLayout->addWidget(m_emptyHint);
    emptyLayout->addStretch(1);
}

void BottleListContent::setKind(BottleListKind kind)
{
    m_kind = kind;
    const bool sent = kind == BottleListKind::sent;
    m_emptySymbol->setSymbol(sent ? Symbols::Symbol::paperplaneFill : Symbols::Symbol::tray);
    m_emptyTitle->setText(sent ? u"还没有丢出瓶子"_s : u"还没有收到瓶子"_s);
    m_emptyHint->setText(sent ? u"去丢一个瓶子吧！"_s : u"去捡一个瓶子吧！"_s);
    m_list->setItemDelegate(sent ? m_sentDelegate : m_receivedDelegate);
    m_list->viewport()->update();
}

void BottleListContent::setLoading(bool loading)
{
    m_loading = loading;
    updatePage();
}

void BottleListContent::setBottles(const QList<DriftBottle>& bottles)
{
    m_model->setBottles(bottles);
    updatePage();
}

BottleListContent::Page BottleListContent::page() const
{
    if (currentWidget() == m_loadingPage)
        return Page::loading;
    return currentWidget() == m_emptyPage ? Page::empty : Page::list;
}

void BottleListContent::updatePage()
{
    if (m_loading)
        setCurrentWidget(m_loadingPage);
    else if (m_model->rowCount() == 0)
        setCurrentWidget(m_emptyPage);
    else
        setCurrentWidget(m_list);
}

void BottleListContent::load(DriftBottleManager& bottles, BottleListKind list)
{
    setLoading(true);
    Tasks::start(fetch(bottles, list), u"DriftBottle"_s, u"加载瓶子列表"_s);
}

QCoro::Task<> BottleListContent::fetch(DriftBottleManager& bottles, BottleListKind list)
{
    const QPointer<BottleListContent> self(this);
    QString failure;
    try {
        if (list == BottleListKind::sent)
            co_await bottles.fetchMySentBottles();
        else
            co_await bottles.fetchMyReceivedBottles();
    } catch (const std::exception& error) {
        failure = APIError::debugDescribe(error);
    }
    if (!failure.isEmpty())
        LogManager::log(u"❌ 加载瓶子列表失败: "_s + failure, u"DriftBottle"_s);
    if (self)
        setLoading(false);
}
