#pragma once

#include "server/DriftBottleModels.h"
#include "widgets/KeyedListModel.h"

#include <QList>

/// A list of bottles for a list view, refreshed row by row by bottle id.
/// Only the tabbed drift-bottle screens use it, and no menu opens them today.
class BottleListModel final : public KeyedListModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BottleListModel)

public:
    /// The whole record, as a `const DriftBottle*` into the model (valid until the next change).
    static constexpr int bottleRole = Qt::UserRole + 1;

    explicit BottleListModel(QObject* parent = nullptr);

    void setBottles(const QList<DriftBottle>& bottles);
    [[nodiscard]] const QList<DriftBottle>& bottles() const { return m_bottles; }
    [[nodiscard]] const DriftBottle& bottleAt(int row) const { return m_bottles.at(row); }

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;

private:
    QList<DriftBottle> m_bottles;
};
