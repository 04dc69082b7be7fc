#include "preferences/PreferencesView.h"

#include "preferences/SidebarRowDelegate.h"
#include "widgets/ButtonStyle.h"
#include "widgets/Divider.h"
#include "widgets/Symbols.h"
#include "widgets/TextStyle.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QListWidget>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

PreferencesView::PreferencesView(Pages pages, const std::optional<QString>& initialTab, QWidget* parent)
    : QWidget(parent)
    , m_pages(std::move(pages))
    , m_sidebar(new QListWidget(this))
    , m_detail(new QVBoxLayout)
{
    m_sidebar->setObjectName(u"sidebar"_s);
    m_sidebar->setFixedWidth(sidebarWidth);
    // A little larger than the titles beside them, as a sidebar's symbols are.
    m_sidebar->setIconSize(QSize(TextStyle::scaled(18), TextStyle::scaled(18)));
    m_sidebar->setFrameShape(QFrame::NoFrame);
    m_sidebar->setItemDelegate(new SidebarRowDelegate(m_sidebar));
    m_sidebar->setSpacing(2);
    for (const auto& [tab, factory] : std::as_const(m_pages)) {
        auto* item = new QListWidgetItem(rawValue(tab), m_sidebar);
        item->setSizeHint(QSize(0, std::max(32, TextStyle::scaled(32))));
    }
    followPalette();

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

void PreferencesView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        followPalette();
}

void PreferencesView::followPalette()
{
    // A sheet's "palette(window)" is read once, when the sheet is set: the colour is written
    // out again whenever the palette changes, so the sidebar and its symbols change together.
    const QString sheet
        = u"QListWidget { background: %1; padding-top: 8px; }"_s.arg(palette().color(QPalette::Window).name());
    if (m_sidebar->styleSheet() != sheet)
        m_sidebar->setStyleSheet(sheet);
    // The selected row is the accent deepened just enough for its white title, as a prominent
    // button's face is: the raw selection colour reads at barely 3:1.
    QPalette rows = m_sidebar->palette();
    rows.setColor(QPalette::Highlight, ButtonStyle::prominentFace(palette()));
    rows.setColor(QPalette::HighlightedText, QColor(255, 255, 255));
    m_sidebar->setPalette(rows);
    showSymbols();
}

void PreferencesView::showSymbols()
{
    // In the titles' colour, and in the selection's text colour on the selected row.
    // The view's own palette: its children take a new one only after it.
    const QPalette palette = this->palette();
    const int side = m_sidebar->iconSize().width();
    for (int row = 0; row < m_sidebar->count() && row < m_pages.size(); ++row) {
        const Symbols::Symbol symbol = icon(m_pages[row].first);
        QIcon shown = Symbols::icon(symbol, side, Symbols::colour(Symbols::Tint::primary, palette, QPalette::Window));
        const QIcon selected = Symbols::icon(symbol, side, QColor(255, 255, 255));
        for (const int ratio : { 1, 2 })
            shown.addPixmap(selected.pixmap(QSize(side, side), ratio), QIcon::Selected);
        m_sidebar->item(row)->setIcon(shown);
    }
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
    // Tab goes from the sidebar to the page's own controls: the scroller draws no mark of focus,
    // and it scrolls to whichever control the keyboard reaches.
    scroller->setFocusPolicy(Qt::NoFocus);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller->setWidget(page);
    m_detail->addWidget(scroller);
    m_scroller = scroller;
    m_page = page;
}
