#pragma once

#include "preferences/PreferenceTab.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>
#include <utility>

class QListWidget;
class QVBoxLayout;

/// The preferences window's content: a sidebar of tabs and the selected tab's page.
/// Switching tabs builds the page afresh, so a page's own choices last only while it shows.
class PreferencesView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PreferencesView)

public:
    using PageFactory = std::function<QWidget*()>;
    /// The tabs that have a page, in sidebar order.
    using Pages = QList<std::pair<PreferenceTab, PageFactory>>;

    static constexpr int sidebarWidth = 200;

    /// Opens on the tab titled `initialTab`; on the first tab (general) without a title,
    /// for a title that names no tab, or for a tab that has no page.
    PreferencesView(Pages pages, const std::optional<QString>& initialTab, QWidget* parent = nullptr);

    [[nodiscard]] PreferenceTab selectedTab() const { return m_selectedTab; }
    void setSelectedTab(PreferenceTab tab);
    [[nodiscard]] QList<PreferenceTab> tabs() const;
    /// The page on show.
    [[nodiscard]] QWidget* currentPage() const { return m_page; }

Q_SIGNALS:
    void selectedTabChanged(PreferenceTab tab);

protected:
    void changeEvent(QEvent* event) override;

private:
    void showPage();
    void followPalette();
    void showSymbols();

    Pages m_pages;
    PreferenceTab m_selectedTab = PreferenceTab::general;
    QListWidget* m_sidebar;
    QVBoxLayout* m_detail;
    QPointer<class QScrollArea> m_scroller;
    QPointer<QWidget> m_page;
};
