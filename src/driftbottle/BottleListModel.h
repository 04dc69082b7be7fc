#pragma once

#include "server/DriftBottleModels.h"

#include <QAbstractListModel>
#include <QList>

/// A list of bottles for a list view. A refresh that keeps the rows, or only adds bottles
/// at the top (a pick), is announced row by row, so the view keeps its scroll position.
class BottleListModel final : public QAbstractListModel
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
