// Our alerts and sheets against the pet, on a real X server with a window manager that keeps
// stays-on-top windows over the others.
#include "StackingWindowManager.h"

#include "pet/PetWindowHost.h"
#include "platform/Alerts.h"
#include "platform/FloatingWindow.h"
#include "platform/ModalWindowsOnTop.h"
#include "platform/Screens.h"
#include "support/Wait.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <optional>

using namespace Qt::StringLiterals;

TEST(DialogsAbovePetX11, AlertsAndSheetsStandAboveThePetOrdinaryWindowsMayNot)
{
    StackingWindowManager windowManager;
    ASSERT_TRUE(windowManager.start()) << "another window manager runs on this display";
    ModalWindowsOnTop modalsOnTop;
    const auto shown = [&](QWidget& w) {
        return waitUntil([&] {
            windowManager.pump();
            return w.windowHandle() && w.windowHandle()->isExposed();
        });
    };
    const auto overThePet = [&](const QWidget& pet, const QWidget& w) {
        const std::vector<xcb_window_t> stack = windowManager.stack();
        // The native window as it is now: lifting a modal window may have replaced it.
        const auto at = [&](const QWidget& x) {
            return std::find(stack.begin(), stack.end(), xcb_window_t(x.windowHandle()->winId()));
        };
        return at(pet) != stack.end() && at(w) != stack.end() && at(w) > at(pet);
    };

    // Where the pet parks itself: the screen's centre, where dialogs open.
    Screens screens;
    FloatingWindow pet(FloatingWindow::Focus::Refuse, screens);
    pet.setGeometry(656, 386, 128, 128);
    pet.show();
    ASSERT_TRUE(shown(pet));

    // An alert runs its own event loop: it is looked at from inside it.
    std::optional<bool> alertOverThePet;
    QTimer look;
    look.setInterval(10);
    QObject::connect(&look, &QTimer::timeout, [&] {
        windowManager.pump();
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (box && box->windowHandle() && box->windowHandle()->isExposed()) {
            alertOverThePet = overThePet(pet, *box);
            box->done(0);
        }
    });
    look.start();
    QTimer::singleShot(10000, [] {
        if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            box->done(0);
    });
    Alerts::show(Alerts::Style::Warning, u"游戏结束"_s, u"得分：3"_s, { u"再来一局"_s, u"关闭"_s });
    look.stop();
    EXPECT_EQ(alertOverThePet, true);

    QWidget window;
    window.setGeometry(520, 300, 400, 300);
    window.show();
    ASSERT_TRUE(shown(window));
    QDialog sheet(&window);
    sheet.setWindowModality(Qt::WindowModal);
    sheet.open();
    ASSERT_TRUE(shown(sheet));
    EXPECT_TRUE(overThePet(pet, sheet));
    // The game and the clones bring the pet to the front as they end, maybe while an alert
    // or a sheet is open: that stays over the pet.
    PetWindowHost::bringPetToFront(pet);
    waitUntil(
        [&] {
            windowManager.pump();
            return false;
        },
        300);
    EXPECT_TRUE(overThePet(pet, sheet)) << "the pet brought to the front covers the sheet";
    EXPECT_FALSE(overThePet(pet, window)) << "an ordinary window stays in its own level";
}
