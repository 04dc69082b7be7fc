#include "platform/ModalWindowsOnTop.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

ModalWindowsOnTop::ModalWindowsOnTop(QObject* parent)
    : QObject(parent)
{
    QCoreApplication::instance()->installEventFilter(this);
}

ModalWindowsOnTop::~ModalWindowsOnTop()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

bool ModalWindowsOnTop::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Show || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (!widget->isWindow() || !widget->isModal())
        return false;
    // The show event comes before the window is mapped, so the window manager learns the
    // level with the map. The widget's own flags stay as they are: changing them would hide
    // and recreate the window that is being shown.
    if (QWindow* window = widget->windowHandle(); window && !window->flags().testFlag(Qt::WindowStaysOnTopHint))
        window->setFlags(window->flags() | Qt::WindowStaysOnTopHint);
    return false;
}
