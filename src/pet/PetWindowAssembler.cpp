#include "pet/PetWindowAssembler.h"

#include "pet/AutoBehaviorManager.h"
#include "pet/DoNotDisturbManager.h"
#include "pet/DragEventHandler.h"
#include "pet/InteractionHandler.h"
#include "pet/LottiePetView.h"
#include "pet/OpacityManager.h"
#include "pet/OpacityTrackingView.h"
#include "pet/WindowManager.h"
#include "platform/FloatingWindow.h"

PetWindowAssembler::PetWindowAssembler(WindowManager& windows, AutoBehaviorManager& scheduler, OpacityManager& opacity,
    DragEventHandler& dragging, DoNotDisturbManager& doNotDisturb, InteractionHandler& interaction, QObject* parent)
    : QObject(parent)
    , m_windows(windows)
    , m_scheduler(scheduler)
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
    // The scheduler only announces its behaviour; the view turns each change into an animation.
    if (LottiePetView* view = m_windows.petView()) {
        view->setLastAutoBehavior(m_scheduler.currentBehavior());
        connect(
            &m_scheduler, &AutoBehaviorManager::currentBehaviorChanged, view, &LottiePetView::onAutoBehaviorChanged);
    }
    m_opacity.applyDefaultOpacity();
    m_dragging.startMonitoring(window);
}
