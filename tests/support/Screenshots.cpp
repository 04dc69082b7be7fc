#include "support/Screenshots.h"

#include <QColor>
#include <QDir>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <algorithm>

using namespace Qt::StringLiterals;

void saveShot(const QImage& picture, const QString& name)
{
    const QByteArray dir = qgetenv("TAMSEL_SHOT_DIR");
    if (!dir.isEmpty())
        picture.save(QDir(QString::fromLocal8Bit(dir)).filePath(name + u".png"_s));
}

QImage grabFromScreen(QWidget* window, const QString& name, int settleMs)
{
    QTest::qWait(settleMs);
    const QRect frame = window->frameGeometry();
    QImage image = window->screen()
                       ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
                       .toImage()
                       .convertToFormat(QImage::Format_RGB32);
    saveShot(image, name);
    return image;
}

QRect inFrame(const QWidget* window, const QRect& area)
{
    return area.translated(window->mapToGlobal(QPoint(0, 0)) - window->frameGeometry().topLeft());
}

int colourfulPixels(const QImage& image, const QRect& box)
{
    int n = 0;
    for (int y = std::max(0, box.top()); y <= box.bottom() && y < image.height(); ++y)
        for (int x = std::max(0, box.left()); x <= box.right() && x < image.width(); ++x)
            n += QColor(image.pixel(x, y)).hsvSaturation() > 120 ? 1 : 0;
    return n;
}
