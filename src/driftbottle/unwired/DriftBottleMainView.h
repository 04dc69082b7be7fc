#pragma once

#include "driftbottle/unwired/PickBottleTabView.h"

#include <QWidget>

class DriftBottleManager;
class SegmentedSwitch;
class UserManager;

/// The four drift-bottle pages in one 700 × 650 screen: pick, throw, the bottles I threw
/// and the bottles I received. Each switch builds the chosen page afresh, so a page keeps
/// nothing once left.
/// No menu opens it today.
class DriftBottleMainView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DriftBottleMainView)

public:
    enum class BottleTab { pick, throw_bottle, sent, received };
    static constexpr std::array<BottleTab, 4> allTabs { BottleTab::pick, BottleTab::throw_bottle, BottleTab::sent,
        BottleTab::received };

    /// `playBehavior` reaches the pet's animations; the pick page sets the pet exploring.
    DriftBottleMainView(DriftBottleManager& bottles, UserManager& users, PickBottleTabView::PlayBehavior playBehavior,
        QWidget* parent = nullptr);

    /// The segment's title.
    [[nodiscard]] static QString rawValue(BottleTab tab);

    [[nodiscard]] BottleTab selectedTab() const { return m_selectedTab; }
    void setSelectedTab(BottleTab tab);
    /// The page now shown.
    [[nodiscard]] QWidget* currentTabView() const { return m_page; }
    [[nodiscard]] SegmentedSwitch* segments() const { return m_segments; }

private:
    void buildPage();

    DriftBottleManager& m_bottleManager;
    UserManager& m_users;
    PickBottleTabView::PlayBehavior m_playBehavior;
    BottleTab m_selectedTab = BottleTab::pick;
    SegmentedSwitch* m_segments;
    QWidget* m_stage;
    QWidget* m_page = nullptr;
};
