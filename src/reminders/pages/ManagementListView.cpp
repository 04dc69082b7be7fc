#include "reminders/pages/ManagementListView.h"

#include "reminders/pages/ManagementListModel.h"
#include "reminders/pages/ManagementRowDelegate.h"

ManagementListView::ManagementListView(ManagementListModel* model, bool fitContents, QWidget* parent)
    : QListView(parent)
    , m_model(model)
    , m_delegate(new ManagementRowDelegate(this))
    , m_fitContents(fitContents)
{
    setModel(model);
    setItemDelegate(m_delegate);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    setUniformItemSizes(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    viewport()->setAutoFillBackground(false);
    setAutoFillBackground(false);
    if (m_fitContents) {
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        connect(model, &QAbstractItemModel::rowsInserted, this, &ManagementListView::fitHeight);
        connect(model, &QAbstractItemModel::rowsRemoved, this, &ManagementListView::fitHeight);
        connect(model, &QAbstractItemModel::modelReset, this, &ManagementListView::fitHeight);
        fitHeight();
    }
}

void ManagementListView::fitHeight()
{
    const int rows = m_model->rowCount();
    // Every row with its gap, so the list itself never has anything to scroll and the
    // wheel goes to the page.
    setFixedHeight(rows * (ManagementRowDelegate::rowHeight + ManagementRowDelegate::rowGap));
}

void ManagementListView::leaveEvent(QEvent* event)
{
    m_delegate->clearHover();
    viewport()->update();
    QListView::leaveEvent(event);
}
