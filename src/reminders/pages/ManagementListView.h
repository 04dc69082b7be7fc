#pragma once

#include <QListView>

#include <functional>

class RowKeys;
class ManagementListModel;
class ManagementRowDelegate;
struct ManagementRow;

/// The list of alarm or reminder rows, drawn by `delegate` (which the list takes over). With
/// `fitContents` it is exactly as tall as its rows, with no gap after the last, and leaves
/// scrolling to the page around it, so several sections share one scroll bar. Rows grow with their titles, so their
/// heights follow the list's width and their contents.
///
/// The keyboard works the rows as the mouse does: Tab enters the list, the arrows move
/// between rows, and on the current row Space flips its switch, Return edits it and Delete
/// deletes it, once the page's question was answered yes. Each key sends the same signal
/// of the delegate as a click on the row's own control.
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

    /// Asks whether to delete `row`, which the Delete key picked; until one is set, the key
    /// deletes nothing.
    using DeleteQuestion = std::function<bool(const ManagementRow& row)>;
    void setDeleteQuestion(DeleteQuestion question) { m_deleteQuestion = std::move(question); }
    /// Where the keyboard goes once its Delete has taken the last row.
    void setFocusWhenEmpty(QWidget* widget);

    /// Brings `index` into view; with `fitContents`, by scrolling the page around the list.
    /// The list asks this only as the keyboard moves, so a click never moves the page.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

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
    DeleteQuestion m_deleteQuestion;
    RowKeys* m_keys = nullptr;
};
