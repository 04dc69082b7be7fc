// The sign-in window on the real X server: its size in each step and that its emoji come
// out in colour. With TAMSEL_SHOT_DIR set, each step is also saved as a picture to look at.
#include "../SignInRig.h"

#include "widgets/EmojiLabel.h"

#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QScreen>

using namespace Qt::StringLiterals;
using Step = UserRegistrationView::RegistrationStep;

namespace {

QImage grab(QWidget* window, const QString& name)
{
    QTest::qWait(300);
    const QRect frame = window->frameGeometry();
    QImage image = window->screen()
                       ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
                       .toImage()
                       .convertToFormat(QImage::Format_RGB32);
    const QByteArray dir = qgetenv("TAMSEL_SHOT_DIR");
    if (!dir.isEmpty())
        image.save(QDir(QString::fromLocal8Bit(dir)).filePath(name + u".png"_s));
    return image;
}

/// Pixels of strong colour inside `area` (window coordinates): an emoji drawn in the
/// colour font has many, a monochrome fallback glyph none.
int colourfulPixels(const QImage& image, QWidget* window, const QWidget* area)
{
    const QPoint offset = window->mapToGlobal(QPoint(0, 0)) - window->frameGeometry().topLeft();
    const QRect box(area->mapTo(window, QPoint(0, 0)) + offset, area->size());
    int n = 0;
    for (int y = box.top(); y <= box.bottom() && y < image.height(); ++y)
        for (int x = box.left(); x <= box.right() && x < image.width(); ++x)
            n += QColor(image.pixel(x, y)).hsvSaturation() > 120 ? 1 : 0;
    return n;
}

} // namespace

TEST_F(SignInRig, WindowHasTheStepSizesAndColourEmoji)
{
    server.state().addUser(u"old@x.io"_s, u"老猫"_s, u"🐱"_s, u"pw"_s);
    QPointer<UserRegistrationView> window = UserRegistrationView::openWindow(*account, *client);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_EQ(window->size(), QSize(450, 400));

    const QImage first = grab(window, u"signin-1-address"_s);
    const auto* headerIcon = window->findChildren<EmojiLabel*>().first();
    EXPECT_GT(colourfulPixels(first, window, headerIcon), 50);

    typeAndReturn(window, "emailField", u"old@x.io"_s);
    ASSERT_TRUE(waitForStep(window, Step::loginWithPassword));
    typeAndReturn(window, "loginPasswordField", u"wrong"_s);
    ASSERT_TRUE(waitUntil([&] { return errorBanner(window)->isVisible(); }));
    grab(window, u"signin-2-password-error"_s);
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
    EXPECT_EQ(window->size(), QSize(450, 580));
    grab(window, u"signin-3-register-error"_s);
    part(window, "confirmPasswordField")->setText(u"px"_s);
    grab(window, u"signin-3-register-mismatch"_s);
    window->close();
}
