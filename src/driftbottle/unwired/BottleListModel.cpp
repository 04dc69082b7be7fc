#include "driftbottle/unwired/BottleListModel.h"

BottleListModel::BottleListModel(QObject* parent)
    : KeyedListModel(parent)
{
}

void BottleListModel::setBottles(const QList<DriftBottle>& bottles)
{
    // Bottles have no equality of their own: every kept row is announced, as it may have a new status.
    syncRows(
        m_bottles, bottles, [](const DriftBottle& bottle) { return bottle.id; },
        [](const DriftBottle&, const DriftBottle&) { return false; });
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
