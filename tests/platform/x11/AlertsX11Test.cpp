// An alert under a real window manager: it blocks every other window of the program, so
// minimised (the window manager offers it whatever the box asks), it comes straight back.
#include "platform/Alerts.h"

#include "support/DesktopWindowManager.h"
#include "support/Wait.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

/// Notes whether the window manager's minimising reached the box, however briefly.
class MinimisedSeen final : public QObject
{
public:
    bool seen = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::WindowStateChange && static_cast<QWidget*>(watched)->isMinimized())
            seen = true;
        return false;
    }
};

} // namespace

TEST(AlertsX11, AMinimisedAlertComesBackAndStillTakesItsAnswer)
{
    DesktopWindowManager desktop;
    if (!desktop.start())
        GTEST_SKIP() << "no window manager on the display, and openbox is not installed";

    enum class Step { waitForBox, waitForBack, done } step = Step::waitForBox;
    MinimisedSeen minimised;
    bool offeredMinimise = true;
    bool cameBack = false;
    QPointer<QMessageBox> box;
    QTimer poll;
    QElapsedTimer waited;
    waited.start();
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (waited.elapsed() > 5000 && box) {
            box->reject(); // gives up rather than hang; the expectations below fail
            return;
        }
        switch (step) {
        case Step::waitForBox:
            box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box && box->windowHandle() && box->windowHandle()->isExposed()) {
                offeredMinimise = X11Windows::motifHintsOfferMinimise(box->winId());
                box->installEventFilter(&minimised);
                X11Windows::minimise(box->winId());
                step = Step::waitForBack;
            }
            break;
        case Step::waitForBack:
            if (minimised.seen && !X11Windows::isIconic(box->winId()) && !box->isMinimized()
                && box->windowHandle()->isExposed()) {
                cameBack = true;
                step = Step::done;
                box->buttons().constFirst()->click();
            }
            break;
        case Step::done:
            break;
        }
    });
    poll.start(20);

    const int answer = Alerts::show(
        Alerts::Style::Informational, u"游戏结束！"_s, u"你的得分：0 分"_s, { u"再来一局"_s, u"关闭"_s });
    EXPECT_FALSE(offeredMinimise) << "the box asks for no minimise button";
    EXPECT_TRUE(cameBack) << "the box stayed minimised";
    EXPECT_GE(answer, 0);
}
