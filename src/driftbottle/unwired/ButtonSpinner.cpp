#include "driftbottle/unwired/ButtonSpinner.h"

#include <QPixmap>
#include <QPushButton>

namespace ButtonSpinner {

namespace {

/// The gap a push button leaves between its icon and its words.
constexpr int iconSpacing = 4;

} // namespace

QIcon placeholder(QSize size)
{
    QPixmap blank(size);
    blank.fill(Qt::transparent);
    QIcon icon;
    icon.addPixmap(blank, QIcon::Normal);
    icon.addPixmap(blank, QIcon::Disabled);
    return icon;
}

void placeOnIcon(QWidget* spinner, const QPushButton* button)
{
    const QSize icon = button->iconSize();
    const int label = icon.width() + iconSpacing + button->fontMetrics().horizontalAdvance(button->text());
    const QPoint iconAt((button->width() - label) / 2, (button->height() - icon.height()) / 2);
    const QSize own = spinner->size();
    spinner->move(iconAt + QPoint((icon.width() - own.width()) / 2, (icon.height() - own.height()) / 2));
}

} // namespace ButtonSpinner
