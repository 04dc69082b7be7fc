#include "reminders/pages/ManagementListModel.h"

ManagementListModel::ManagementListModel(Source source, QObject* parent)
    : KeyedListModel(parent)
    , m_source(std::move(source))
    , m_rows(m_source())
{
}

int ManagementListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

QVariant ManagementListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const ManagementRow& row = m_rows[index.row()];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return row.title;
    case IdRole:
        return row.id;
    case RowRole:
        return QVariant::fromValue(row);
    default:
        return {};
    }
}

void ManagementListModel::refresh()
{
    syncRows(
        m_rows, m_source(), [](const ManagementRow& row) { return row.id; }, std::equal_to<>());
}
