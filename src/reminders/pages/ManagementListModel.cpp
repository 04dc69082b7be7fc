#include "reminders/pages/ManagementListModel.h"

#include "reminders/pages/ListDiff.h"

ManagementListModel::ManagementListModel(Source source, QObject* parent)
    : QAbstractListModel(parent)
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
    const QList<ManagementRow> fresh = m_source();
    QStringList before;
    before.reserve(m_rows.size());
    for (const ManagementRow& row : std::as_const(m_rows))
        before.append(row.id);
    QStringList after;
    after.reserve(fresh.size());
    for (const ManagementRow& row : fresh)
        after.append(row.id);

    for (const ListEdit& edit : diffIds(before, after)) {
        const int at = static_cast<int>(edit.row);
        if (edit.kind == ListEdit::Kind::remove) {
            beginRemoveRows({}, at, at);
            m_rows.removeAt(at);
            endRemoveRows();
        } else {
            beginInsertRows({}, at, at);
            m_rows.insert(at, fresh[edit.source]);
            endInsertRows();
        }
    }
    for (qsizetype i = 0; i < fresh.size(); ++i) {
        if (m_rows[i] == fresh[i])
            continue;
        m_rows[i] = fresh[i];
        const QModelIndex changed = index(static_cast<int>(i));
        Q_EMIT dataChanged(changed, changed);
    }
}
