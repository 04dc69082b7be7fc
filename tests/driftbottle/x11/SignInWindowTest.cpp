// The sign-in window on the real X server: its size in each step and that its header symbol
// comes out in blue. With TAMSEL_SHOT_DIR set, each step is also saved as a picture to look at.
#include "../SignInRig.h"

#include "support/DesktopWindowManager.h"
#include "support/DrawnText.h"
#include "support/Screenshots.h"
#include "widgets/Symbols.h"

#include <QImage>
#include <QPointer>

using namespace Qt::StringLiterals;
using Step = UserRegistrationView::RegistrationStep;

namespace {

/// Pixels of strong colour where `area` lies in a picture of `window`'s frame.
int colourfulPixels(const QImage& image, QWidget* window, const QWidget* area)
{
    return colourfulPixels(image, inFrame(window, QRect(area->mapTo(window, QPoint(0, 0)), area->size())));
}

} // namespace

TEST_F(SignInRig, WindowHasTheStepSizesAndABlueHeaderSymbol)
{
    server.state().addUser(u"old@x.io"_s, u"老猫"_s, u"🐱"_s, u"pw"_s);
    QPointer<UserRegistrationView> window = UserRegistrationView::openWindow(*account, *client);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_EQ(window->size(), QSize(450, 400));
    EXPECT_FALSE(X11Windows::motifHintsOfferMinimise(window->winId())) << "the window asks for no minimise button";

    const QImage first = grabFromScreen(window, u"signin-1-address"_s);
    const auto* headerIcon = window->findChild<SymbolView*>(u"headerIcon"_s);
    ASSERT_TRUE(headerIcon);
    EXPECT_GT(colourfulPixels(first, window, headerIcon), 50);

    typeAndReturn(window, "emailField", u"old@x.io"_s);
    ASSERT_TRUE(waitForStep(window, Step::loginWithPassword));
    typeAndReturn(window, "loginPasswordField", u"wrong"_s);
    ASSERT_TRUE(waitUntil([&] { return errorBanner(window)->isVisible(); }));
    grabFromScreen(window, u"signin-2-password-error"_s);
    EXPECT_EQ(window->size(), QSize(450, 400));

    QTest::keyClick(part(window, "loginPasswordField"), Qt::Key_Escape);
    typeAndReturn(window, "emailField", u"someone.with.a.rather.long.address@example.com"_s);
    ASSERT_TRUE(waitForStep(window, Step::registerWithInfo));
    part(window, "passwordField")->setText(u"pw"_s);
    part(window, "confirmPasswordField")->setText(u"pw "_s);
    server.scriptNext(ScriptedReply { 500, "<html><body>" + QByteArray(600, 'x') + "</body></html>", 0, false });
    part(window, "confirmPasswordField")->setText(u"pw"_s);
    QTest::keyClick(part(window, "confirmPasswordField"), Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] { return errorBanner(window)->isVisible(); }));
    // Two lines of error under the registration step, with the buttons the standard padding
    // above the edge, take a few pixels more than the stated height: the form grows by them.
    EXPECT_EQ(window->width(), 450);
    EXPECT_GE(window->height(), 580);
    EXPECT_LE(window->height(), 590);
    grabFromScreen(window, u"signin-3-register-error"_s);
    part(window, "confirmPasswordField")->setText(u"px"_s);
    grabFromScreen(window, u"signin-3-register-mismatch"_s);
    window->setPalette(darkFusionPalette());
    part(window, "nicknameField")->clear();
    const QImage dark = grabFromScreen(window, u"signin-3-register-dark"_s);
    // On the screen too, the hint and the placeholder read at 4.5:1 or better.
    for (PlainLabel* label : window->findChildren<PlainLabel*>()) {
        if (label->fullText() == u"昵称可随时修改"_s) {
            EXPECT_GE(drawnContrast(dark, inFrame(window, areaIn(label, window))), 4.5);
        }
    }
    const QRect field = areaIn(part(window, "nicknameField"), window).adjusted(4, 4, -200, -4);
    EXPECT_GE(drawnContrast(dark, inFrame(window, field)), 4.5);
    EXPECT_GT(colourfulPixels(dark, window, headerIcon), 50) << "the symbol keeps its blue in the dark";
    window->close();
}
