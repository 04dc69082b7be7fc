// How the form ends in its two hosts: its own window and a sheet over another window.
#include "SignInRig.h"

#include <QDialog>
#include <QPointer>
#include <QSignalSpy>

using namespace Qt::StringLiterals;
using Step = UserRegistrationView::RegistrationStep;

TEST_F(SignInRig, OwnWindowClosesWhenPostponedAndAfterSignIn)
{
    // "稍后再说", by button and by Escape.
    for (bool byKey : { false, true }) {
        QPointer<UserRegistrationView> window = UserRegistrationView::openWindow(*account, *client);
        EXPECT_EQ(window->windowTitle(), u"登录/注册"_s);
        EXPECT_TRUE(window->isWindow());
        EXPECT_EQ(window->size(), QSize(450, 400));
        ASSERT_TRUE(window->isVisible());
        if (byKey)
            QTest::keyClick(part(window, "emailField"), Qt::Key_Escape);
        else
            QTest::mouseClick(secondary(window), Qt::LeftButton);
        EXPECT_FALSE(window && window->isVisible());
        ASSERT_TRUE(waitUntil([&] { return window.isNull(); })) << "the closed window is freed";
    }
    EXPECT_TRUE(server.requests().isEmpty());

    // Escape in a later step goes back and never closes the window.
    server.state().addUser(u"old@x.io"_s, u"老"_s, u"🐱"_s, u"pw"_s);
    QPointer<UserRegistrationView> window = UserRegistrationView::openWindow(*account, *client);
    typeAndReturn(window, "emailField", u"old@x.io"_s);
    ASSERT_TRUE(waitForStep(window, Step::loginWithPassword));
    QTest::keyClick(part(window, "loginPasswordField"), Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->currentStep(), Step::emailInput);

    // After "登录成功！" the window stays a moment, then goes by itself.
    QTest::keyClick(part(window, "emailField"), Qt::Key_Return);
    ASSERT_TRUE(waitForStep(window, Step::loginWithPassword));
    typeAndReturn(window, "loginPasswordField", u"pw"_s);
    ASSERT_TRUE(waitUntil([&] { return successBanner(window)->isVisible(); }));
    EXPECT_TRUE(window->isVisible()) << "the success banner is seen before the window goes";
    ASSERT_TRUE(waitUntil([&] { return window.isNull(); }, 5000));
    EXPECT_TRUE(account->isLoggedIn());
}

TEST_F(SignInRig, SheetIsAcceptedWhenDismissedAndKeepsItsWindow)
{
    QWidget preferences;
    preferences.resize(700, 600);
    preferences.show();

    QPointer<QDialog> sheet = UserRegistrationView::openSheet(&preferences, *account, *client);
    auto* form = sheet->findChild<UserRegistrationView*>();
    ASSERT_TRUE(form);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
    QSignalSpy finished(sheet.data(), &QDialog::finished);

    // Escape goes to the form first: in a later step it is "返回", not the dialog's reject.
    typeAndReturn(form, "emailField", u"new@x.io"_s);
    ASSERT_TRUE(waitForStep(form, Step::registerWithInfo));
    EXPECT_TRUE(waitUntil([&] { return sheet->size() == QSize(450, 580); })) << "the sheet follows the form's size";
    QTest::keyClick(part(form, "nicknameField"), Qt::Key_Escape);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_TRUE(waitUntil([&] { return sheet->size() == QSize(450, 400); }));
    EXPECT_TRUE(finished.isEmpty());

    QTest::mouseClick(secondary(form), Qt::LeftButton);
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.first().first().toInt(), QDialog::Accepted);
    ASSERT_TRUE(waitUntil([&] { return sheet.isNull(); }));
    EXPECT_TRUE(preferences.isVisible());
}
