#pragma once

#include <QLineEdit>

/// A one-line plain-text field whose optional length limit counts user-perceived
/// characters and cuts only between them, unlike QLineEdit::setMaxLength, which counts
/// UTF-16 units and can leave half an emoji behind.
class PlainLineEdit final : public QLineEdit
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PlainLineEdit)

public:
    explicit PlainLineEdit(QWidget* parent = nullptr);

    /// 0 (the default) means no limit.
    void setMaxCharacters(qsizetype limit);
    [[nodiscard]] qsizetype maxCharacters() const { return m_limit; }

private:
    void enforceLimit();

    qsizetype m_limit = 0;
};
