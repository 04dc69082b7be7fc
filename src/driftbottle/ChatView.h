#pragma once

#include "server/DriftBottleModels.h"
#include "widgets/FocusHold.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <QCoroTask>

class BannerRow;
class BusySpinner;
class ChatBubbleView;
class ChatMessageModel;
class ConversationManager;
class EmojiLabel;
class PlainLabel;
class PlainTextEditor;
class QListView;
class QMessageBox;
class QPropertyAnimation;
class QPushButton;

/// The right pane of the drift-bottle window: the selected conversation's header, its lines
/// as bubbles that follow new messages, and the bar to write and send a reply.
///
/// The typed text, the sending state and an open alert belong to the pane, not to a
/// conversation: they stay when the user selects another one.
class ChatView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChatView)

public:
    /// How long a failed reply's reason stays in the pane.
    static constexpr int errorShownMs = 3000;
    /// How long following a new message takes: the list glides to it.
    static constexpr int followMs = 350;
    /// The other user's emoji in the header, in pixels at the default font.
    static constexpr int emojiPixels = 30;
    /// The header's avatar is at most this many emoji wide.
    static constexpr int maxEmojiWidths = 3;

    ChatView(ConversationManager& manager, const Conversation& conversation, QWidget* parent = nullptr);

    void setConversation(const Conversation& conversation);
    [[nodiscard]] const Conversation& conversation() const { return m_conversation; }
    [[nodiscard]] bool isSending() const { return m_isSending; }
    /// The "包含敏感词" alert of a refused reply is open.
    [[nodiscard]] bool showSensitiveWordAlert() const;
    /// The reply as typed so far.
    [[nodiscard]] QString messageText() const;

    /// The header's name when the conversation has none yet.
    static const QString noNameYet;
    /// The header's emoji when the conversation has none.
    static const QString noEmoji;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void sendMessage();
    QCoro::Task<> sendReply(QString content, Conversation conversation);
    void setSending(bool sending);
    void updateSendButton();
    void showError(const QString& text);
    /// Puts a reply that did not go out back in the editor, the caret at its end.
    void restoreText(const QString& content);
    void messagesChanged();
    void scrollToNewest();

    ConversationManager& m_conversationManager;
    Conversation m_conversation;
    bool m_isSending = false;
    qsizetype m_shownCount = 0;

    EmojiLabel* m_emoji;
    PlainLabel* m_name;
    ChatMessageModel* m_model;
    ChatBubbleView* m_delegate;
    QListView* m_list;
    BannerRow* m_error;
    QWidget* m_errorBox = nullptr;
    QTimer m_errorTimer;
    PlainTextEditor* m_editor;
    QPushButton* m_send;
    BusySpinner* m_spinner;
    QPointer<QMessageBox> m_alert;
    FocusHold m_focusHold;
    QPropertyAnimation* m_follow;
};
