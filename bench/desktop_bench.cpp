// The whole program as a user leaves it running, driven through the phases that
// scripts/bench.sh measures from outside: it prints "bench: phase NAME" when a phase starts,
// "bench: end NAME" when it ends, "bench: memory NAME" where the resident memory is to be
// read, and "bench: first-frame MS" once the pet's first frame was handed to the display.
//
// After the phases come the full tours: the menus, the preferences opened and closed, three
// phases' time of wandering, the clone bursts and 40 s after them, ending in "bench: memory
// tour-N"; repeating the tour shows whether memory grows with it.
//
// Usage: tamsel_bench_desktop_bench [seconds per phase] [clone bursts] [tours]
#include "BenchScript.h"
#include "app/CompositionRoot.h"
#include "app/DesktopPetApp.h"
#include "core/EventCenter.h"
#include "core/PetBehavior.h"
#include "core/Reminder.h"
#include "menus/MenuBarCoordinator.h"
#include "menus/PetContextMenu.h"
#include "pet/AutoBehaviorManager.h"
#include "pet/DoNotDisturbManager.h"
#include "pet/LottieAnimationManager.h"
#include "pet/LottiePetView.h"
#include "pet/MultiPetManager.h"
#include "pet/WindowManager.h"
#include "platform/Defaults.h"
#include "platform/LottiePlayer.h"
#include "platform/MemoryRelease.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QMenu>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <unistd.h>
#include <vector>

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

void say(const char* what, const char* name)
{
    std::printf("bench: %s %s\n", what, name);
    std::fflush(stdout);
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
                std::printf("bench: first-frame %.0f\n", msSinceProcessStart());
                std::fflush(stdout);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

/// A measured phase: "bench: phase NAME" as it begins, "bench: end NAME" `ms` later.
void phase(bench::Script& script, const char* name, int ms, std::function<void()> begin, std::function<void()> end = {})
{
    script.then(0, [name, begin] {
        say("phase", name);
        begin();
    });
    script.then(ms, [name, end] {
        if (end)
            end();
        say("end", name);
    });
}

void showMenuBriefly(QMenu* menu, QPoint at)
{
    if (!menu)
        return;
    menu->popup(at);
    QTimer::singleShot(700, menu, [menu] { menu->hide(); });
}

using Managers = CompositionRoot::Managers;

void showMenus(bench::Script& script, const Managers& managers)
{
    script.then(0, [&managers] { showMenuBriefly(managers.statusMenu->menu(), QPoint(1200, 30)); });
    script.then(
        1500, [&managers] { showMenuBriefly(managers.petMenu->createAnimationContextMenu(), QPoint(600, 400)); });
    script.then(1500, [] {});
}

// Opened from the status menu's entry and closed from its title bar, as the user does.
void openAndCloseThePreferences(bench::Script& script, const Managers& managers)
{
    script.then(0, [&managers] {
        for (QAction* action : managers.statusMenu->menu()->actions()) {
            if (action->text().contains(QStringLiteral("设置"))) {
                action->trigger();
                break;
            }
        }
    });
    script.then(2000, [] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible() && window->objectName() == QStringLiteral("preferencesWindow"))
                window->close();
        }
    });
    script.then(1000, [] {});
}

void wander(const Managers& managers)
{
    managers.scheduler->startBehaviorSystem();
    managers.scheduler->forceBehavior(AutoBehavior::walk);
}

void rest(const Managers& managers)
{
    managers.scheduler->stopBehaviorSystem();
    managers.animations->playBehavior(PetBehavior::idle);
}

void cloneBursts(const Managers& managers, int bursts, int burstMs)
{
    for (int i = 0; i < bursts; ++i)
        QTimer::singleShot(i * burstMs, [&managers] { managers.clones->performTransformation(); });
}

// A reminder firing: its bubble follows the walking pet for its 8 s.
void remind()
{
    Reminder reminder;
    reminder.id = QStringLiteral("bench");
    reminder.title = displayName(ReminderType::hydration);
    reminder.message = QStringLiteral("该喝水啦");
    reminder.type = ReminderType::hydration;
    reminder.interval = 1800;
    Q_EMIT EventCenter::shared().reminderTriggered(reminder);
}

} // namespace

int main(int argc, char** argv)
{
    MemoryRelease::configureAllocator();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tamsel"));
    QApplication::setQuitOnLastWindowClosed(false);
    const int phaseMs = (argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 60) * 1000;
    const int bursts = argc > 2 ? std::max(1, QByteArray(argv[2]).toInt()) : 5;
    const int tours = argc > 3 ? std::max(0, QByteArray(argv[3]).toInt()) : 5;
    const int afterBurstsMs = 40 * 1000;
    CompositionRoot root;
    QObject::connect(&app, &QCoreApplication::aboutToQuit, [&root] { root.defaults().flush(); });
    const CompositionRoot::Managers& managers = root.managers();
    DesktopPetApp petApp(root);
    QTimer::singleShot(0, [&managers] {
        if (LottiePetView* view = managers.windows->petView(); view && view->player())
            view->player()->installEventFilter(new FirstPaint(view));
    });

    bench::Script script;
    const int settleMs = 3000;
    script.then(settleMs, [&managers] {
        managers.doNotDisturb->setDoNotDisturbMode(true);
        // Whatever the scheduler showed last stays on; the idle loop makes runs comparable.
        managers.animations->playBehavior(PetBehavior::idle);
    });
    script.then(settleMs, [] {});
    phase(
        script, "resting-dnd", phaseMs, [] {}, [&managers] { managers.doNotDisturb->setDoNotDisturbMode(false); });
    script.then(0, [&managers] { rest(managers); });
    // The loop's first pass draws its frames; the resting pet is what comes after.
    script.then(settleMs, [] {});
    phase(script, "resting-idle", phaseMs, [] {});
    // The log's growth is read over this phase: wandering with a reminder's bubble.
    phase(
        script, "wandering", phaseMs,
        [&managers] {
            wander(managers);
            remind();
        },
        [&managers] { rest(managers); });
    showMenus(script, managers);
    script.then(settleMs, [] { say("memory", "before-bursts"); });
    // Each burst lives its dismissal time plus the fade-out and close.
    const int burstMs = MultiPetManager::timerIntervalMs(MultiPetManager::defaultCloneDismissTime)
        + MultiPetManager::fadeOutMs + MultiPetManager::closeDelayMs + 200;
    phase(script, "clones", burstMs * bursts, [&managers, burstMs, bursts] { cloneBursts(managers, bursts, burstMs); });
    script.then(5000, [] { say("memory", "after-bursts"); });
    script.then(afterBurstsMs - 5000, [] { say("memory", "after-bursts-40s"); });

    for (int tour = 1; tour <= tours; ++tour) {
        showMenus(script, managers);
        openAndCloseThePreferences(script, managers);
        script.then(0, [&managers] { wander(managers); });
        script.then(3 * phaseMs, [&managers] { rest(managers); });
        script.then(0, [&managers, burstMs, bursts] { cloneBursts(managers, bursts, burstMs); });
        script.then(burstMs * bursts + afterBurstsMs, [tour] {
            const QByteArray name = "tour-" + QByteArray::number(tour);
            say("memory", name.constData());
        });
    }
    script.then(500, [] { QCoreApplication::quit(); });
    script.run();
    return app.exec();
}
