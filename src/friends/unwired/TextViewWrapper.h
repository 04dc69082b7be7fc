#pragma once

#include <QFrame>
#include <QString>

class PlainTextEditor;

/// A bordered multi-line plain-text editor for messages, kept in step with a text value
/// and a focus flag owned by its host: it reports every edit and every gain or loss of
/// focus, and takes a new text from outside only when it differs, so the caret stays put.
/// Nothing in the program uses it today.
class TextViewWrapper final : public QFrame
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TextViewWrapper)

public:
    explicit TextViewWrapper(QWidget* parent = nullptr);

    [[nodiscard]] QString text() const;
    /// Replaces the content only when it differs from `text`.
    void setText(const QString& text);

    [[nodiscard]] bool isFocused() const { return m_focused; }
    /// True moves the keyboard into the editor when it is in a window; false takes focus
    /// from nobody.
    void setFocused(bool focused);

    [[nodiscard]] PlainTextEditor* editor() const { return m_editor; }

Q_SIGNALS:
    void textChanged(const QString& text);
    void focusedChanged(bool focused);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setFocusedFlag(bool focused);

    PlainTextEditor* m_editor;
    bool m_focused = false;
};
