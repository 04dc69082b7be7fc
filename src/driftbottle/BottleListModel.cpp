#include "driftbottle/BottleListModel.h"

namespace {

QStringList idsOf(const QList<DriftBottle>& bottles)
{
    QStringList ids;
    ids.reserve(bottles.size());
    for (const DriftBottle& bottle : bottles)
        ids.append(bottle.id);
    return ids;
}

} // namespace

BottleListModel::BottleListModel(QObject* parent)
    : QAbstractListModel(parent)
{
}

void BottleListModel::setBottles(const QList<DriftBottle>& bottles)
{
    const QStringList oldIds = idsOf(m_bottles);
    const QStringList newIds = idsOf(bottles);
    const qsizetype added = newIds.size() - oldIds.size();
    if (!m_bottles.isEmpty() && added >= 0 && newIds.mid(added) == oldIds) {
        if (added > 0) {
            beginInsertRows({}, 0, int(added) - 1);
            m_bottles = bottles;
            endInsertRows();
        } else {
            m_bottles = bottles;
        }
        // Bottles have no equality of their own: the kept rows may have a new status.
        if (!oldIds.isEmpty())
            Q_EMIT dataChanged(index(int(added)), index(rowCount() - 1));
        return;
    }
    beginResetModel();
    m_bottles = bottles;
    endResetModel();
}

int BottleListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_bottles.size());
}

QVariant BottleListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_bottles.size())
        return {};
    const DriftBottle& bottle = m_bottles.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return QString(bottle.senderName + u": " + bottle.content);
    case bottleRole:
        return QVariant::fromValue(static_cast<const void*>(&bottle));
    default:
        return {};
    }
}
