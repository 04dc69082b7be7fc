// Plays a whack-a-mole game on the hard level (eight cats) beside the resting pet, as the
// pet menu starts it, for a benchmark script to measure. The game lasts an hour, so no end
// alert interrupts a run; the process runs until it is killed or, with a number of seconds
// as argument, that long.
#include "app/CompositionRoot.h"
#include "core/PetBehavior.h"
#include "game/WhackAMoleGameManager.h"
#include "pet/AutoBehaviorManager.h"
#include "pet/LottieAnimationManager.h"
#include "pet/WindowManager.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    CompositionRoot root;

    QTimer::singleShot(0, [&root] {
        root.createManagers();
        const CompositionRoot::Managers& managers = root.managers();
        managers.scheduler->stopBehaviorSystem();
        managers.windows->createPetWindow();
        managers.animations->playBehavior(PetBehavior::idle);
        WhackAMoleGameManager& game = *managers.game;
        game.setDifficulty(GameDifficulty::hard);
        game.setGameDuration(3600);
        game.startGame();
        std::printf("game started with %lld cats\n", static_cast<long long>(game.gameWindows().size()));
        std::fflush(stdout);
    });
    if (argc > 1)
        QTimer::singleShot(QByteArray(argv[1]).toInt() * 1000, &app, &QCoreApplication::quit);
    return app.exec();
}
