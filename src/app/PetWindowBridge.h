#pragma once

#include "friends/PetWindowHost.h"

class AutoBehaviorManager;
class DoNotDisturbManager;
class PetState;
class WindowManager;

/// The pet as the message bubbles see it: the window manager's pet window, the pet's
/// position, the behaviour scheduler and do-not-disturb.
class PetWindowBridge final : public PetWindowHost
{
public:
    PetWindowBridge(
        WindowManager& windows, PetState& petState, AutoBehaviorManager& scheduler, DoNotDisturbManager& doNotDisturb);

    [[nodiscard]] FloatingWindow* petWindow() const override;
    [[nodiscard]] QPointF currentPetPosition() const override;
    void updatePetPosition(QPointF position) override;
    [[nodiscard]] bool isBehaviorActive() const override;
    [[nodiscard]] bool isBehaviorRunning() const override;
    [[nodiscard]] bool isDoNotDisturbOn() const override;
    void pauseBehavior() override;
    void startBehavior() override;

private:
    WindowManager& m_windows;
    PetState& m_petState;
    AutoBehaviorManager& m_scheduler;
    DoNotDisturbManager& m_doNotDisturb;
};
