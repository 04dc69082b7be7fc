#include "widgets/ProminentButton.h"

#include <QPushButton>

using namespace Qt::StringLiterals;

namespace ProminentButton {

void style(QPushButton* button)
{
    button->setAutoDefault(false);
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(
        u"QPushButton { background: #007AFF; color: white; border: none; border-radius: 6px;"
        " padding: 5px 14px; }"
        "QPushButton:hover { background: #1A88FF; }"
        "QPushButton:pressed { background: #0062CC; }"
        "QPushButton:disabled { background: rgba(0, 122, 255, 90); color: rgba(255, 255, 255, 200); }"_s);
}

QPushButton* create(const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    style(button);
    return button;
}

} // namespace ProminentButton
