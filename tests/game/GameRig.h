#pragma once

#include "game/WhackAMoleGameManager.h"
#include "pet/AutoBehaviorManager.h"
#include "pet/LottieAnimationManager.h"
#include "pet/OpacityManager.h"
#include "platform/Resources.h"
#include "support/FakeRandom.h"
#include "support/FakeTimers.h"
#include "support/PetRig.h"

#include <memory>

/// A game on one fake 1440 × 900 screen whose visible area is (0, 25, 1440, 875) in the
/// bottom-left model (a 25 pt dock at the bottom), with its timers on a fake time line.
struct GameRig : PetRig
{
    GameRig()
        : PetRig({ QRect(0, 0, 1440, 900), QRect(0, 0, 1440, 875) })
    {
    }

    FakeRandom random;
    FakeRandom behaviorRandom;
    FakeTimers timers;
    OpacityManager opacity { defaults, windowManager };
    AutoBehaviorManager behavior { petState, windowManager, screens, &clock, &behaviorRandom };

    [[nodiscard]] std::unique_ptr<WhackAMoleGameManager> makeGame(RandomSource* source = nullptr)
    {
        return std::make_unique<WhackAMoleGameManager>(defaults, screens, resources, animations, opacity, behavior,
            windowManager, timers, source ? *source : random);
    }
};
