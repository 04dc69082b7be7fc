#include "driftbottle/unwired/BottleListTabView.h"

#include "driftbottle/DriftBottleManager.h"
#include "driftbottle/unwired/BottleDetailView.h"
#include "driftbottle/unwired/BottlePresentation.h"
#include "platform/LogManager.h"

#include <QShowEvent>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

BottleListTabView::BottleListTabView(
    ListType listType, DriftBottleManager& bottleManager, UserManager& userManager, QWidget* parent)
    : QWidget(parent)
    , m_listType(listType)
    , m_bottleManager(bottleManager)
    , m_userManager(userManager)
    , m_content(new BottleListContent(listType, this))
{
    setObjectName(listType == ListType::sent ? u"sentTab"_s : u"receivedTab"_s);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_content);
    connect(m_content, &BottleListContent::bottleClicked, this, &BottleListTabView::showBottleInWindow);
    connect(&m_bottleManager,
        listType == ListType::sent ? &DriftBottleManager::sentBottlesChanged
                                   : &DriftBottleManager::receivedBottlesChanged,
        this, &BottleListTabView::showBottles);
    showBottles();
}

void BottleListTabView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // A window coming back from the task bar is not a new visit of the page.
    if (!event->spontaneous())
        loadBottles();
}

const QList<DriftBottle>& BottleListTabView::bottles() const
{
    return m_listType == ListType::sent ? m_bottleManager.sentBottles() : m_bottleManager.receivedBottles();
}

void BottleListTabView::showBottles()
{
    m_content->setBottles(bottles());
}

void BottleListTabView::loadBottles()
{
    m_content->load(m_bottleManager, m_listType == ListType::sent ? BottleListKind::sent : BottleListKind::received);
}

void BottleListTabView::showBottleInWindow(const DriftBottle& bottle)
{
    LogManager::log(u"🍾 打开瓶子详情: "_s + BottlePresentation::logPreview(bottle.content), u"DriftBottle"_s);
    Q_EMIT detailWindowOpened(BottleDetailView::openWindow(bottle, m_bottleManager, m_userManager));
}
