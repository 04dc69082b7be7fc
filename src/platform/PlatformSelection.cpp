#include "platform/PlatformSelection.h"

#include <QtGlobal>

namespace PlatformSelection {

QByteArray platformFor(const QByteArray& sessionType, const QByteArray& waylandDisplay, const QByteArray& qpaPlatform)
{
    if (!qpaPlatform.isEmpty())
        return {};
    const bool wayland = sessionType.trimmed().toLower() == "wayland" || !waylandDisplay.isEmpty();
    return wayland ? QByteArray("xcb") : QByteArray();
}

void choosePlatformBeforeApplication()
{
    const QByteArray platform
        = platformFor(qgetenv("XDG_SESSION_TYPE"), qgetenv("WAYLAND_DISPLAY"), qgetenv("QT_QPA_PLATFORM"));
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}

} // namespace PlatformSelection
