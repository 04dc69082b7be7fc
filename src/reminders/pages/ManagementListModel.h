#pragma once

#include "reminders/pages/ManagementRow.h"
#include "widgets/KeyedListModel.h"

#include <functional>

/// The rows of an alarm or reminder list, refreshed from their manager row by row, by id.
class ManagementListModel final : public KeyedListModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ManagementListModel)

public:
    enum Role { IdRole = Qt::UserRole + 1, RowRole };

    using Source = std::function<QList<ManagementRow>()>;

    /// `source` gives the rows as they stand now; refresh() reads it again.
    explicit ManagementListModel(Source source, QObject* parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    [[nodiscard]] const QList<ManagementRow>& rows() const { return m_rows; }

    /// Brings the rows up to date with the source.
    void refresh();

private:
    Source m_source;
    QList<ManagementRow> m_rows;
};
