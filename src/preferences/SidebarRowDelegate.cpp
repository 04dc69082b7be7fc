#include "preferences/SidebarRowDelegate.h"

#include "widgets/FocusRing.h"

#include <QApplication>
#include <QPainter>

void SidebarRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (!(option.state & QStyle::State_Selected)) {
        QStyledItemDelegate::paint(painter, option, index);
        if (FocusRing::shows(option))
            FocusRing::paint(*painter, QRectF(option.rect), 0, option.palette, option.palette.color(QPalette::Window));
        return;
    }
    QStyleOptionViewItem row(option);
    initStyleOption(&row, index);
    painter->fillRect(row.rect, row.palette.brush(QPalette::Active, QPalette::Highlight));
    // Drawn as an unselected row in the selection's text colour, over the face just laid.
    const QSize side = row.decorationSize;
    row.icon = QIcon(row.icon.pixmap(side, QIcon::Selected));
    row.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_MouseOver);
    const QColor title = row.palette.color(QPalette::Active, QPalette::HighlightedText);
    row.palette.setColor(QPalette::Text, title);
    row.palette.setColor(QPalette::WindowText, title);
    row.backgroundBrush = Qt::NoBrush;
    const QWidget* view = row.widget;
    QStyle* style = view ? view->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &row, painter, view);
    // The sidebar holds the keyboard: its row wears the lists' focus ring, or nothing would
    // tell it from the selected row of a sidebar that does not.
    if (FocusRing::shows(option)) {
        FocusRing::paint(*painter, QRectF(option.rect), 0, option.palette,
            option.palette.color(QPalette::Active, QPalette::Highlight));
    }
}
