#pragma once

#include "pet/InteractionHandler.h"
#include "pet/LottieAnimationManager.h"
#include "pet/PetAppearanceManager.h"
#include "pet/PetState.h"
#include "pet/WindowManager.h"
#include "platform/Defaults.h"
#include "platform/Resources.h"
#include "platform/Screens.h"
#include "support/FakeClock.h"

#include <QTemporaryDir>

/// The pet's state and window on one fake screen, with its own defaults file and clock:
/// the common ground of the scheduler, do-not-disturb, drag, bubble and clone tests.
/// Header-only, for the test programs that link the pet and shell libraries.
struct PetRig
{
    explicit PetRig(const ScreenGeometry& screen)
        : screens { QList<ScreenGeometry> { screen } }
    {
        // The click handler's drags move the window, as the program's assembler joins them.
        QObject::connect(&interaction, &InteractionHandler::petWindowPlacementRequested, &windowManager,
            &WindowManager::placeWindowAt);
        QObject::connect(&interaction, &InteractionHandler::petWindowMoveRequested, &windowManager,
            &WindowManager::updateWindowPosition);
    }

    QTemporaryDir dir;
    Defaults defaults { dir.filePath(QStringLiteral("defaults.json")) };
    Screens screens;
    FakeClock clock;
    Resources resources { Resources::locateRoot() };
    PetState petState { defaults, screens, &clock };
    // What the pet view inside the window plays and how it answers clicks.
    PetAppearanceManager appearance { defaults };
    LottieAnimationManager animations { appearance, resources };
    InteractionHandler interaction { petState, screens, &clock };
    WindowManager windowManager { petState, screens, animations, interaction };
};
