#include "preferences/PreferencesView.h"

#include "widgets/Divider.h"
#include "widgets/EmojiLabel.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

/// The tab's emoji as an icon, drawn in the colour-emoji font.
QIcon emojiIcon(const QString& emoji, const QFont& base)
{
    QPixmap pixmap(40, 40);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    QFont font = EmojiLabel::emojiFont(base, 0);
    font.setPixelSize(30);
    painter.setFont(font);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, emoji);
    painter.end();
    return QIcon(pixmap);
}

} // namespace

PreferencesView::PreferencesView(Pages pages, const std::optional<QString>& initialTab, QWidget* parent)
    : QWidget(parent)
    , m_pages(std::move(pages))
    , m_sidebar(new QListWidget(this))
    , m_detail(new QVBoxLayout)
{
    m_sidebar->setObjectName(u"sidebar"_s);
    m_sidebar->setFixedWidth(sidebarWidth);
    m_sidebar->setIconSize(QSize(20, 20));
    m_sidebar->setFrameShape(QFrame::NoFrame);
    m_sidebar->setSpacing(2);
    m_sidebar->setStyleSheet(u"QListWidget { background: palette(window); padding-top: 8px; }"_s);
    for (const auto& [tab, factory] : std::as_const(m_pages)) {
        auto* item = new QListWidgetItem(emojiIcon(icon(tab), font()), rawValue(tab), m_sidebar);
        item->setSizeHint(QSize(0, 32));
    }

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_sidebar);
    layout->addWidget(Divider::create(this, Qt::Vertical));
    m_detail->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(m_detail, 1);

    const QList<PreferenceTab> available = tabs();
    const auto requested = std::find_if(available.cbegin(), available.cend(),
        [&initialTab](PreferenceTab tab) { return initialTab && rawValue(tab) == *initialTab; });
    if (requested != available.cend())
        m_selectedTab = *requested;
    else if (!available.isEmpty())
        m_selectedTab = available.constFirst();
    showPage();

    connect(m_sidebar, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row < m_pages.size())
            setSelectedTab(m_pages[row].first);
    });
}

QList<PreferenceTab> PreferencesView::tabs() const
{
    QList<PreferenceTab> out;
    for (const auto& [tab, factory] : m_pages)
        out.append(tab);
    return out;
}

void PreferencesView::setSelectedTab(PreferenceTab tab)
{
    if (tab == m_selectedTab || !tabs().contains(tab))
        return;
    m_selectedTab = tab;
    showPage();
    Q_EMIT selectedTabChanged(tab);
}

void PreferencesView::showPage()
{
    const auto entry = std::find_if(
        m_pages.cbegin(), m_pages.cend(), [this](const auto& page) { return page.first == m_selectedTab; });
    if (entry == m_pages.cend())
        return;
    m_sidebar->setCurrentRow(static_cast<int>(entry - m_pages.cbegin()));
    // The old page goes at once, with any timer it runs; a request it awaits finds it gone.
    delete m_scroller;
    QWidget* page = entry->second();
    if (page->objectName().isEmpty())
        page->setObjectName(u"page_"_s + rawValue(m_selectedTab));
    auto* scroller = new QScrollArea(this);
    scroller->setObjectName(u"pageScroller"_s);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller->setWidget(page);
    m_detail->addWidget(scroller);
    m_scroller = scroller;
    m_page = page;
}
