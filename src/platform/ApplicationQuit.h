#pragma once

/// Ends the program from wherever it stands: the main event loop and every loop nested in it
/// (an open alert, a menu) stop, and the quit handlers on `aboutToQuit` run as for any quit.
///
/// `QCoreApplication::quit()` would first ask every window to close; a message box without a
/// cancel button refuses, and that silently cancels the whole quit.
namespace ApplicationQuit {
void quitNow();
}
