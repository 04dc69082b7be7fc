#pragma once

#include <QObject>
#include <QPointer>

class QLineEdit;
class QPushButton;

/// Return in a bubble's input field sends as its send button does: it clicks the button,
/// which does nothing while a send is running (the button is disabled then). Every other
/// key keeps its normal effect.
class MessageTextFieldDelegate final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MessageTextFieldDelegate)

public:
    MessageTextFieldDelegate(QLineEdit* textField, QPushButton* sendButton);

    [[nodiscard]] QPushButton* sendButton() const { return m_sendButton; }

private:
    void insertNewline();

    QPointer<QPushButton> m_sendButton;
};
