#pragma once

#include <QDialog>

#include <functional>

class BusySpinner;
class PlainTextEditor;
class QPushButton;

/// The sheet in which the answer to a bottle is written. It only hands the text on: Send
/// calls `onReply` at once and closes the sheet half a second later, whatever the server
/// answers. The sheet frees itself when closed.
/// No menu opens it today.
class ReplySheetView final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReplySheetView)

public:
    static constexpr int closeAfterSendMs = 500;
    /// Room between the reply box's edge and its text.
    static constexpr int editorPadding = 12;

    ReplySheetView(QString bottleId, qint64 receiverId, std::function<void(const QString&)> onReply, QWidget* parent);

    /// Puts an earlier answer back into the editor.
    void setContent(const QString& text);
    [[nodiscard]] QString content() const;
    [[nodiscard]] bool isSending() const { return m_isSending; }

    [[nodiscard]] const QString& bottleId() const { return m_bottleId; }
    [[nodiscard]] qint64 receiverId() const { return m_receiverId; }

private:
    void sendReply();
    void updateButtons();

    QString m_bottleId;
    qint64 m_receiverId;
    std::function<void(const QString&)> m_onReply;
    bool m_isSending = false;
    PlainTextEditor* m_editor;
    QWidget* m_sendingRow;
    QPushButton* m_cancel;
    QPushButton* m_send;
};
