#pragma once

#include "driftbottle/unwired/BottleListContent.h"

#include <QPointer>
#include <QWidget>

#include <QCoroTask>

class DriftBottleManager;
#include <QDialog>
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

    BottleListView(DriftBottleManager& bottles, UserManager& users, QWidget* parent = nullptr);

    [[nodiscard]] static QString rawValue(BottleTab tab);

    [[nodiscard]] BottleTab selectedTab() const { return m_selectedTab; }
    void setSelectedTab(BottleTab tab);
    [[nodiscard]] BottleListContent* content() const { return m_content; }
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

    DriftBottleManager& m_bottleManager;
    UserManager& m_users;
    BottleTab m_selectedTab = BottleTab::sent;
    SegmentedSwitch* m_segments;
    BottleListContent* m_content;
    QPointer<QDialog> m_sheet;
    std::optional<DriftBottle> m_selectedBottle;
};
