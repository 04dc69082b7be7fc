#pragma once

#include "server/FriendModels.h"

#include <QDialog>

#include <QCoroTask>

#include <functional>

class PlainLabel;
class PlainTextEditor;
class QPushButton;

/// The message editor of the friends page: "发送消息给 " and the friend, a text editor that
/// has the caret when it opens, "取消" (Ctrl+Esc) and "发送" (Ctrl+Return), which stays
/// disabled until the text holds more than blanks. It sends the text trimmed of blanks and
/// line breaks and closes once the message went out; a refused message stays in the editor
/// with the reason below it, so nothing typed is lost.
class SendMessageSheet final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SendMessageSheet)

public:
    /// Sends the trimmed text; throws when the message did not go out.
    using OnSend = std::function<QCoro::Task<>(QString)>;

    static constexpr int sheetWidth = 400;
    static constexpr int plainHeight = 300;
    static constexpr int withErrorHeight = 340;

    SendMessageSheet(Friend friendRecord, OnSend onSend, QWidget* parent);

    /// Opens a fresh sheet over `window`, freed when it closes.
    static SendMessageSheet* present(const Friend& friendRecord, OnSend onSend, QWidget* window);

    [[nodiscard]] const Friend& friendRecord() const { return m_friend; }
    /// The text being edited.
    [[nodiscard]] QString message() const;
    [[nodiscard]] bool isSending() const { return m_isSending; }
    /// Why the last send failed; empty when it did not.
    [[nodiscard]] QString errorMessage() const { return m_errorMessage; }

    /// Not while a message is on its way: its outcome must reach the editor.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void styleEditor();
    void send();
    QCoro::Task<> runSend(QString text);
    void setSending(bool sending);
    void setErrorMessage(const QString& message);
    void updateButtons();

    Friend m_friend;
    OnSend m_onSend;
    bool m_isSending = false;
    QString m_errorMessage;

    PlainTextEditor* m_editor;
    PlainLabel* m_error;
    QPushButton* m_cancel;
    QPushButton* m_send;
};
