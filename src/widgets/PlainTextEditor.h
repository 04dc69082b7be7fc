#pragma once

#include <QPlainTextEdit>

/// A multi-line plain-text editor (pasted rich text arrives as its text) with an optional
/// length limit in user-perceived characters that never splits an emoji.
class PlainTextEditor final : public QPlainTextEdit
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PlainTextEditor)

public:
    explicit PlainTextEditor(QWidget* parent = nullptr);

    /// 0 (the default) means no limit.
    void setMaxCharacters(qsizetype limit);
    [[nodiscard]] qsizetype maxCharacters() const { return m_limit; }
    [[nodiscard]] QString text() const { return toPlainText(); }

private:
    void enforceLimit();

    qsizetype m_limit = 0;
    bool m_enforcing = false;
};
