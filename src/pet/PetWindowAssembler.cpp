#include "pet/PetWindowAssembler.h"

#include "pet/DoNotDisturbManager.h"
#include "pet/DragEventHandler.h"
#include "pet/InteractionHandler.h"
#include "pet/OpacityManager.h"
#include "pet/OpacityTrackingView.h"
#include "pet/WindowManager.h"
#include "platform/FloatingWindow.h"

PetWindowAssembler::PetWindowAssembler(WindowManager& windows, OpacityManager& opacity, DragEventHandler& dragging,
    DoNotDisturbManager& doNotDisturb, InteractionHandler& interaction, QObject* parent)
    : QObject(parent)
    , m_windows(windows)
    , m_opacity(opacity)
    , m_dragging(dragging)
{
    windows.setPlacementRule(
        [&doNotDisturb](QPointF origin) { return doNotDisturb.getValidWindowOriginForDoNotDisturb(origin); });
    connect(&interaction, &InteractionHandler::petWindowPlacementRequested, &windows, &WindowManager::placeWindowAt);
    connect(&interaction, &InteractionHandler::petWindowMoveRequested, &windows, &WindowManager::updateWindowPosition);
    connect(&windows, &WindowManager::petWindowCreated, this, &PetWindowAssembler::assemble);
}

PetWindowAssembler::~PetWindowAssembler()
{
    m_windows.setPlacementRule({});
}

void PetWindowAssembler::assemble(FloatingWindow* window)
{
    if (auto* tracking = window->findChild<OpacityTrackingView*>()) {
        connect(tracking, &OpacityTrackingView::pointerEntered, &m_opacity, &OpacityManager::mouseEntered);
        connect(tracking, &OpacityTrackingView::pointerExited, &m_opacity, &OpacityManager::mouseExited);
    }
    m_opacity.applyDefaultOpacity();
    m_dragging.startMonitoring(window);
}
