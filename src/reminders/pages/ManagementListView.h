#pragma once

#include <QListView>

class ManagementListModel;
class ManagementRowDelegate;

/// The list of alarm or reminder rows, drawn by `delegate` (which the list takes over). With
/// `fitContents` it is exactly as tall as its rows, with no gap after the last, and leaves
/// scrolling to the page around it, so several sections share one scroll bar. Rows grow with their titles, so their
/// heights follow the list's width and their contents.
class ManagementListView final : public QListView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ManagementListView)

public:
    ManagementListView(
        ManagementListModel* model, ManagementRowDelegate* delegate, bool fitContents, QWidget* parent = nullptr);

    [[nodiscard]] ManagementRowDelegate* rowDelegate() const { return m_delegate; }
    [[nodiscard]] ManagementListModel* rowModel() const { return m_model; }
    /// Space between the rows and the edges of the list.
    void setRowMargins(const QMargins& margins) { setViewportMargins(margins); }
    /// The card of row `row`, in the viewport's coordinates.
    [[nodiscard]] QRect cardRect(int row) const;

protected:
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    /// Lays the rows out afresh after a change of their heights.
    void relayout();
    void fitHeight();

    ManagementListModel* m_model;
    ManagementRowDelegate* m_delegate;
    bool m_fitContents;
};
