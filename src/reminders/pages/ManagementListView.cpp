#include "reminders/pages/ManagementListView.h"

#include "reminders/pages/ManagementListModel.h"
#include "reminders/pages/ManagementRowDelegate.h"
#include "widgets/RowKeys.h"

#include <QResizeEvent>
#include <QScrollArea>

ManagementListView::ManagementListView(
    ManagementListModel* model, ManagementRowDelegate* delegate, bool fitContents, QWidget* parent)
    : QListView(parent)
    , m_model(model)
    , m_delegate(delegate)
    , m_fitContents(fitContents)
{
    delegate->setParent(this);
    setModel(model);
    setItemDelegate(m_delegate);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setMouseTracking(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    viewport()->setAutoFillBackground(false);
    setAutoFillBackground(false);
    if (m_fitContents) {
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }
    // A changed title can change its row's height, and a row that becomes the last one
    // loses its gap.
    connect(model, &QAbstractItemModel::rowsInserted, this, &ManagementListView::relayout);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &ManagementListView::relayout);
    connect(model, &QAbstractItemModel::rowsMoved, this, &ManagementListView::relayout);
    connect(model, &QAbstractItemModel::modelReset, this, &ManagementListView::relayout);
    connect(model, &QAbstractItemModel::dataChanged, this, &ManagementListView::relayout);
    fitHeight();

    const auto rowAt = [model](int index) { return model->rows().value(index); };
    m_keys = RowKeys::install(this,
        { .toggle = [this, rowAt](int index) { Q_EMIT m_delegate->onToggle(rowAt(index).id); },
            .open = [this, rowAt](int index) { Q_EMIT m_delegate->onEdit(rowAt(index).id); },
            .remove =
                [this, rowAt](int index) {
                    const ManagementRow row = rowAt(index);
                    if (row.canDelete && m_deleteQuestion && m_deleteQuestion(row))
                        Q_EMIT m_delegate->onDelete(row.id);
                } });
}

void ManagementListView::setFocusWhenEmpty(QWidget* widget)
{
    m_keys->setFocusWhenEmpty(widget);
}

QRect ManagementListView::cardRect(int row) const
{
    const QModelIndex index = m_model->index(row, 0);
    return m_delegate->cardRect(visualRect(index), index);
}

void ManagementListView::relayout()
{
    scheduleDelayedItemsLayout();
    fitHeight();
}

void ManagementListView::fitHeight()
{
    if (!m_fitContents)
        return;
    // Every row with its gap, so the list itself never has anything to scroll and the
    // wheel goes to the page.
    const int width = std::max(viewport()->width(), 200);
    int height = 0;
    for (int row = 0; row < m_model->rowCount(); ++row)
        height += m_delegate->itemHeight(m_model->index(row, 0), width, font());
    setFixedHeight(height + viewportMargins().top() + viewportMargins().bottom());
}

void ManagementListView::resizeEvent(QResizeEvent* event)
{
    QListView::resizeEvent(event);
    if (event->size().width() != event->oldSize().width())
        relayout();
}

void ManagementListView::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    QListView::scrollTo(index, hint);
    if (!m_fitContents || !index.isValid())
        return;
    // A list as tall as its rows never scrolls itself: the page around it brings the row the
    // keyboard moved to into view.
    const QRect row = visualRect(index);
    if (row.isEmpty())
        return; // not laid out yet: a row just removed above it
    for (QWidget* up = parentWidget(); up; up = up->parentWidget()) {
        if (auto* area = qobject_cast<QScrollArea*>(up); area && area->widget() && area->widget()->isAncestorOf(this)) {
            // The whole card, its last pixel row included.
            const QPoint centre
                = viewport()->mapTo(area->widget(), QPoint(row.center().x(), row.top() + row.height() / 2));
            area->ensureVisible(centre.x(), centre.y(), 0, (row.height() + 1) / 2);
            return;
        }
    }
}

void ManagementListView::leaveEvent(QEvent* event)
{
    m_delegate->clearHover();
    viewport()->update();
    QListView::leaveEvent(event);
}
