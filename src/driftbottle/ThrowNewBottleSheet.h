#pragma once

#include <QDialog>
#include <QPointer>

#include <QCoroTask>

class ConversationManager;
class PlainLabel;
class PlainTextEditor;
class QMessageBox;
class QPushButton;

/// The sheet for writing a new bottle and throwing it. It closes itself once the bottle is
/// out; a refusal keeps the text for another try and shows why (in red, or as the
/// sensitive-word alert).
class ThrowNewBottleSheet final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ThrowNewBottleSheet)

public:
    static constexpr int sheetWidth = 400;
    static constexpr int plainHeight = 300;
    static constexpr int withErrorHeight = 350;

    ThrowNewBottleSheet(ConversationManager& manager, QWidget* parent);

    /// A fresh sheet, window-modal over `window`; it deletes itself when it closes.
    static ThrowNewBottleSheet* present(ConversationManager& manager, QWidget* window);

    /// The bottle's text as typed.
    [[nodiscard]] QString content() const;
    [[nodiscard]] bool isSending() const { return m_isSending; }
    [[nodiscard]] QString errorMessage() const { return m_errorMessage; }
    /// The "包含敏感词" alert of a refused bottle is open.
    [[nodiscard]] bool showSensitiveWordAlert() const;

public Q_SLOTS:
    /// Cancelling is refused while a throw is out: its outcome belongs to this sheet.
    void reject() override;

private:
    void sendBottle();
    QCoro::Task<> throwBottle(QString content);
    void setSending(bool sending);
    void setErrorMessage(const QString& message);
    void updateButtons();

    ConversationManager& m_conversationManager;
    bool m_isSending = false;
    QString m_errorMessage;

    PlainTextEditor* m_editor;
    PlainLabel* m_error;
    QPushButton* m_cancel;
    QPushButton* m_send;
    QPointer<QMessageBox> m_alert;
};

/// A small sheet with a spinner that closes itself after half a second.
class PickBottleSheet final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PickBottleSheet)

public:
    static constexpr int closeAfterMs = 500;

    explicit PickBottleSheet(QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;
};
