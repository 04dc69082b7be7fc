#include "driftbottle/unwired/BottleListView.h"

#include "driftbottle/DriftBottleManager.h"
#include "driftbottle/unwired/BottleDetailView.h"
#include "driftbottle/unwired/SegmentedSwitch.h"
#include "widgets/Spacing.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QShowEvent>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

BottleListView::BottleListView(DriftBottleManager& bottles, UserManager& users, QWidget* parent)
    : QWidget(parent)
    , m_bottleManager(bottles)
    , m_users(users)
    , m_segments(new SegmentedSwitch({ { Symbols::Symbol::paperplane, rawValue(BottleTab::sent) },
                                         { Symbols::Symbol::trayAndArrowDown, rawValue(BottleTab::received) } },
          this))
    , m_content(new BottleListContent(BottleListKind::sent, this))
{
    setObjectName(u"bottleListView"_s);
    setFixedSize(600, 600);
    auto* segmentRow = new QHBoxLayout;
    segmentRow->setContentsMargins(
        Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding);
    segmentRow->addStretch(1);
    segmentRow->addWidget(m_segments);
    segmentRow->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(segmentRow);
    layout->addWidget(m_content, 1);

    connect(m_segments, &SegmentedSwitch::currentIndexChanged, this,
        [this](int index) { setSelectedTab(index == 0 ? BottleTab::sent : BottleTab::received); });
    connect(m_content, &BottleListContent::bottleClicked, this, [this](const DriftBottle& bottle) {
        if (m_sheet && m_sheet->isVisible())
            return;
        m_selectedBottle = bottle;
        m_sheet = BottleDetailView::openSheet(this, bottle, m_bottleManager, m_users);
    });
    connect(&m_bottleManager, &DriftBottleManager::sentBottlesChanged, this, &BottleListView::showBottles);
    connect(&m_bottleManager, &DriftBottleManager::receivedBottlesChanged, this, &BottleListView::showBottles);
    showBottles();
}

QString BottleListView::rawValue(BottleTab tab)
{
    return tab == BottleTab::sent ? u"我丢出的"_s : u"我收到的"_s;
}

void BottleListView::setSelectedTab(BottleTab tab)
{
    m_segments->setCurrentIndex(tab == BottleTab::sent ? 0 : 1);
    if (tab == m_selectedTab)
        return;
    // Only a new appearance fetches: the other list shows as the manager holds it now.
    m_selectedTab = tab;
    m_content->setKind(tab == BottleTab::sent ? BottleListKind::sent : BottleListKind::received);
    showBottles();
}

void BottleListView::showBottles()
{
    m_content->setBottles(
        m_selectedTab == BottleTab::sent ? m_bottleManager.sentBottles() : m_bottleManager.receivedBottles());
}

void BottleListView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        m_content->load(
            m_bottleManager, m_selectedTab == BottleTab::sent ? BottleListKind::sent : BottleListKind::received);
}
