#pragma once

// Real pointer clicks for tests of what takes the mouse on the X server: a plain window that
// counts the presses reaching it, and a click sent as from the hardware.
#include <QMouseEvent>
#include <QPoint>
#include <QProcess>
#include <QStandardPaths>
#include <QWidget>

/// A plain borderless window that counts the presses it gets.
class PressCounter final : public QWidget
{
public:
    PressCounter() { setWindowFlags(Qt::Tool | Qt::FramelessWindowHint); }
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        ++presses;
        event->accept();
    }
};

[[nodiscard]] inline bool canClick()
{
    return !QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty();
}

/// Moves the pointer to a point of the screen and clicks the left button there.
inline bool clickAt(QPoint globalPos)
{
    const int status = QProcess::execute(QStringLiteral("xdotool"),
        { QStringLiteral("mousemove"), QString::number(globalPos.x()), QString::number(globalPos.y()),
            QStringLiteral("click"), QStringLiteral("1") });
    return status == 0;
}
