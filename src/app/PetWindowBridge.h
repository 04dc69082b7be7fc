#pragma once

#include "friends/PetWindowHost.h"

class AutoBehaviorManager;
class WindowManager;

/// The pet as the message bubbles see it: the window manager's pet window and position,
/// and the behaviour scheduler.
class PetWindowBridge final : public PetWindowHost
{
public:
    PetWindowBridge(WindowManager& windows, AutoBehaviorManager& scheduler);

    [[nodiscard]] FloatingWindow* petWindow() const override;
    [[nodiscard]] QPointF currentPetPosition() const override;
    void updatePetPosition(QPointF position) override;
    [[nodiscard]] bool isBehaviorActive() const override;
    void pauseBehavior() override;
    void startBehavior() override;

private:
    WindowManager& m_windows;
    AutoBehaviorManager& m_scheduler;
};
