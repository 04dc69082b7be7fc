#include "platform/KeyboardFocus.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace KeyboardFocus {

namespace {

/// The window's state is kept on the window itself, so it goes with it.
constexpr char inUseProperty[] = "tamselKeyboardInUse";

bool isModifier(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
        return true;
    default:
        return false;
    }
}

/// Watches the whole program's keys, clicks and focus moves: a click on any widget of a
/// window counts, not only on the controls that draw a ring.
class Watcher final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Watcher)

public:
    explicit Watcher(QObject* parent)
        : QObject(parent)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (!isModifier(static_cast<QKeyEvent*>(event)->key()))
                set(watched, true);
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            set(watched, false);
            break;
        case QEvent::FocusIn:
            switch (static_cast<QFocusEvent*>(event)->reason()) {
            case Qt::TabFocusReason:
            case Qt::BacktabFocusReason:
            case Qt::ShortcutFocusReason:
                set(watched, true);
                break;
            case Qt::MouseFocusReason:
                set(watched, false);
                break;
            default:
                // Given back by a menu or another window, or moved by the program: as the
                // user last moved about the window.
                break;
            }
            break;
        case QEvent::Show:
            // A window the program shows again starts as a new one, whatever was pressed in
            // it before; one the window manager gives back after minimising it does not.
            if (!event->spontaneous() && watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow())
                static_cast<QWidget*>(watched)->setProperty(inUseProperty, false);
            break;
        default:
            break;
        }
        return false;
    }

Q_SIGNALS:
    void changed();

private:
    void set(QObject* watched, bool inUse)
    {
        if (!watched->isWidgetType())
            return;
        QWidget* window = static_cast<QWidget*>(watched)->window();
        if (window->property(inUseProperty).toBool() == inUse)
            return;
        window->setProperty(inUseProperty, inUse);
        if (QWidget* focused = window->focusWidget()) {
            focused->update();
            // A list paints its rows, and their ring, on its viewport.
            if (auto* area = qobject_cast<QAbstractScrollArea*>(focused))
                area->viewport()->update();
        }
        Q_EMIT changed();
    }
};

Watcher* watcher()
{
    static QPointer<Watcher> instance;
    if (!instance && QCoreApplication::instance())
        instance = new Watcher(QCoreApplication::instance());
    return instance;
}

/// From the application's start, so that no key or click before the first ring is missed.
void watchFromTheStart()
{
    watcher();
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(watchFromTheStart)

bool shows(const QWidget* control)
{
    watcher();
    return control->hasFocus() && control->window()->property(inUseProperty).toBool();
}

void whenChanged(const QObject* context, std::function<void()> changed)
{
    if (Watcher* source = watcher())
        QObject::connect(source, &Watcher::changed, context, std::move(changed));
}

} // namespace KeyboardFocus

#include "KeyboardFocus.moc"
