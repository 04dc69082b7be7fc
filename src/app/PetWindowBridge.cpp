#include "app/PetWindowBridge.h"

#include "pet/AutoBehaviorManager.h"
#include "pet/WindowManager.h"

PetWindowBridge::PetWindowBridge(WindowManager& windows, AutoBehaviorManager& scheduler)
    : m_windows(windows)
    , m_scheduler(scheduler)
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
}

bool PetWindowBridge::isBehaviorActive() const
{
    return m_scheduler.isActive();
}

void PetWindowBridge::pauseBehavior()
{
    m_scheduler.pauseScheduling();
}

void PetWindowBridge::startBehavior()
{
    m_scheduler.startBehaviorSystem();
}
