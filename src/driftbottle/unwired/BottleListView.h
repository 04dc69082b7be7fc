#pragma once

#include "driftbottle/unwired/BottleListContent.h"

#include <QDialog>
#include <QPointer>
#include <QWidget>

#include <array>

class DriftBottleManager;
class SegmentedSwitch;
class UserManager;

/// A 600 × 600 screen listing the bottles the user threw or received, chosen with a
/// two-segment switch. It fetches the chosen list each time it is shown; switching the
/// segment shows the other list as the manager holds it. A click opens the bottle's detail
/// in a sheet.
/// No menu opens it today.
class BottleListView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BottleListView)

public:
    enum class BottleTab { sent, received };
    static constexpr std::array<BottleTab, 2> allTabs { BottleTab::sent, BottleTab::received };

    BottleListView(DriftBottleManager& bottleManager, UserManager& userManager, QWidget* parent = nullptr);

    [[nodiscard]] static QString rawValue(BottleTab tab);

    [[nodiscard]] BottleTab selectedTab() const { return m_selectedTab; }
    void setSelectedTab(BottleTab tab);
    [[nodiscard]] BottleListContent* bottleListContent() const { return m_bottleListContent; }
    /// A fetch this screen started is running; the list gives way to a spinner meanwhile.
    [[nodiscard]] bool isLoading() const { return m_bottleListContent->isLoading(); }
    [[nodiscard]] SegmentedSwitch* segments() const { return m_segments; }
    [[nodiscard]] QDialog* detailSheet() const { return m_sheet; }
    /// The detail sheet is open.
    [[nodiscard]] bool showBottleDetail() const { return !m_sheet.isNull(); }
    /// The bottle whose detail was opened last.
    [[nodiscard]] const std::optional<DriftBottle>& selectedBottle() const { return m_selectedBottle; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showBottles();
    /// Fetches the chosen list; only an appearance does, a switch of segment does not.
    void loadBottles();

    DriftBottleManager& m_bottleManager;
    UserManager& m_userManager;
    BottleTab m_selectedTab = BottleTab::sent;
    SegmentedSwitch* m_segments;
    BottleListContent* m_bottleListContent;
    QPointer<QDialog> m_sheet;
    std::optional<DriftBottle> m_selectedBottle;
};
