#pragma once

#include <QListView>

class ManagementListModel;
class ManagementRowDelegate;

/// The list of alarm or reminder rows. With `fitContents` it is exactly as tall as its rows
/// and leaves scrolling to the page around it, so several sections share one scroll bar.
class ManagementListView final : public QListView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ManagementListView)

public:
    ManagementListView(ManagementListModel* model, bool fitContents, QWidget* parent = nullptr);

    [[nodiscard]] ManagementRowDelegate* rowDelegate() const { return m_delegate; }
    [[nodiscard]] ManagementListModel* rowModel() const { return m_model; }
    /// Space between the rows and the edges of the list.
    void setRowMargins(const QMargins& margins) { setViewportMargins(margins); }

protected:
    void leaveEvent(QEvent* event) override;

private:
    void fitHeight();

    ManagementListModel* m_model;
    ManagementRowDelegate* m_delegate;
    bool m_fitContents;
};
