#pragma once

#include "platform/Lazy.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <QCoroTask>

namespace Symbols {
enum class Symbol;
}

class APIClient;
class EmojiLabel;
class PlainLabel;
class PlainLineEdit;
class QPushButton;
class QToolButton;
class UserManager;

/// The "账号" page: the signed-in user's profile with nickname and avatar editing, the
/// stand-alone notice, and signing in (through the sign-in form as a sheet) or out.
/// Everything shown comes from the account; the page keeps only the edit form's state.
class AccountPreferencesView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AccountPreferencesView)

public:
    /// The avatars offered in the edit form.
    static const QStringList availableEmojis;

    /// What the account section shows.
    enum class Content { profile, editing, signedOut, standAlone };

    AccountPreferencesView(UserManager& userManager, Lazy<APIClient> client, QWidget* parent = nullptr);

    [[nodiscard]] Content content() const;
    [[nodiscard]] bool isSaving() const { return m_isSaving; }
    [[nodiscard]] QString editingAvatarEmoji() const { return m_editingAvatarEmoji; }
    /// The nickname as typed into the edit form.
    [[nodiscard]] QString editingNickname() const;
    /// The edit form's error line; empty while none shows.
    [[nodiscard]] QString errorMessage() const;

    void startEditing();
    void cancelEditing();
    void saveProfile();

protected:
    void changeEvent(QEvent* event) override;

private:
    /// Draws the email in the secondary colour aimed further than the kit's captions.
    void dimEmail();
    [[nodiscard]] QWidget* buildProfile();
    [[nodiscard]] QWidget* buildEditForm();
    [[nodiscard]] QWidget* buildNotice(Symbols::Symbol symbol, const QString& text, const QString& name);
    [[nodiscard]] QWidget* buildSignedInBlock();
    [[nodiscard]] QWidget* buildSignInPrompt();
    void showRegistrationView();
    void chooseAvatar(const QString& emoji);
    void setErrorMessage(const QString& message);
    void refresh();
    /// The control the keyboard starts on in `shown`: the field being edited, or the button
    /// that opens the form. Never the sign-out button.
    [[nodiscard]] QWidget* focusTarget(Content shown) const;
    QCoro::Task<> sendProfile(QString nickname, QString avatarEmoji);

    UserManager& m_userManager;
    Lazy<APIClient> m_client;

    bool m_isEditingProfile = false;
    bool m_isSaving = false;
    QString m_editingAvatarEmoji;

    QWidget* m_profile = nullptr;
    QWidget* m_editForm = nullptr;
    QWidget* m_signedOut = nullptr;
    QWidget* m_standAlone = nullptr;
    QPushButton* m_edit = nullptr;
    PlainLabel* m_nickname = nullptr;
    EmojiLabel* m_avatar = nullptr;
    PlainLabel* m_email = nullptr;
    PlainLineEdit* m_nicknameField = nullptr;
    EmojiLabel* m_chosenAvatar = nullptr;
    QList<QToolButton*> m_avatarButtons;
    PlainLabel* m_error = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_save = nullptr;

    QWidget* m_onlineSection = nullptr;
    QWidget* m_signedInBlock = nullptr;
    QWidget* m_signInPrompt = nullptr;
};
