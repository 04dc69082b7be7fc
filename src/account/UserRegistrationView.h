#pragma once

#include "platform/Lazy.h"

#include <QString>
#include <QWidget>

#include <QCoroTask>

class APIClient;
class BannerRow;
class BusySpinner;
class PlainLabel;
class PlainLineEdit;
class QDialog;
class QPushButton;
class SymbolView;
class UserManager;

/// The sign-in and registration form: the user types an e-mail address, the server says
/// whether it is known, and a known address signs in with its password while a new one
/// registers with a nickname and a password. Both end in UserManager::loginOnline().
///
/// The form never closes anything itself: it emits dismissRequested() when the user
/// postpones signing in and 1.5 s after a successful sign-in, and its host decides what
/// that means (openWindow() and openSheet() close what they opened).
class UserRegistrationView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(UserRegistrationView)

public:
    enum class RegistrationStep { emailInput, loginWithPassword, registerWithInfo };

    /// The form's size at the default font, in pixels; it grows with a larger application font.
    static constexpr int formWidth = 450;
    static constexpr int compactHeight = 400;
    static constexpr int registerHeight = 580;
    static constexpr int dismissDelayMs = 1500;
    /// The header's symbol, in pixels at the default font.
    static constexpr int headerSymbolPixels = 50;
    /// The nickname a new account is offered.
    static const QString proposedNickname;
    /// Every account made here starts with the cat.
    static const QString avatarEmoji;

    UserRegistrationView(UserManager& userManager, Lazy<APIClient> client, QWidget* parent = nullptr);

    /// Opens a fresh form as the content of its own window "登录/注册", centred on the
    /// screen; the window closes (and is deleted) when the form asks to be dismissed.
    static UserRegistrationView* openWindow(UserManager& userManager, Lazy<APIClient> client);
    /// Opens a fresh form as a window-modal sheet over `window`; a dismissal accepts the
    /// sheet. The sheet deletes itself when it closes.
    static QDialog* openSheet(QWidget* window, UserManager& userManager, Lazy<APIClient> client);

    /// Whether an address has the shape the server accepts; the whole text must match.
    [[nodiscard]] static bool isValidEmail(const QString& email);

    [[nodiscard]] RegistrationStep currentStep() const { return m_step; }
    [[nodiscard]] bool isLoading() const { return m_loading; }
    /// The success banner is shown: the account is signed in and the form closes shortly.
    [[nodiscard]] bool showSuccess() const;
    /// The error banner's text; empty while no banner shows.
    [[nodiscard]] QString errorMessage() const { return m_errorMessage; }
    [[nodiscard]] bool isNextButtonDisabled() const;

Q_SIGNALS:
    void dismissRequested();

protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    [[nodiscard]] QWidget* buildHeader();
    [[nodiscard]] QWidget* emailInputView();
    [[nodiscard]] QWidget* loginPasswordView();
    [[nodiscard]] QWidget* registerInfoView();

    void setStep(RegistrationStep step);
    /// The stated size of the step, or taller where what it shows needs more room.
    void fitSize();
    void keepOnScreen(const QRect& before);
    void setLoading(bool loading);
    void setErrorMessage(const QString& message);
    void refresh();

    void primaryAction();
    void secondaryAction();
    void goBack();

    QCoro::Task<> checkEmailAndProceed();
    QCoro::Task<> loginExistingUser();
    QCoro::Task<> registerNewUser();
    void succeed(const QString& logLine);

    UserManager& m_userManager;
    Lazy<APIClient> m_client;

    RegistrationStep m_step = RegistrationStep::emailInput;
    bool m_loading = false;
    QString m_errorMessage;

    SymbolView* m_headerIcon = nullptr;
    PlainLabel* m_title = nullptr;
    PlainLabel* m_subtitle = nullptr;
    QWidget* m_emailPage = nullptr;
    QWidget* m_loginPage = nullptr;
    QWidget* m_registerPage = nullptr;
    PlainLineEdit* m_email = nullptr;
    PlainLabel* m_foundAccount = nullptr;
    PlainLineEdit* m_loginPassword = nullptr;
    PlainLabel* m_newAccount = nullptr;
    PlainLineEdit* m_nickname = nullptr;
    PlainLineEdit* m_password = nullptr;
    PlainLineEdit* m_confirmPassword = nullptr;
    QWidget* m_matchRow = nullptr;
    SymbolView* m_matchIcon = nullptr;
    PlainLabel* m_matchText = nullptr;
    BannerRow* m_errorBanner = nullptr;
    BannerRow* m_successBanner = nullptr;
    QPushButton* m_secondary = nullptr;
    QPushButton* m_primary = nullptr;
    BusySpinner* m_spinner = nullptr;
};
