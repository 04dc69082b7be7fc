// The hover on the pet across a menu opened from it, with real clicks on a real X server: a
// menu takes the pointer away from the pet window without its widgets hearing of it, and
// nothing follows when the menu closes with the pointer elsewhere.
#include "StackingWindowManager.h"

#include "pet/AutoBehaviorManager.h"
#include "pet/DoNotDisturbManager.h"
#include "pet/DragEventHandler.h"
#include "pet/LottiePetView.h"
#include "pet/MultiPetManager.h"
#include "pet/OpacityManager.h"
#include "pet/PetWindowAssembler.h"
#include "platform/FloatingWindow.h"
#include "support/FakeRandom.h"
#include "support/PetRig.h"
#include "support/RealClicks.h"
#include "support/Wait.h"

#include <QCursor>
#include <QMenu>
#include <QPointer>
#include <QProcess>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>

namespace {

bool pointerAction(const QPoint& at, const QStringList& then)
{
    return QProcess::execute(QStringLiteral("xdotool"),
               QStringList { QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()) } + then)
        == 0;
}

} // namespace

TEST(PetMenuHoverX11, ChoosingAMenuItemAndMovingAwayEndsTheHover)
{
    if (!canClick())
        GTEST_SKIP() << "xdotool is not installed";
    StackingWindowManager windowManager;
    ASSERT_TRUE(windowManager.start()) << "another window manager runs on this display";
    const auto waitFor = [&](const std::function<bool()>& condition) {
        return waitUntil([&] {
            windowManager.pump();
            return condition();
        });
    };

    PetRig rig({ QRect(0, 0, 1440, 900), QRect(0, 25, 1440, 875) });
    rig.petState.updatePosition(QPointF(300, 300));
    AutoBehaviorManager scheduler(rig.petState, rig.windowManager, rig.screens);
    scheduler.stopBehaviorSystem();
    DoNotDisturbManager doNotDisturb(rig.defaults, rig.screens, rig.windowManager, rig.petState, scheduler);
    DragEventHandler dragging(rig.screens, rig.petState, doNotDisturb);
    OpacityManager opacity(rig.defaults, rig.windowManager);
    PetWindowAssembler assembler(rig.windowManager, opacity, dragging, doNotDisturb, rig.interaction);
    FakeRandom random;
    MultiPetManager clones(rig.defaults, rig.screens, rig.windowManager, rig.animations, &random);
    clones.setCloneDismissTime(60.0);

    rig.windowManager.createPetWindow();
    opacity.setDefaultOpacity(0.7);
    FloatingWindow* pet = rig.windowManager.petWindow();
    ASSERT_TRUE(waitFor([&] { return pet->windowHandle() && pet->windowHandle()->isExposed(); }));

    // The pet's menu, as the program opens it on a right click; its one item shows the clones.
    QPointer<QMenu> menu;
    QObject::connect(rig.windowManager.petView(), &LottiePetView::contextMenuRequested, pet, [&](QPoint at) {
        menu = new QMenu;
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->addAction(QStringLiteral("✨ 撒豆成兵"), &clones, &MultiPetManager::performTransformation);
        menu->popup(at);
    });

    const QPoint middle = pet->mapToGlobal(pet->rect().center());
    ASSERT_TRUE(pointerAction(middle, {}));
    ASSERT_TRUE(waitFor([&] { return opacity.isMouseInside() && pet->windowOpacity() > 0.99; }));
    ASSERT_TRUE(pointerAction(middle, { QStringLiteral("click"), QStringLiteral("3") }));
    ASSERT_TRUE(waitFor([&] { return menu && menu->isVisible(); }));
    const QPoint item = menu->mapToGlobal(menu->actionGeometry(menu->actions().first()).center());
    ASSERT_TRUE(pointerAction(item, { QStringLiteral("click"), QStringLiteral("1") }));
    ASSERT_TRUE(waitFor([&] { return !menu && clones.clonedWindows().size() == MultiPetManager::cloneCount; }));

    ASSERT_TRUE(pointerAction(QPoint(1000, 100), {}));
    EXPECT_TRUE(waitFor([&] { return !opacity.isMouseInside(); })) << "the pointer left the pet unannounced";
    EXPECT_TRUE(waitFor([&] { return qAbs(pet->windowOpacity() - 0.7) < 0.01; }));
    // The slider's next value applies at once.
    opacity.setDefaultOpacity(0.4);
    EXPECT_TRUE(waitFor([&] { return qAbs(pet->windowOpacity() - 0.4) < 0.01; }));
}
