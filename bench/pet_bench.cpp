// Shows the resting pet as the program does at start-up (pet window, then the idle
// animation) with the automatic behaviours switched off, so that the cost of the idle loop
// alone can be measured. Prints the time from process start to the pet's first painted
// frame, then runs until it is killed or, with a number of seconds as argument, that long.
#include "app/CompositionRoot.h"
#include "core/PetBehavior.h"
#include "pet/AutoBehaviorManager.h"
#include "pet/LottieAnimationManager.h"
#include "pet/LottiePetView.h"
#include "pet/PetState.h"
#include "platform/LottiePlayer.h"
#include "pet/WindowManager.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

namespace {

// Milliseconds since this process started, from the kernel's own start stamp.
double msSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    QFile uptime(QStringLiteral("/proc/uptime"));
    if (!stat.open(QIODevice::ReadOnly) || !uptime.open(QIODevice::ReadOnly))
        return -1.0;
    const QByteArray statLine = stat.readAll();
    // Fields after the command name (which may hold blanks) start after the last ')'.
    const QList<QByteArray> fields = statLine.mid(statLine.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble(); // field 22 of the whole line
    const double upSeconds = uptime.readAll().split(' ').value(0).toDouble();
    return (upSeconds - startTicks / double(sysconf(_SC_CLK_TCK))) * 1000.0;
}

class FirstPaint final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // Reported once the paint has been handed to the window system.
            QTimer::singleShot(0, this, [] {
                std::printf("first frame: %.0f ms after process start\n", msSinceProcessStart());
                std::fflush(stdout);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    CompositionRoot root;

    QTimer::singleShot(0, [&root] {
        root.createManagers();
        AutoBehaviorManager::shared().stopBehaviorSystem();
        WindowManager::shared().createPetWindow();
        AutoBehaviorManager::shared().stopBehaviorSystem();
        LottieAnimationManager::shared().playBehavior(PetBehavior::idle);
        if (LottiePetView* view = WindowManager::shared().petView(); view && view->player())
            view->player()->installEventFilter(new FirstPaint(view));
    });
    if (argc > 1)
        QTimer::singleShot(QByteArray(argv[1]).toInt() * 1000, &app, &QCoreApplication::quit);
    return app.exec();
}
