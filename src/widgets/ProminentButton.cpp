#include "widgets/ProminentButton.h"

#include "widgets/ButtonStyle.h"

#include <QPushButton>

namespace ProminentButton {

void style(QPushButton* button)
{
    ButtonStyle::apply(button, ButtonStyle::Style::borderedProminent);
}

QPushButton* create(const QString& text, QWidget* parent)
{
    return ButtonStyle::create(text, ButtonStyle::Style::borderedProminent, ButtonStyle::ControlSize::regular, parent);
}

} // namespace ProminentButton
