#pragma once

#include "platform/FloatingWindow.h"

/// A borderless floating window that can become active and take keyboard input, for the
/// bubbles the user types into. The pet window itself never takes focus.
class KeyEnabledWindow : public FloatingWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(KeyEnabledWindow)

public:
    explicit KeyEnabledWindow(Screens& screens, QWidget* parent = nullptr)
        : FloatingWindow(Focus::Accept, screens, parent)
    {
    }
};
