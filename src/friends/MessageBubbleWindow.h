#pragma once

#include "platform/KeyEnabledWindow.h"

#include <QString>

class EmojiLabel;
class PlainLabel;
class PlainLineEdit;
class QPlainTextEdit;
class QPushButton;

/// One message bubble beside the pet: a received message with a reply field, or a compose
/// bubble with a message field. Both take the keyboard when clicked. It only shows and
/// reports; the bubble manager sends and closes.
///
/// The card and its controls take one palette: the card is the palette's base (white in a
/// light one), and every text on it is measured against that, also after a switch.
class MessageBubbleWindow final : public KeyEnabledWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MessageBubbleWindow)

public:
    enum class Kind {
        Received,
        Compose,
    };

    /// `title` is the nickname (received) or "发送给 …" (compose); `content` is shown only
    /// in received bubbles. Its size is the one the bubble manager stacks it by.
    MessageBubbleWindow(Kind kind, quint64 token, QString bubbleId, qint64 receiverId, const QString& avatar,
        const QString& title, const QString& content, Screens& screens);

    [[nodiscard]] Kind kind() const { return m_kind; }
    /// Unique per bubble for the whole run, unlike the bubble id, which two bubbles may share.
    [[nodiscard]] quint64 token() const { return m_token; }
    [[nodiscard]] const QString& bubbleId() const { return m_bubbleId; }
    [[nodiscard]] qint64 receiverId() const { return m_receiverId; }

    /// The input field the send button sends from.
    [[nodiscard]] PlainLineEdit* textField() const { return m_textField; }
    [[nodiscard]] QPushButton* sendButton() const { return m_send; }
    [[nodiscard]] QPushButton* closeButton() const { return m_close; }

    /// Sending: button "发送中..." and both disabled; otherwise editable with "发送".
    void setSending(bool sending);
    /// Received bubbles: says below the reply field how many more messages wait; 0 hides it.
    void setWaitingCount(qsizetype count);

Q_SIGNALS:
    void sendRequested();
    void closeRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    /// The window colour of the bubble and everything on it becomes the card's colour.
    void takeCardPalette();

    Kind m_kind;
    quint64 m_token;
    QString m_bubbleId;
    qint64 m_receiverId;
    PlainLineEdit* m_textField = nullptr;
    QPushButton* m_send = nullptr;
    QPushButton* m_close = nullptr;
    PlainLabel* m_waiting = nullptr;
};
