#include "platform/ApplicationQuit.h"

#include <QCoreApplication>

void ApplicationQuit::quitNow()
{
    // Leaves every running event loop without asking a window first; an alert still open
    // returns as dismissed and a loop started after this one returns at once.
    QCoreApplication::exit(0);
}
