#include "friends/MessageTextFieldDelegate.h"

#include <QLineEdit>
#include <QPushButton>

MessageTextFieldDelegate::MessageTextFieldDelegate(QLineEdit* textField, QPushButton* sendButton)
    : m_sendButton(sendButton)
{
    connect(textField, &QLineEdit::returnPressed, this, &MessageTextFieldDelegate::insertNewline);
}

void MessageTextFieldDelegate::insertNewline()
{
    if (m_sendButton && m_sendButton->isEnabled())
        m_sendButton->click();
}
