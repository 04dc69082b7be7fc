#include "platform/FontScale.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

qreal FontScale::ofApplication()
{
    constexpr qreal defaultPoints = 9.0;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    const QFont font = QGuiApplication::font();
    const qreal pixels = font.pixelSize() > 0 ? qreal(font.pixelSize()) : font.pointSizeF() * dpi / 72.0;
    const qreal reference = defaultPoints * dpi / 72.0;
    if (pixels <= 0 || reference <= 0)
        return 1.0;
    return std::max(1.0, pixels / reference);
}
