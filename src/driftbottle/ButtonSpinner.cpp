#include "driftbottle/ButtonSpinner.h"

#include "widgets/IconTitleGap.h"

#include <QPixmap>
#include <QPushButton>

namespace ButtonSpinner {

QIcon placeholder(QSize size, int spacing)
{
    QPixmap blank(IconTitleGap::widenedSize(size, spacing));
    blank.fill(Qt::transparent);
    QIcon icon;
    icon.addPixmap(blank, QIcon::Normal);
    icon.addPixmap(blank, QIcon::Disabled);
    return icon;
}

void placeOnIcon(QWidget* spinner, const QPushButton* button)
{
    const QSize icon = button->iconSize();
    // Measured as the style measures the words when it centres them with the icon.
    const int words = button->fontMetrics()
                          .boundingRect(button->rect(), Qt::AlignCenter | Qt::TextShowMnemonic, button->text())
                          .width();
    const int label = icon.width() + IconTitleGap::layoutGap + words;
    const QPoint iconAt((button->width() - label) / 2, (button->height() - icon.height()) / 2);
    const QSize own = spinner->size();
    // The spinner's place is the square at the icon's left; the rest is the gap before the words.
    const int side = icon.height();
    spinner->move(iconAt + QPoint((side - own.width()) / 2, (side - own.height()) / 2));
}

} // namespace ButtonSpinner
