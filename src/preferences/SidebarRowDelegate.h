#pragma once

#include <QStyledItemDelegate>

/// Draws the preferences sidebar's selected row as one flat face in the list's highlight colour,
/// with its title and symbol in the highlighted text colour. The style would lay its own paler
/// band under the title, so a face chosen for the white title would not be the one drawn.
class SidebarRowDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
