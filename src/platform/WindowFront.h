#pragma once

class QWidget;

/// Showing a window that may already be open: whatever the user did to it meanwhile, it
/// comes back where it can be seen.
namespace WindowFront {

/// Shows `window`, out of the minimised state when the user or the window manager had put
/// it there (a maximised window stays maximised), raises it and, unless it refuses focus,
/// activates it. A shown window stays iconic otherwise: showing it again changes nothing,
/// and the window manager is asked to raise and activate only mapped windows.
void bringForward(QWidget& window);

/// Asks the window manager not to offer minimising the shown or about-to-be-shown `window`,
/// through the Motif hints it reads from the window (X11 only). Qt writes those hints when
/// it creates the native window and whenever the window's flags change, leaving minimise
/// open for a borderless window: call this again after each of those.
void refuseMinimise(const QWidget& window);

} // namespace WindowFront
