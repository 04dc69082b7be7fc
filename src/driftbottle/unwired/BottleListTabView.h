#pragma once

#include "driftbottle/unwired/BottleListContent.h"

#include <QWidget>

#include <QCoroTask>

class DriftBottleManager;
class UserManager;

/// The sent or the received page of the tabbed screen. It refreshes its list from the
/// server each time it is shown; a click on a bottle opens its detail in a new window.
/// No menu opens it today.
class BottleListTabView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BottleListTabView)

public:
    using ListType = BottleListKind;

    BottleListTabView(
        ListType listType, DriftBottleManager& bottleManager, UserManager& userManager, QWidget* parent = nullptr);

    [[nodiscard]] ListType listType() const { return m_listType; }
    [[nodiscard]] BottleListContent* content() const { return m_content; }
    /// A refresh runs; the page shows a spinner in place of the rows meanwhile.
    [[nodiscard]] bool isLoading() const { return m_content->isLoading(); }
    /// The manager's list this page shows, in the manager's order.
    [[nodiscard]] const QList<DriftBottle>& bottles() const;

Q_SIGNALS:
    /// A detail window was opened for a clicked bottle.
    void detailWindowOpened(QWidget* window);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showBottles();
    void loadBottles();
    void showBottleInWindow(const DriftBottle& bottle);

    ListType m_listType;
    DriftBottleManager& m_bottleManager;
    UserManager& m_userManager;
    BottleListContent* m_content;
};
