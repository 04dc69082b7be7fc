// What the moving pet costs: the pet window as at start-up with the behaviour scheduler
// running (the pet walks its random paths step by step and stores its position on every
// step), then ten clones for their whole life. Prints this process's share of one core for
// each phase and the most defaults-file writes seen within any one second.
//
// Usage: tamsel_bench_behaviour_bench [walk seconds] [clone effects]
// Run it on a display with a compositor (scripts/bench-behaviour.sh does).
#include "app/CompositionRoot.h"
#include "core/PetBehavior.h"
#include "pet/AutoBehaviorManager.h"
#include "pet/LottieAnimationManager.h"
#include "pet/MultiPetManager.h"
#include "pet/PetState.h"
#include "platform/Defaults.h"
#include "pet/WindowManager.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

namespace {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

/// Measures CPU share between start() and stop(), and the defaults writes per second.
class Phase
{
public:
    void start()
    {
        m_cpu = cpuSeconds();
        m_wall.start();
        m_writes = Defaults::shared().writeCount();
    }
    void sampleWrites()
    {
        const int now = Defaults::shared().writeCount();
        m_maxWritesPerSecond = std::max(m_maxWritesPerSecond, now - m_writes);
        m_writes = now;
    }
    void report(const char* name) const
    {
        const double wall = double(m_wall.elapsed()) / 1000.0;
        std::printf("%-8s %6.1f s  cpu %5.2f %% of one core  defaults writes per second at most %d\n", name, wall,
            100.0 * (cpuSeconds() - m_cpu) / wall, m_maxWritesPerSecond);
        std::fflush(stdout);
    }

private:
    double m_cpu = 0;
    QElapsedTimer m_wall;
    int m_writes = 0;
    int m_maxWritesPerSecond = 0;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    CompositionRoot root;
    const int walkSeconds = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 60;
    const int effects = argc > 2 ? std::max(1, QByteArray(argv[2]).toInt()) : 5;

    Phase walking;
    Phase clones;
    int effectsDone = 0;
    QTimer perSecond;
    perSecond.setInterval(1000);

    QTimer::singleShot(0, [&] {
        root.createManagers();
        WindowManager::shared().createPetWindow();
        LottieAnimationManager::shared().playBehavior(PetBehavior::idle);
        AutoBehaviorManager::shared().startBehaviorSystem();
        // Leave start-up behind before measuring.
        QTimer::singleShot(2000, [&] {
            walking.start();
            QObject::connect(&perSecond, &QTimer::timeout, [&] { walking.sampleWrites(); });
            perSecond.start();
        });
        QTimer::singleShot(2000 + walkSeconds * 1000, [&] {
            walking.sampleWrites();
            walking.report("walking");
            perSecond.disconnect();
            MultiPetManager& multi = MultiPetManager::shared();
            // Each effect lives its dismissal time plus the fade-out and close (about 1 s).
            const int lifetimeMs = MultiPetManager::timerIntervalMs(multi.cloneDismissTime()) + 1100;
            clones.start();
            QObject::connect(&perSecond, &QTimer::timeout, [&] { clones.sampleWrites(); });
            auto* next = new QTimer(&app);
            QObject::connect(next, &QTimer::timeout, [&, next] {
                if (effectsDone == effects) {
                    next->stop();
                    clones.sampleWrites();
                    clones.report("clones");
                    QCoreApplication::quit();
                    return;
                }
                ++effectsDone;
                multi.performTransformation();
            });
            next->start(lifetimeMs);
            multi.performTransformation();
            ++effectsDone;
        });
    });
    return app.exec();
}
