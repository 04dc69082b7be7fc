#pragma once

#include "core/PetBehavior.h"
#include "pet/AutoBehavior.h"

#include <QObject>

class AutoBehaviorManager;
class DoNotDisturbManager;
class LottieAnimationManager;

/// The pet's eight actions: each wakes the pet from do-not-disturb, plays the matching
/// animation, makes the scheduler run the behaviour now and logs what the user asked for.
class MenuBarInteractionActions final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MenuBarInteractionActions)

public:
    struct Action
    {
        PetBehavior animation;
        AutoBehavior behavior;
        const char16_t* logLine;
    };
    static const Action walk, enter, blink, think, play, greet, hideAndSeek, scratch;

    MenuBarInteractionActions(LottieAnimationManager& lottieManager, AutoBehaviorManager& autoBehaviorManager,
        DoNotDisturbManager& doNotDisturbManager, QObject* parent = nullptr);

    void triggerWalk() { run(walk); }
    void triggerEnter() { run(enter); }
    void triggerBlink() { run(blink); }
    void triggerThink() { run(think); }
    void triggerPlay() { run(play); }
    void triggerGreet() { run(greet); }
    void triggerHideAndSeek() { run(hideAndSeek); }
    void triggerScratch() { run(scratch); }

private:
    void run(const Action& action);

    LottieAnimationManager& m_lottieManager;
    AutoBehaviorManager& m_autoBehaviorManager;
    DoNotDisturbManager& m_doNotDisturbManager;
};
