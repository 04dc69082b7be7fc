#include "app/PetWindowBridge.h"

#include "pet/AutoBehaviorManager.h"
#include "pet/DoNotDisturbManager.h"
#include "pet/PetState.h"
#include "pet/WindowManager.h"

PetWindowBridge::PetWindowBridge(
    WindowManager& windows, PetState& petState, AutoBehaviorManager& scheduler, DoNotDisturbManager& doNotDisturb)
    : m_windows(windows)
    , m_petState(petState)
    , m_scheduler(scheduler)
    , m_doNotDisturb(doNotDisturb)
{
}

FloatingWindow* PetWindowBridge::petWindow() const
{
    return m_windows.petWindow();
}

QPointF PetWindowBridge::currentPetPosition() const
{
    return m_windows.getCurrentWindowPosition();
}

void PetWindowBridge::updatePetPosition(QPointF position)
{
    m_windows.updateWindowPosition(position);
    // Where the window really went: do-not-disturb may have bent the point onto its line.
    if (m_windows.petWindow())
        m_petState.updatePosition(m_windows.getCurrentWindowPosition());
}

bool PetWindowBridge::isBehaviorActive() const
{
    return m_scheduler.isActive();
}

bool PetWindowBridge::isBehaviorRunning() const
{
    return m_scheduler.isRunning();
}

bool PetWindowBridge::isDoNotDisturbOn() const
{
    return m_doNotDisturb.isDoNotDisturbMode();
}

void PetWindowBridge::pauseBehavior()
{
    m_scheduler.pauseScheduling();
}

void PetWindowBridge::startBehavior()
{
    m_scheduler.startBehaviorSystem();
}
