#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Small Lottie documents written by the tests themselves: a 20 × 20 square on a canvas.
namespace lottietest {

enum class Motion {
    Moving, ///< the square moves 5 px each frame, so every frame looks different
    Still, ///< the square never moves, so every frame looks the same
    FullCanvas, ///< an opaque square covering the whole canvas
};

inline QByteArray document(int frames, double fps, Motion motion = Motion::Moving, int width = 128, int height = 128)
{
    QByteArray position;
    if (motion == Motion::Moving) {
        position = "{\"a\":1,\"k\":[{\"t\":0,\"s\":[10,64],\"i\":{\"x\":[1],\"y\":[1]},\"o\":{\"x\":[0],\"y\":[0]}},"
                   "{\"t\":"
            + QByteArray::number(frames) + ",\"s\":[" + QByteArray::number(10 + 5 * frames) + ",64]}]}";
    } else {
        position = "{\"a\":0,\"k\":[" + QByteArray::number(width / 2) + "," + QByteArray::number(height / 2) + "]}";
    }
    QByteArray side = "20,20";
    if (motion == Motion::FullCanvas)
        side = QByteArray::number(width) + "," + QByteArray::number(height);
    const QByteArray op = QByteArray::number(frames);
    return "{\"v\":\"5.7.0\",\"fr\":" + QByteArray::number(fps) + ",\"ip\":0,\"op\":" + op
        + ",\"w\":" + QByteArray::number(width) + ",\"h\":" + QByteArray::number(height)
        + ",\"layers\":[{\"ty\":4,\"ind\":1,\"ip\":0,\"op\":" + op
        + ",\"st\":0,\"ks\":{\"o\":{\"a\":0,\"k\":100},\"r\":{\"a\":0,\"k\":0},\"p\":" + position
        + ",\"a\":{\"a\":0,\"k\":[0,0]},\"s\":{\"a\":0,\"k\":[100,100]}},\"shapes\":["
          "{\"ty\":\"rc\",\"d\":1,\"s\":{\"a\":0,\"k\":["
        + side
        + "]},\"p\":{\"a\":0,\"k\":[0,0]},\"r\":{\"a\":0,\"k\":0}},"
          "{\"ty\":\"fl\",\"c\":{\"a\":0,\"k\":[0.9,0.5,0.2,1]},\"o\":{\"a\":0,\"k\":100}}]}]}";
}

inline QString write(const QString& path, const QByteArray& content)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(content);
    return path;
}

} // namespace lottietest
