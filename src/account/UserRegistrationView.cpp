#include "account/UserRegistrationView.h"

#include "platform/LogManager.h"
#include "server/APIClient.h"
#include "server/APIError.h"
#include "server/Tasks.h"
#include "server/UserManager.h"
#include "widgets/BannerRow.h"
#include "widgets/BusySpinner.h"
#include "widgets/ButtonStyle.h"
#include "widgets/Divider.h"
#include "widgets/PlainLabel.h"
#include "widgets/PlainLineEdit.h"
#include "widgets/ReadableColour.h"
#include "widgets/SecondaryText.h"
#include "widgets/Spacing.h"
#include "widgets/Symbols.h"
#include "widgets/TextStyle.h"

#include <QDialog>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

const QString UserRegistrationView::proposedNickname = u"Tamsel主人"_s;
const QString UserRegistrationView::avatarEmoji = u"🐱"_s;

namespace {

const QString category = u"DriftBottle"_s;
const QString signInTitle = u"登录/注册"_s;

void log(const QString& message)
{
    LogManager::log(message, category);
}

using Symbols::Symbol;
using Symbols::Tint;
using TextStyle::Style;

const QColor red(255, 59, 48);
const QColor green(52, 199, 89);

/// The side of a symbol that stands beside text in `font`: as tall as the font.
int symbolSide(const QFont& font)
{
    return std::max(1, qRound(TextStyle::pixelSizeOf(font)));
}

/// A symbol at the body size and a caption side by side, with room below the row.
QWidget* captionRow(QWidget* parent, SymbolView* icon, PlainLabel* text, int bottomPadding)
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, bottomPadding);
    layout->setSpacing(6);
    icon->setParent(row);
    text->setParent(row);
    TextStyle::apply(text, Style::caption);
    icon->setSide(symbolSide(TextStyle::font(Style::body)));
    layout->addWidget(icon);
    layout->addWidget(text, 1);
    return row;
}

/// A labelled field: a headline with its icon, the field, and a hint line (none for an empty hint).
QWidget* fieldBlock(QWidget* parent, Symbol icon, const QString& label, PlainLineEdit* field, const QString& hint,
    QWidget* below = nullptr)
{
    auto* block = new QWidget(parent);
    auto* layout = new QVBoxLayout(block);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);

    auto* heading = new QWidget(block);
    auto* headingLayout = new QHBoxLayout(heading);
    headingLayout->setContentsMargins(0, 0, 0, 0);
    headingLayout->setSpacing(6);
    auto* title = new PlainLabel(label, heading);
    TextStyle::apply(title, Style::headline);
    auto* symbol = new SymbolView(icon, symbolSide(title->font()), Tint::primary, heading);
    symbol->setObjectName(field->objectName() + u"Symbol"_s);
    headingLayout->addWidget(symbol);
    headingLayout->addWidget(title, 1);
    layout->addWidget(heading);

    field->setParent(block);
    SecondaryText::apply(field, SecondaryText::Part::placeholder);
    layout->addWidget(field);
    if (!hint.isEmpty()) {
        auto* hintLabel = new PlainLabel(hint, block);
        TextStyle::apply(hintLabel, Style::caption);
        SecondaryText::apply(hintLabel);
        layout->addWidget(hintLabel);
    }
    if (below) {
        below->setParent(block);
        layout->addWidget(below);
    }
    return block;
}

PlainLineEdit* passwordField(const QString& placeholder, const QString& objectName)
{
    auto* field = new PlainLineEdit;
    field->setObjectName(objectName);
    field->setPlaceholderText(placeholder);
    field->setEchoMode(QLineEdit::Password);
    return field;
}

QWidget* stepPage(QWidget* parent)
{
    auto* page = new QWidget(parent);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(16);
    return page;
}

} // namespace

UserRegistrationView::UserRegistrationView(UserManager& userManager, Lazy<APIClient> client, QWidget* parent)
    : QWidget(parent)
    , m_userManager(userManager)
    , m_client(std::move(client))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(20);
    layout->addWidget(buildHeader());

    layout->addWidget(Divider::create(this));

    auto* content = new QWidget(this);
    auto* contentLayout = new QVBoxLayout(content);
    contentLayout->setContentsMargins(Spacing::standardPadding, 0, Spacing::standardPadding, 0);
    contentLayout->setSpacing(0);
    m_emailPage = emailInputView();
    m_loginPage = loginPasswordView();
    m_registerPage = registerInfoView();
    for (QWidget* page : { m_emailPage, m_loginPage, m_registerPage })
        contentLayout->addWidget(page);
    layout->addWidget(content);

    m_errorBanner = new BannerRow(BannerRow::Kind::error, this);
    m_errorBanner->setObjectName(u"errorBanner"_s);
    TextStyle::apply(m_errorBanner, Style::caption);
    // The form's height is fixed: a long answer from the server shows its start, and
    // the whole of it in the tool tip.
    m_errorBanner->setLineLimit(2);
    m_successBanner = new BannerRow(BannerRow::Kind::success, this);
    m_successBanner->setObjectName(u"successBanner"_s);
    m_successBanner->setMessage(u"登录成功！"_s);
    for (BannerRow* banner : { m_errorBanner, m_successBanner }) {
        auto* wrapper = new QHBoxLayout;
        wrapper->setContentsMargins(Spacing::standardPadding, 0, Spacing::standardPadding, 0);
        wrapper->addWidget(banner);
        layout->addLayout(wrapper);
        banner->hide();
    }
    layout->addStretch(1);

    m_secondary = ButtonStyle::create({}, ButtonStyle::Style::bordered, ButtonStyle::ControlSize::regular, this);
    m_secondary->setObjectName(u"secondaryButton"_s);
    m_primary = ButtonStyle::create({}, ButtonStyle::Style::borderedProminent, ButtonStyle::ControlSize::regular, this);
    m_primary->setObjectName(u"primaryButton"_s);
    m_primary->setMinimumWidth(110);
    for (QPushButton* button : { m_secondary, m_primary }) {
        // Return and Escape are the form's own (keyPressEvent), also inside a dialog.
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    m_spinner = new BusySpinner(13, m_primary);
    m_spinner->setObjectName(u"busySpinner"_s);
    m_spinner->hide();
    connect(m_secondary, &QPushButton::clicked, this, &UserRegistrationView::secondaryAction);
    connect(m_primary, &QPushButton::clicked, this, &UserRegistrationView::primaryAction);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(Spacing::standardPadding, 0, Spacing::standardPadding, Spacing::standardPadding);
    buttons->setSpacing(12);
    buttons->addStretch(1);
    buttons->addWidget(m_secondary);
    buttons->addWidget(m_primary);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    for (PlainLineEdit* field : { m_email, m_loginPassword, m_nickname, m_password, m_confirmPassword })
        connect(field, &QLineEdit::textChanged, this, &UserRegistrationView::refresh);
    setStep(RegistrationStep::emailInput);
}

QWidget* UserRegistrationView::buildHeader()
{
    auto* header = new QWidget(this);
    auto* layout = new QVBoxLayout(header);
    layout->setContentsMargins(20, 20, 20, 0);
    layout->setSpacing(8);
    m_headerIcon
        = new SymbolView(Symbol::envelopeCircleFill, TextStyle::scaled(headerSymbolPixels), Tint::blue, header);
    m_headerIcon->setObjectName(u"headerIcon"_s);
    layout->addWidget(m_headerIcon, 0, Qt::AlignHCenter);
    m_title = new PlainLabel({}, header);
    m_title->setObjectName(u"title"_s);
    TextStyle::apply(m_title, Style::title, QFont::Bold);
    m_subtitle = new PlainLabel({}, header);
    m_subtitle->setObjectName(u"subtitle"_s);
    TextStyle::apply(m_subtitle, Style::subheadline);
    SecondaryText::apply(m_subtitle);
    for (PlainLabel* label : { m_title, m_subtitle }) {
        label->setAlignment(Qt::AlignHCenter);
        layout->addWidget(label);
    }
    return header;
}

QWidget* UserRegistrationView::emailInputView()
{
    QWidget* page = stepPage(this);
    page->setObjectName(u"emailStep"_s);
    m_email = new PlainLineEdit;
    m_email->setObjectName(u"emailField"_s);
    m_email->setPlaceholderText(u"name@example.com"_s);
    m_email->setInputMethodHints(Qt::ImhEmailCharactersOnly | Qt::ImhNoPredictiveText | Qt::ImhNoAutoUppercase);
    page->layout()->addWidget(fieldBlock(page, Symbol::envelope, u"邮箱地址"_s, m_email, u"邮箱将作为你的唯一标识"_s));
    return page;
}

QWidget* UserRegistrationView::loginPasswordView()
{
    QWidget* page = stepPage(this);
    page->setObjectName(u"loginStep"_s);
    m_foundAccount = new PlainLabel;
    m_foundAccount->setObjectName(u"foundAccount"_s);
    m_foundAccount->setElideMode(Qt::ElideMiddle);
    SecondaryText::apply(m_foundAccount);
    auto* found = new SymbolView(Symbol::checkmarkCircleFill, 1, Tint::green);
    found->setObjectName(u"foundAccountSymbol"_s);
    page->layout()->addWidget(captionRow(page, found, m_foundAccount, 8));
    m_loginPassword = passwordField(u"输入密码"_s, u"loginPasswordField"_s);
    page->layout()->addWidget(fieldBlock(page, Symbol::lock, u"密码"_s, m_loginPassword, u"输入你的账号密码"_s));
    return page;
}

QWidget* UserRegistrationView::registerInfoView()
{
    QWidget* page = stepPage(this);
    page->setObjectName(u"registerStep"_s);
    m_newAccount = new PlainLabel;
    m_newAccount->setObjectName(u"newAccount"_s);
    m_newAccount->setElideMode(Qt::ElideMiddle);
    SecondaryText::apply(m_newAccount);
    auto* newAccount = new SymbolView(Symbol::personBadgePlus, 1, Tint::blue);
    newAccount->setObjectName(u"newAccountSymbol"_s);
    page->layout()->addWidget(captionRow(page, newAccount, m_newAccount, 8));

    m_nickname = new PlainLineEdit;
    m_nickname->setObjectName(u"nicknameField"_s);
    m_nickname->setPlaceholderText(u"输入昵称"_s);
    page->layout()->addWidget(fieldBlock(page, Symbol::person, u"昵称"_s, m_nickname, u"昵称可随时修改"_s));
    m_password = passwordField(u"设置密码"_s, u"passwordField"_s);
    page->layout()->addWidget(fieldBlock(page, Symbol::lock, u"密码"_s, m_password, u"密码无限制，请牢记"_s));

    m_matchIcon = new SymbolView(Symbol::checkmarkCircleFill, 1, Tint::green);
    m_matchIcon->setObjectName(u"passwordMatchIcon"_s);
    m_matchText = new PlainLabel;
    m_matchText->setObjectName(u"passwordMatch"_s);
    m_matchRow = captionRow(page, m_matchIcon, m_matchText, 0);
    m_confirmPassword = passwordField(u"再次输入密码"_s, u"confirmPasswordField"_s);
    page->layout()->addWidget(fieldBlock(page, Symbol::lockFill, u"确认密码"_s, m_confirmPassword, {}, m_matchRow));
    return page;
}

UserRegistrationView* UserRegistrationView::openWindow(UserManager& userManager, Lazy<APIClient> client)
{
    auto* form = new UserRegistrationView(userManager, client);
    // It opens at the screen's centre, where the pet likes to sit; like a modal panel it stands above it.
    form->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
        | Qt::WindowStaysOnTopHint);
    form->setWindowTitle(signInTitle);
    form->setAttribute(Qt::WA_DeleteOnClose);
    connect(form, &UserRegistrationView::dismissRequested, form, &QWidget::close);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        form->move(screen->availableGeometry().center() - form->rect().center());
    form->show();
    form->raise();
    form->activateWindow();
    return form;
}

QDialog* UserRegistrationView::openSheet(QWidget* window, UserManager& userManager, Lazy<APIClient> client)
{
    auto* sheet = new QDialog(window);
    sheet->setWindowTitle(signInTitle);
    sheet->setWindowModality(Qt::WindowModal);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize); // follows the form from step to step
    auto* form = new UserRegistrationView(userManager, client, sheet);
    layout->addWidget(form);
    connect(form, &UserRegistrationView::dismissRequested, sheet, &QDialog::accept);
    sheet->open();
    return sheet;
}

bool UserRegistrationView::showSuccess() const
{
    return m_successBanner && !m_successBanner->isHidden();
}

bool UserRegistrationView::isValidEmail(const QString& email)
{
    static const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(uR"([A-Z0-9a-z._%+-]+@[A-Za-z0-9.-]+\.[A-Za-z]{2,64})"_s));
    return !email.isEmpty() && pattern.match(email).hasMatch();
}

bool UserRegistrationView::isNextButtonDisabled() const
{
    if (m_loading)
        return true;
    switch (m_step) {
    case RegistrationStep::emailInput:
        return !isValidEmail(m_email->text());
    case RegistrationStep::loginWithPassword:
        return m_loginPassword->text().isEmpty();
    case RegistrationStep::registerWithInfo:
        return m_nickname->text().isEmpty() || m_password->text().isEmpty() || m_confirmPassword->text().isEmpty()
            || m_password->text() != m_confirmPassword->text();
    }
    return true;
}

void UserRegistrationView::setStep(RegistrationStep step)
{
    m_step = step;
    struct StepLook
    {
        Symbol icon;
        QString title, subtitle, secondary, primary;
        QWidget* page;
        QLineEdit* focus;
    };
    const StepLook look = [&]() -> StepLook {
        switch (step) {
        case RegistrationStep::loginWithPassword:
            return { Symbol::keyFill, u"欢迎回来"_s, u"请输入密码登录"_s, u"返回"_s, u"登录"_s, m_loginPage,
                m_loginPassword };
        case RegistrationStep::registerWithInfo:
            return { Symbol::keyFill, u"创建账号"_s, u"请设置你的昵称和密码"_s, u"返回"_s, u"完成注册"_s,
                m_registerPage, m_nickname };
        case RegistrationStep::emailInput:
            break;
        }
        return { Symbol::envelopeCircleFill, u"登录 / 注册"_s, u"填写邮箱和昵称即可登录或创建账号"_s, u"稍后再说"_s,
            u"下一步"_s, m_emailPage, m_email };
    }();
    m_headerIcon->setSymbol(look.icon);
    m_title->setText(look.title);
    m_subtitle->setText(look.subtitle);
    m_secondary->setText(look.secondary);
    m_primary->setProperty("idleText", look.primary);
    for (QWidget* page : { m_emailPage, m_loginPage, m_registerPage })
        page->setVisible(page == look.page);
    m_foundAccount->setText(u"找到账号："_s + m_email->text());
    m_newAccount->setText(u"创建新账号："_s + m_email->text());
    fitSize();
    refresh();
    look.focus->setFocus();
}

void UserRegistrationView::fitSize()
{
    // Its stated size at the default font; a larger application font grows it in proportion,
    // so that the text it holds keeps its room. A long error under the registration step
    // needs a few pixels more than the stated height leaves: the form grows by them rather
    // than squeeze the fields below their height.
    const QRect before = geometry();
    const int width = TextStyle::scaled(formWidth);
    const int stated = TextStyle::scaled(m_step == RegistrationStep::registerWithInfo ? registerHeight : compactHeight);
    // Pages and banners shown or hidden just now count: the page holder's own layout would
    // hand on its new size only once the event loop runs.
    m_emailPage->parentWidget()->updateGeometry();
    layout()->invalidate();
    const int needed
        = layout()->hasHeightForWidth() ? layout()->minimumHeightForWidth(width) : layout()->minimumSize().height();
    setFixedSize(width, std::max(stated, needed));
    keepOnScreen(before);
}

void UserRegistrationView::keepOnScreen(const QRect& before)
{
    // A window that grows keeps its centre, and stays whole on its screen: at a large font the
    // registration step is taller than the room below a form opened at the screen's centre,
    // and its buttons would lie off the screen.
    if (!isWindow() || !isVisible() || screen() == nullptr)
        return;
    const QRect room = screen()->availableGeometry();
    const QRect frame = frameGeometry();
    QRect placed(QPoint(0, 0), size());
    placed.moveCenter(before.center());
    const int titleBar = geometry().top() - frame.top();
    const int left = std::clamp(placed.left(), room.left(), std::max(room.left(), room.right() + 1 - placed.width()));
    const int top = std::clamp(placed.top(), room.top() + titleBar,
        std::max(room.top() + titleBar, room.bottom() + 1 - placed.height() - (frame.bottom() - geometry().bottom())));
    move(QPoint(left, top) - (geometry().topLeft() - frame.topLeft()));
}

void UserRegistrationView::setLoading(bool loading)
{
    m_loading = loading;
    refresh();
}

void UserRegistrationView::setErrorMessage(const QString& message)
{
    m_errorMessage = message;
    m_errorBanner->setMessage(message);
    m_errorBanner->setVisible(!message.isEmpty());
    fitSize();
}

void UserRegistrationView::refresh()
{
    // The address being checked or signed in with stays the one the next step shows.
    m_email->setReadOnly(m_loading);
    m_primary->setEnabled(!isNextButtonDisabled());
    m_primary->setText(m_loading ? QString() : m_primary->property("idleText").toString());
    m_spinner->move(m_primary->rect().center() - m_spinner->rect().center());
    m_spinner->setVisible(m_loading);

    const QString confirm = m_confirmPassword->text();
    m_matchRow->setVisible(!confirm.isEmpty());
    const bool match = confirm == m_password->text();
    m_matchIcon->setSymbol(match ? Symbol::checkmarkCircleFill : Symbol::xmarkCircleFill);
    m_matchIcon->setTint(match ? Tint::green : Tint::red);
    m_matchText->setText(match ? u"密码匹配"_s : u"两次密码不一致"_s);
    // Red or green as far as it must move to read on this palette's window.
    QPalette matchPalette = m_matchText->palette();
    matchPalette.setColor(
        QPalette::WindowText, ReadableColour::on(match ? green : red, palette().color(QPalette::Window)));
    m_matchText->setPalette(matchPalette);
}

void UserRegistrationView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && m_spinner)
        refresh(); // the match indicator's colour is worked out for the palette
}

void UserRegistrationView::keyPressEvent(QKeyEvent* event)
{
    // Return is the step's main button only while that button could be pressed, so a
    // second Return during a request sends nothing. Escape goes back (or postpones in the
    // first step) and never reaches a dialog that would close on it.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (event->modifiers() & ~Qt::KeypadModifier)
            break;
        if (m_primary->isEnabled())
            m_primary->click();
        event->accept();
        return;
    case Qt::Key_Escape:
        if (event->modifiers() != Qt::NoModifier)
            break;
        m_secondary->click();
        event->accept();
        return;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void UserRegistrationView::primaryAction()
{
    if (isNextButtonDisabled())
        return;
    switch (m_step) {
    case RegistrationStep::emailInput:
        Tasks::start(checkEmailAndProceed(), category, u"邮箱检查"_s);
        break;
    case RegistrationStep::loginWithPassword:
        Tasks::start(loginExistingUser(), category, u"登录"_s);
        break;
    case RegistrationStep::registerWithInfo:
        Tasks::start(registerNewUser(), category, u"注册"_s);
        break;
    }
}

void UserRegistrationView::secondaryAction()
{
    if (m_step == RegistrationStep::emailInput)
        Q_EMIT dismissRequested();
    else
        goBack();
}

void UserRegistrationView::goBack()
{
    m_loginPassword->clear();
    m_password->clear();
    m_confirmPassword->clear();
    setErrorMessage({});
    setStep(RegistrationStep::emailInput);
}

QCoro::Task<> UserRegistrationView::checkEmailAndProceed()
{
    const QString email = m_email->text();
    log(u"🔍 开始检查邮箱: "_s + email);
    setLoading(true);
    setErrorMessage({});
    // Online from here on, whatever the check answers.
    m_userManager.setUserMode(UserMode::online);

    const QPointer<UserRegistrationView> self(this);
    APIClient::CheckEmailResult result;
    try {
        result = co_await m_client->checkEmail(email);
    } catch (const std::exception& error) {
        if (!self)
            co_return;
        setLoading(false);
        setErrorMessage(APIError::describe(error));
        log(u"❌ 邮箱检查失败: "_s + APIError::debugDescribe(error));
        co_return;
    }
    if (!self)
        co_return;
    setLoading(false);
    if (result.exists) {
        log(u"✅ 老用户，需要输入密码"_s);
        setStep(RegistrationStep::loginWithPassword);
    } else {
        log(u"📝 新用户，需要填写昵称和密码"_s);
        m_nickname->setText(proposedNickname);
        setStep(RegistrationStep::registerWithInfo);
    }
}

QCoro::Task<> UserRegistrationView::loginExistingUser()
{
    log(u"🔑 开始登录已存在用户"_s);
    setLoading(true);
    setErrorMessage({});

    const QPointer<UserRegistrationView> self(this);
    try {
        co_await m_userManager.loginOnline(m_email->text(), QString(), avatarEmoji, m_loginPassword->text());
    } catch (const std::exception& error) {
        if (!self)
            co_return;
        setLoading(false);
        setErrorMessage(u"密码错误或登录失败"_s);
        log(u"❌ 登录失败: "_s + APIError::debugDescribe(error));
        co_return;
    }
    if (self)
        succeed(u"✅ 登录成功"_s);
}

QCoro::Task<> UserRegistrationView::registerNewUser()
{
    log(u"📝 开始注册新用户: "_s + m_email->text() + u", "_s + m_nickname->text());
    setLoading(true);
    setErrorMessage({});

    const QPointer<UserRegistrationView> self(this);
    try {
        co_await m_userManager.loginOnline(m_email->text(), m_nickname->text(), avatarEmoji, m_password->text());
    } catch (const std::exception& error) {
        if (!self)
            co_return;
        setLoading(false);
        setErrorMessage(APIError::describe(error));
        log(u"❌ 注册失败: "_s + APIError::debugDescribe(error));
        co_return;
    }
    if (self)
        succeed(u"✅ 注册成功"_s);
}

void UserRegistrationView::succeed(const QString& logLine)
{
    setLoading(false);
    m_successBanner->show();
    fitSize();
    log(logLine);
    QTimer::singleShot(dismissDelayMs, Qt::PreciseTimer, this, [this] { Q_EMIT dismissRequested(); });
}
