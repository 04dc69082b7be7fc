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

namespace {

Symbols::Symbol segmentSymbol(BottleListView::BottleTab tab)
{
    return tab == BottleListView::BottleTab::sent ? Symbols::Symbol::paperplane : Symbols::Symbol::trayAndArrowDown;
}

QList<SegmentedSwitch::Segment> segmentsOfAllTabs()
{
    QList<SegmentedSwitch::Segment> segments;
    for (const BottleListView::BottleTab tab : BottleListView::allTabs)
        segments.append({ segmentSymbol(tab), BottleListView::rawValue(tab) });
    return segments;
}

BottleListKind listKind(BottleListView::BottleTab tab)
{
    return tab == BottleListView::BottleTab::sent ? BottleListKind::sent : BottleListKind::received;
}

} // namespace

BottleListView::BottleListView(DriftBottleManager& bottleManager, UserManager& userManager, QWidget* parent)
    : QWidget(parent)
    , m_bottleManager(bottleManager)
    , m_userManager(userManager)
    , m_segments(new SegmentedSwitch(segmentsOfAllTabs(), this))
    , m_bottleListContent(new BottleListContent(listKind(m_selectedTab), this))
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
    layout->addWidget(m_bottleListContent, 1);

    connect(m_segments, &SegmentedSwitch::currentIndexChanged, this,
        [this](int index) { setSelectedTab(allTabs.at(std::size_t(index))); });
    connect(m_bottleListContent, &BottleListContent::bottleClicked, this, [this](const DriftBottle& bottle) {
        if (m_sheet && m_sheet->isVisible())
            return;
        m_selectedBottle = bottle;
        m_sheet = BottleDetailView::openSheet(this, bottle, m_bottleManager, m_userManager);
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
    m_segments->setCurrentIndex(int(tab));
    if (tab == m_selectedTab)
        return;
    // Only a new appearance fetches: the other list shows as the manager holds it now.
    m_selectedTab = tab;
    m_bottleListContent->setKind(listKind(tab));
    showBottles();
}

void BottleListView::showBottles()
{
    m_bottleListContent->setBottles(
        m_selectedTab == BottleTab::sent ? m_bottleManager.sentBottles() : m_bottleManager.receivedBottles());
}

void BottleListView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // A window coming back from the task bar is not a new appearance of the screen.
    if (!event->spontaneous())
        loadBottles();
}

void BottleListView::loadBottles()
{
    m_bottleListContent->load(m_bottleManager, listKind(m_selectedTab));
}
