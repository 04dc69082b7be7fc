#include "driftbottle/unwired/DriftBottleMainView.h"

#include "driftbottle/unwired/BottleListTabView.h"
#include "driftbottle/unwired/SegmentedSwitch.h"
#include "driftbottle/unwired/ThrowBottleTabView.h"
#include "widgets/Divider.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

Symbols::Symbol segmentSymbol(DriftBottleMainView::BottleTab tab)
{
    switch (tab) {
    case DriftBottleMainView::BottleTab::pick:
        return Symbols::Symbol::handPointUpBrailleFill;
    case DriftBottleMainView::BottleTab::throw_bottle:
        return Symbols::Symbol::paperplaneFill;
    case DriftBottleMainView::BottleTab::sent:
        return Symbols::Symbol::paperplane;
    case DriftBottleMainView::BottleTab::received:
        return Symbols::Symbol::trayAndArrowDown;
    }
    return Symbols::Symbol::paperplane;
}

} // namespace

DriftBottleMainView::DriftBottleMainView(
    DriftBottleManager& bottles, UserManager& users, PickBottleTabView::PlayBehavior playBehavior, QWidget* parent)
    : QWidget(parent)
    , m_bottleManager(bottles)
    , m_users(users)
    , m_playBehavior(std::move(playBehavior))
    , m_segments(nullptr)
    , m_stage(new QWidget(this))
{
    setObjectName(u"driftBottleMain"_s);
    setFixedSize(700, 650);
    QList<SegmentedSwitch::Segment> segments;
    for (BottleTab tab : allTabs)
        segments.append({ segmentSymbol(tab), rawValue(tab) });
    m_segments = new SegmentedSwitch(segments, this);
    connect(m_segments, &SegmentedSwitch::currentIndexChanged, this,
        [this](int index) { setSelectedTab(allTabs.at(std::size_t(index))); });

    auto* segmentRow = new QHBoxLayout;
    segmentRow->setContentsMargins(16, 8, 16, 8);
    segmentRow->addStretch(1);
    segmentRow->addWidget(m_segments);
    segmentRow->addStretch(1);
    QFrame* divider = Divider::create(this);

    m_stage->setObjectName(u"tabStage"_s);
    m_stage->setAutoFillBackground(true);
    m_stage->setBackgroundRole(QPalette::Base);
    new QVBoxLayout(m_stage);
    m_stage->layout()->setContentsMargins(0, 0, 0, 0);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(segmentRow);
    layout->addWidget(divider);
    layout->addWidget(m_stage, 1);
    buildPage();
}

QString DriftBottleMainView::rawValue(BottleTab tab)
{
    switch (tab) {
    case BottleTab::pick:
        return u"捡瓶子"_s;
    case BottleTab::throw_bottle:
        return u"丢瓶子"_s;
    case BottleTab::sent:
        return u"我丢出的"_s;
    case BottleTab::received:
        return u"我收到的"_s;
    }
    return {};
}

void DriftBottleMainView::setSelectedTab(BottleTab tab)
{
    m_segments->setCurrentIndex(int(tab));
    if (tab == m_selectedTab)
        return;
    m_selectedTab = tab;
    buildPage();
}

void DriftBottleMainView::buildPage()
{
    // The old page goes now, with whatever was typed in it; work it started (a throw, a
    // pick, a list refresh) still ends in the manager.
    delete m_page;
    switch (m_selectedTab) {
    case BottleTab::pick:
        m_page = new PickBottleTabView(m_bottleManager, m_users, m_playBehavior, m_stage);
        break;
    case BottleTab::throw_bottle:
        m_page = new ThrowBottleTabView(m_bottleManager, m_users, m_stage);
        break;
    case BottleTab::sent:
        m_page = new BottleListTabView(BottleListTabView::ListType::sent, m_bottleManager, m_users, m_stage);
        break;
    case BottleTab::received:
        m_page = new BottleListTabView(BottleListTabView::ListType::received, m_bottleManager, m_users, m_stage);
        break;
    }
    m_stage->layout()->addWidget(m_page);
    m_page->show();
}
