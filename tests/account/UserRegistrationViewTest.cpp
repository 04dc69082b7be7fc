// The sign-in and registration form against the fake companion server: what each step
// sends, shows and stores, and how it behaves when the server fails or is slow.
#include "driftbottle/SignInRig.h"

#include "support/DrawnText.h"
#include "support/LayoutGaps.h"
#include "support/Screenshots.h"
#include "widgets/BusySpinner.h"
#include "widgets/Spacing.h"
#include "widgets/Symbols.h"

#include <QApplication>
#include <QJsonDocument>
#include <QScreen>

using namespace Qt::StringLiterals;
using Step = UserRegistrationView::RegistrationStep;

namespace {

const QString driftBottle = u"DriftBottle"_s;

/// What the label shows, without the invisible break points a banner adds to long words.
QString shown(const QLabel* label)
{
    return QString(label->text()).remove(QChar(0x200B));
}

} // namespace

TEST_F(SignInRig, AddressPatternDecidesTheNextButton)
{
    struct Case
    {
        QString email;
        bool accepted;
    };
    const QList<Case> cases {
        { u"ab@cd.io"_s, true },
        { u"A.b_c+d-e%f@Mail-x.Example.co"_s, true },
        { u"a@b.c"_s, false }, // one letter after the last dot
        { u"a@b.c0m"_s, false }, // a digit there
        { u"ab.cd.io"_s, false }, // no @
        { u" ab@cd.io"_s, false }, // nothing is trimmed
        { u"ab@cd.io "_s, false },
        { u"ab@cd.io\n"_s, false }, // the whole text must match, a trailing line feed too
        { u"a&b@cd.io"_s, false },
        { u"阿猫@cd.io"_s, false },
        { u"a@b."_s + QString(64, u'x'), true },
        { u"a@b."_s + QString(65, u'x'), false },
        { QString(), false },
    };
    auto form = makeForm();
    for (const Case& c : cases) {
        part(form.get(), "emailField")->setText(c.email);
        EXPECT_EQ(UserRegistrationView::isValidEmail(c.email), c.accepted) << c.email.toStdString();
        EXPECT_EQ(primary(form.get())->isEnabled(), c.accepted) << c.email.toStdString();
        if (!c.accepted)
            QTest::keyClick(part(form.get(), "emailField"), Qt::Key_Return);
    }
    EXPECT_TRUE(server.requests().isEmpty()) << "Return never sends while the button is disabled";
}

TEST_F(SignInRig, KnownAddressSignsInAndIsStored)
{
    server.state().addUser(u"a+b%c@x.io"_s, u"阿猫"_s, u"🐶"_s, u"p"_s);
    auto form = makeForm();
    LogCapture logs;
    typeAndReturn(form.get(), "emailField", u"a+b%c@x.io"_s);
    EXPECT_TRUE(form->isLoading());
    ASSERT_TRUE(waitForStep(form.get(), Step::loginWithPassword));
    EXPECT_EQ(server.lastRequest().target, "/api/users/check-email?email=a%2Bb%25c@x.io");
    EXPECT_EQ(account->userMode(), UserMode::online);
    EXPECT_EQ(part<PlainLabel>(form.get(), "foundAccount")->fullText(), u"找到账号：a+b%c@x.io"_s);
    EXPECT_EQ(part<PlainLabel>(form.get(), "title")->text(), u"欢迎回来"_s);
    EXPECT_EQ(secondary(form.get())->text(), u"返回"_s);
    EXPECT_EQ(form->height(), UserRegistrationView::compactHeight);
    EXPECT_FALSE(primary(form.get())->isEnabled()) << "an empty password is not sent";

    typeAndReturn(form.get(), "loginPasswordField", u"p"_s);
    ASSERT_TRUE(waitUntil([&] { return successBanner(form.get())->isVisible(); }));
    EXPECT_EQ(server.lastRequest().jsonBody(),
        (QJsonObject { { u"email"_s, u"a+b%c@x.io"_s }, { u"nickname"_s, u""_s }, { u"avatarEmoji"_s, u"🐱"_s },
            { u"password"_s, u"p"_s } }));
    EXPECT_EQ(successBanner(form.get())->message(), u"登录成功！"_s);
    EXPECT_FALSE(errorBanner(form.get())->isVisible());
    ASSERT_TRUE(account->currentUser());
    EXPECT_EQ(account->currentUser()->nickname, u"阿猫"_s) << "the server's record, not what the form sent";
    EXPECT_TRUE(account->isOnlineMode());
    EXPECT_TRUE(defaults->boolean(UserManager::isLoggedInKey));
    EXPECT_TRUE(defaults->value(UserManager::currentUserKey).isString());

    EXPECT_EQ(logs.lines(driftBottle),
        (QStringList { u"🔍 开始检查邮箱: a+b%c@x.io"_s, u"✅ 老用户，需要输入密码"_s, u"🔑 开始登录已存在用户"_s,
            u"✅ 登录成功"_s }));
}

TEST_F(SignInRig, NewAddressRegistersWithNicknameAndMatchingPasswords)
{
    auto form = makeForm();
    typeAndReturn(form.get(), "emailField", u"new@x.io"_s);
    ASSERT_TRUE(waitForStep(form.get(), Step::registerWithInfo));
    EXPECT_EQ(part(form.get(), "nicknameField")->text(), u"Tamsel主人"_s);
    EXPECT_EQ(form->height(), UserRegistrationView::registerHeight);
    EXPECT_EQ(part<PlainLabel>(form.get(), "newAccount")->fullText(), u"创建新账号：new@x.io"_s);

    // The indicator and the button follow the two passwords exactly as typed.
    struct Case
    {
        QString nickname, password, confirm;
        QString indicator; // empty: hidden
        bool enabled;
    };
    const QList<Case> cases {
        { u"猫"_s, u"p"_s, QString(), QString(), false },
        { u"猫"_s, u"p"_s, u"p "_s, u"两次密码不一致"_s, false },
        { QString(), u"p"_s, u"p"_s, u"密码匹配"_s, false },
        { u" "_s, u" "_s, u" "_s, u"密码匹配"_s, true },
        { u"猫"_s, u"p"_s, u"p"_s, u"密码匹配"_s, true },
    };
    auto* indicator = part<PlainLabel>(form.get(), "passwordMatch");
    for (const Case& c : cases) {
        part(form.get(), "nicknameField")->setText(c.nickname);
        part(form.get(), "passwordField")->setText(c.password);
        part(form.get(), "confirmPasswordField")->setText(c.confirm);
        EXPECT_EQ(indicator->isVisible(), !c.indicator.isEmpty()) << c.confirm.toStdString();
        if (!c.indicator.isEmpty()) {
            EXPECT_EQ(indicator->text(), c.indicator);
        }
        EXPECT_EQ(primary(form.get())->isEnabled(), c.enabled) << c.confirm.toStdString();
    }

    // A 10,000-character nickname goes to the server whole.
    const QString nickname = QString(10000, u'喵');
    part(form.get(), "nicknameField")->setText(nickname);
    LogCapture logs;
    QTest::keyClick(part(form.get(), "confirmPasswordField"), Qt::Key_Enter, Qt::KeypadModifier);
    ASSERT_TRUE(waitUntil([&] { return successBanner(form.get())->isVisible(); }));
    EXPECT_EQ(server.lastRequest().jsonBody(),
        (QJsonObject { { u"email"_s, u"new@x.io"_s }, { u"nickname"_s, nickname }, { u"avatarEmoji"_s, u"🐱"_s },
            { u"password"_s, u"p"_s } }));
    EXPECT_EQ(successBanner(form.get())->message(), u"登录成功！"_s);
    ASSERT_TRUE(account->currentUser());
    EXPECT_EQ(account->currentUser()->nickname, nickname);
    // The log line carries what one line may.
    EXPECT_EQ(logs.lines(driftBottle),
        (QStringList { LogManager::abbreviated(u"📝 开始注册新用户: new@x.io, "_s + nickname), u"✅ 注册成功"_s }));
}

TEST_F(SignInRig, BackClearsPasswordsAndBannerAndTheNicknameIsProposedAgain)
{
    server.scriptNext(ScriptedReply { 500, "{\"error\":\"db\"}", 0, false });
    auto form = makeForm();
    typeAndReturn(form.get(), "emailField", u"new@x.io"_s);
    ASSERT_TRUE(waitUntil([&] { return errorBanner(form.get())->isVisible(); }));
    typeAndReturn(form.get(), "emailField", u"new@x.io"_s);
    ASSERT_TRUE(waitForStep(form.get(), Step::registerWithInfo));
    EXPECT_FALSE(errorBanner(form.get())->isVisible()) << "a new check clears the old error";

    part(form.get(), "nicknameField")->setText(u"自己起的"_s);
    part(form.get(), "passwordField")->setText(u"pw"_s);
    part(form.get(), "confirmPasswordField")->setText(u"pw"_s);
    server.scriptNext(ScriptedReply { 500, "{\"error\":\"db\"}", 0, false });
    QTest::keyClick(part(form.get(), "passwordField"), Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] { return errorBanner(form.get())->isVisible(); }));
    EXPECT_EQ(part(form.get(), "passwordField")->text(), u"pw"_s) << "nothing typed is lost on a failure";

    QTest::keyClick(part(form.get(), "nicknameField"), Qt::Key_Escape);
    EXPECT_EQ(form->currentStep(), Step::emailInput);
    EXPECT_FALSE(errorBanner(form.get())->isVisible());
    EXPECT_EQ(form->height(), UserRegistrationView::compactHeight);
    EXPECT_EQ(part(form.get(), "emailField")->text(), u"new@x.io"_s);
    EXPECT_EQ(part(form.get(), "nicknameField")->text(), u"自己起的"_s);
    EXPECT_TRUE(part(form.get(), "passwordField")->text().isEmpty());
    EXPECT_TRUE(part(form.get(), "confirmPasswordField")->text().isEmpty());

    QTest::keyClick(part(form.get(), "emailField"), Qt::Key_Return);
    ASSERT_TRUE(waitForStep(form.get(), Step::registerWithInfo));
    EXPECT_EQ(part(form.get(), "nicknameField")->text(), u"Tamsel主人"_s);
}

TEST_F(SignInRig, FailuresShowAPlainBannerAndKeepTheFormUsable)
{
    const QByteArray page
        = "<html><body><h1>500 Internal Server Error</h1><a href=\"http://x\">nginx</a></body></html>";
    server.state().addUser(u"old@x.io"_s, u"老"_s, u"🐱"_s, u"right"_s);

    // The check: the error's own text, the step stays, online mode stays.
    auto form = makeForm();
    server.scriptNext(ScriptedReply { 500, page, 0, false });
    LogCapture logs;
    typeAndReturn(form.get(), "emailField", u"old@x.io"_s);
    ASSERT_TRUE(waitUntil([&] { return errorBanner(form.get())->isVisible(); }));
    const auto* bannerText = errorBanner(form.get())->findChild<PlainLabel*>();
    EXPECT_EQ(bannerText->textFormat(), Qt::PlainText);
    EXPECT_TRUE(shown(bannerText).startsWith(u"服务器错误: <html><body><h1>"_s)) << "shown literally, not as markup";
    EXPECT_EQ(form->currentStep(), Step::emailInput);
    EXPECT_EQ(account->userMode(), UserMode::online);
    EXPECT_TRUE(primary(form.get())->isEnabled());
    EXPECT_TRUE(logs.has(u"❌ 邮箱检查失败: serverError(\""_s + QString::fromUtf8(page) + u"\")"_s, driftBottle));

    // The sign-in: always the fixed text, whatever went wrong.
    typeAndReturn(form.get(), "emailField", u"old@x.io"_s);
    ASSERT_TRUE(waitForStep(form.get(), Step::loginWithPassword));
    for (const ScriptedReply& failure : { ScriptedReply {}, ScriptedReply { std::nullopt, {}, 0, true } }) {
        if (failure.dropConnection)
            server.scriptNext(failure);
        typeAndReturn(form.get(), "loginPasswordField", u"wrong-pw"_s);
        ASSERT_TRUE(waitUntil([&] { return errorBanner(form.get())->isVisible() && !form->isLoading(); }));
        EXPECT_EQ(errorBanner(form.get())->message(), u"密码错误或登录失败"_s);
        EXPECT_EQ(form->errorMessage(), u"密码错误或登录失败"_s);
        EXPECT_EQ(form->currentStep(), Step::loginWithPassword);
        EXPECT_FALSE(account->isLoggedIn());
    }
    EXPECT_TRUE(logs.has(u"❌ 登录失败: unauthorized"_s, driftBottle));

    // The registration: the server's text, markup and all, as plain text.
    QTest::keyClick(part(form.get(), "loginPasswordField"), Qt::Key_Escape);
    typeAndReturn(form.get(), "emailField", u"fresh@x.io"_s);
    ASSERT_TRUE(waitForStep(form.get(), Step::registerWithInfo));
    part(form.get(), "passwordField")->setText(u"pw"_s);
    part(form.get(), "confirmPasswordField")->setText(u"pw"_s);
    server.scriptNext(
        ScriptedReply { 200, R"({"success":false,"message":"<b>x</b><a href=\"http://y\">y</a>"})", 0, false });
    QTest::keyClick(part(form.get(), "confirmPasswordField"), Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] { return errorBanner(form.get())->isVisible(); }));
    EXPECT_EQ(shown(bannerText), u"服务器错误: <b>x</b><a href=\"http://y\">y</a>"_s);
    EXPECT_EQ(form->currentStep(), Step::registerWithInfo);

    EXPECT_FALSE(logs.anyContains(u"wrong-pw"_s)) << "no password reaches the log";
}

TEST_F(SignInRig, WhileARequestRunsOnlyTheBackButtonWorks)
{
    server.state().addUser(u"old@x.io"_s, u"老"_s, u"🐱"_s, u"pw"_s);
    auto form = makeForm();
    server.scriptNext(ScriptedReply { std::nullopt, {}, 400, false });
    typeAndReturn(form.get(), "emailField", u"old@x.io"_s);
    ASSERT_TRUE(form->isLoading());
    EXPECT_FALSE(primary(form.get())->isEnabled());
    EXPECT_TRUE(primary(form.get())->text().isEmpty());
    EXPECT_TRUE(part<BusySpinner>(form.get(), "busySpinner")->isVisible());
    EXPECT_TRUE(secondary(form.get())->isEnabled());
    QTest::keyClick(part(form.get(), "emailField"), Qt::Key_Return);
    // Typing on during the check cannot change the address that was checked.
    QTest::keyClicks(part(form.get(), "emailField"), u"zz"_s);
    ASSERT_TRUE(waitForStep(form.get(), Step::loginWithPassword));
    EXPECT_EQ(requestsTo(u"/users/check-email"_s), 1) << "a double Return sends one request";
    EXPECT_EQ(part<PlainLabel>(form.get(), "foundAccount")->fullText(), u"找到账号：old@x.io"_s);
    EXPECT_EQ(primary(form.get())->text(), u"登录"_s);
    EXPECT_FALSE(part<BusySpinner>(form.get(), "busySpinner")->isVisible());

    // Back during a sign-in: the late answer still signs in and shows its banner.
    server.scriptNext(ScriptedReply { std::nullopt, {}, 400, false });
    typeAndReturn(form.get(), "loginPasswordField", u"pw"_s);
    ASSERT_TRUE(form->isLoading());
    QTest::keyClick(part(form.get(), "loginPasswordField"), Qt::Key_Escape);
    EXPECT_EQ(form->currentStep(), Step::emailInput);
    ASSERT_TRUE(waitUntil([&] { return successBanner(form.get())->isVisible(); }));
    EXPECT_TRUE(account->isLoggedIn());
    EXPECT_EQ(account->currentUser()->email, u"old@x.io"_s);
    EXPECT_EQ(requestsTo(u"/users/auth"_s), 1);
    QTest::keyClicks(part(form.get(), "emailField"), u"zz"_s);
    EXPECT_EQ(part<PlainLineEdit>(form.get(), "emailField")->text(), u"old@x.iozz"_s) << "editable again";
}

TEST_F(SignInRig, AServerThatNeverAnswersEndsInABanner)
{
    useClientTimeout(300);
    server.scriptNext(ScriptedReply { std::nullopt, {}, 3000, false });
    auto form = makeForm();
    typeAndReturn(form.get(), "emailField", u"slow@x.io"_s);
    ASSERT_TRUE(waitUntil([&] { return errorBanner(form.get())->isVisible(); }));
    EXPECT_TRUE(errorBanner(form.get())->message().startsWith(u"网络错误: "_s))
        << errorBanner(form.get())->message().toStdString();
    EXPECT_FALSE(form->isLoading());
    EXPECT_TRUE(primary(form.get())->isEnabled());
}

TEST_F(SignInRig, AFormClosedDuringASignInLeavesTheUserSignedIn)
{
    server.state().addUser(u"old@x.io"_s, u"老"_s, u"🐱"_s, u"pw"_s);
    auto form = makeForm();
    typeAndReturn(form.get(), "emailField", u"old@x.io"_s);
    ASSERT_TRUE(waitForStep(form.get(), Step::loginWithPassword));
    server.scriptNext(ScriptedReply { std::nullopt, {}, 200, false });
    typeAndReturn(form.get(), "loginPasswordField", u"pw"_s);
    form.reset();
    ASSERT_TRUE(waitUntil([&] { return account->isLoggedIn(); }));
    QTest::qWait(50);
}

TEST_F(SignInRig, TheFoundAndNewAccountRowsKeepRoomBelowThem)
{
    // The row's own 8 px below it, then the stack's 16 px before the field block.
    server.state().addUser(u"old@x.io"_s, u"老猫"_s, u"🐱"_s, u"pw"_s);
    const struct
    {
        QString address;
        Step step;
        const char* row;
        const char* nextField;
    } cases[] = {
        { u"old@x.io"_s, Step::loginWithPassword, "foundAccount", "loginPasswordField" },
        { u"new@x.io"_s, Step::registerWithInfo, "newAccount", "nicknameField" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        auto form = makeForm();
        typeAndReturn(form.get(), "emailField", c.address);
        ASSERT_TRUE(waitForStep(form.get(), c.step));
        QCoreApplication::processEvents();
        auto* caption = part<PlainLabel>(form.get(), c.row);
        auto* symbol = part<SymbolView>(form.get(), (std::string(c.row) + "Symbol").c_str());
        // The field block starts with its label's symbol.
        QWidget* block = part<SymbolView>(form.get(), (std::string(c.nextField) + "Symbol").c_str())->parentWidget();
        const QRect row = boxIn(form.get(), caption) | boxIn(form.get(), symbol);
        EXPECT_EQ(boxIn(form.get(), block).top() - (row.bottom() + 1), 24);
    }
}

TEST_F(SignInRig, FieldsBannersAndButtonsKeepTheStandardPaddingFromTheEdges)
{
    // The fields and banners the standard padding in from either side, the buttons that
    // padding above the form's bottom edge, at each step and with an error showing.
    const auto check = [](UserRegistrationView* form, const char* field, const char* where) {
        SCOPED_TRACE(where);
        QCoreApplication::processEvents();
        const QRect edit = boxIn(form, part(form, field));
        EXPECT_EQ(edit.left(), Spacing::standardPadding);
        EXPECT_EQ(form->width() - 1 - edit.right(), Spacing::standardPadding);
        for (const QPushButton* button : { primary(form), secondary(form) })
            EXPECT_EQ(form->height() - 1 - boxIn(form, button).bottom(), Spacing::standardPadding);
        if (errorBanner(form)->isVisible()) {
            const QRect banner = boxIn(form, errorBanner(form));
            EXPECT_EQ(banner.left(), Spacing::standardPadding);
            EXPECT_EQ(form->width() - 1 - banner.right(), Spacing::standardPadding);
        }
    };
    auto form = makeForm();
    check(form.get(), "emailField", "address");
    server.scriptNext(ScriptedReply { 500, QByteArray(2000, 'x'), 0, false });
    typeAndReturn(form.get(), "emailField", u"new@x.io"_s);
    ASSERT_TRUE(waitUntil([&] { return errorBanner(form.get())->isVisible(); }));
    check(form.get(), "emailField", "address with error");
    typeAndReturn(form.get(), "emailField", u"new@x.io"_s);
    ASSERT_TRUE(waitForStep(form.get(), Step::registerWithInfo));
    check(form.get(), "nicknameField", "registration");
}

TEST_F(SignInRig, EveryStepFitsItsFixedSize)
{
    // Nothing may be squeezed below the size it needs or pushed outside the form, also
    // with a long error showing in the tallest step.
    auto form = makeForm();
    auto checkFits = [&](const char* where) {
        QCoreApplication::processEvents();
        for (QWidget* child : form->findChildren<QWidget*>()) {
            const bool shown
                = child->inherits("QLineEdit") || child->inherits("QLabel") || child->inherits("QPushButton");
            if (!shown || !child->isVisibleTo(form.get()))
                continue;
            const QRect box(child->mapTo(form.get(), QPoint(0, 0)), child->size());
            EXPECT_TRUE(form->rect().contains(box)) << where << ": " << child->objectName().toStdString();
            EXPECT_GE(child->height(), child->minimumSizeHint().height())
                << where << ": " << child->objectName().toStdString() << " " << child->metaObject()->className();
        }
    };
    checkFits("address");
    server.scriptNext(ScriptedReply { 500, QByteArray(2000, 'x'), 0, false });
    typeAndReturn(form.get(), "emailField", u"new@x.io"_s);
    ASSERT_TRUE(waitUntil([&] { return errorBanner(form.get())->isVisible(); }));
    checkFits("address with error");
    typeAndReturn(form.get(), "emailField", u"new@x.io"_s);
    ASSERT_TRUE(waitForStep(form.get(), Step::registerWithInfo));
    part(form.get(), "passwordField")->setText(u"a"_s);
    part(form.get(), "confirmPasswordField")->setText(u"b"_s);
    server.scriptNext(ScriptedReply { 500, QByteArray(2000, 'x'), 0, false });
    part(form.get(), "confirmPasswordField")->setText(u"a"_s);
    QTest::keyClick(part(form.get(), "confirmPasswordField"), Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] { return errorBanner(form.get())->isVisible(); }));
    checkFits("registration with error");
}

TEST_F(SignInRig, AFormThatGrowsAtALargeFontStaysWholeOnItsScreen)
{
    // At a 12 pt font the registration step is taller than the room below a form opened at
    // the screen's centre: its buttons must not end up below the screen's edge.
    struct FontScope
    {
        QFont font = QApplication::font();
        ~FontScope() { QApplication::setFont(font); }
    } scope;
    QFont large = scope.font;
    large.setPointSize(12);
    QApplication::setFont(large);
    auto form = makeForm();
    const QRect room = form->screen()->availableGeometry();
    form->move(room.center() - form->rect().center());
    typeAndReturn(form.get(), "emailField", u"new@x.io"_s);
    ASSERT_TRUE(waitForStep(form.get(), Step::registerWithInfo));
    QCoreApplication::processEvents();
    ASSERT_LE(form->height(), room.height()) << "the screen is too small to tell";
    const QRect frame = form->frameGeometry();
    EXPECT_TRUE(room.contains(frame)) << frame.top() << ".." << frame.bottom() << " on " << room.top() << ".."
                                      << room.bottom();
}

TEST_F(SignInRig, HintsAndPlaceholdersAreDimmedYetReadableInLightAndDark)
{
    auto form = makeForm();
    typeAndReturn(form.get(), "emailField", u"new@x.io"_s);
    ASSERT_TRUE(waitForStep(form.get(), Step::registerWithInfo));
    part(form.get(), "nicknameField")->clear();
    form->setFocus(); // no text cursor in the fields whose placeholders are read

    const auto labelled = [&](const QString& text) -> QWidget* {
        for (PlainLabel* label : form->findChildren<PlainLabel*>()) {
            if (label->isVisible() && label->fullText() == text)
                return label;
        }
        return nullptr;
    };
    struct Text
    {
        const char* what;
        QWidget* widget;
    };
    const QList<Text> texts {
        { "subtitle", labelled(u"请设置你的昵称和密码"_s) },
        { "address caption", labelled(u"创建新账号：new@x.io"_s) },
        { "nickname hint", labelled(u"昵称可随时修改"_s) },
        { "password hint", labelled(u"密码无限制，请牢记"_s) },
        { "nickname placeholder", part(form.get(), "nicknameField") },
        { "password placeholder", part(form.get(), "passwordField") },
        { "repetition placeholder", part(form.get(), "confirmPasswordField") },
    };
    for (const bool dark : { false, true }) {
        form->setPalette(dark ? darkFusionPalette() : lightPalette());
        QCoreApplication::processEvents();
        const QImage image = drawnImage(form.get());
        saveShot(image, dark ? u"signin-hints-dark"_s : u"signin-hints-light"_s);
        for (const Text& text : texts) {
            SCOPED_TRACE(std::string(text.what) + (dark ? " (dark)" : " (light)"));
            ASSERT_TRUE(text.widget);
            // Inside a field's frame, where its placeholder stands.
            const bool field = qobject_cast<QLineEdit*>(text.widget) != nullptr;
            const QRect area
                = areaIn(text.widget, form.get()).adjusted(field ? 4 : 0, field ? 4 : 0, 0, field ? -4 : 0);
            const double got = drawnContrast(image, area.adjusted(0, 0, field ? -area.width() / 2 : 0, 0));
            EXPECT_GE(got, 4.5);
            const QColor under = dominantColour(image, area);
            EXPECT_LT(got, 0.8 * contrastRatio(dark ? QColor(Qt::white) : QColor(Qt::black), under)) << "not dimmed";
        }
    }
}
