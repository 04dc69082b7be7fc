#pragma once

#include "pet/SpeechBubbleView.h"

/// The speech bubble in the widget kit's look: the emoji in title 3, the title a semibold
/// headline, the message body text, and the kit's close button as large as caption text.
[[nodiscard]] SpeechBubbleLook kitSpeechBubbleLook();
