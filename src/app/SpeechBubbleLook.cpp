#include "app/SpeechBubbleLook.h"

#include "widgets/Symbols.h"
#include "widgets/TextStyle.h"

#include <QPushButton>

SpeechBubbleLook kitSpeechBubbleLook()
{
    using TextStyle::Style;
    return SpeechBubbleLook { TextStyle::font(Style::title3), TextStyle::font(Style::headline, QFont::DemiBold),
        TextStyle::font(Style::body), [](QWidget* parent) {
            return Symbols::closeButton(qRound(TextStyle::pixelSizeOf(TextStyle::font(Style::caption))), parent);
        } };
}
