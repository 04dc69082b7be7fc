#include "widgets/PlainLineEdit.h"

#include "widgets/GraphemeText.h"

PlainLineEdit::PlainLineEdit(QWidget* parent)
    : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, &PlainLineEdit::enforceLimit);
}

void PlainLineEdit::setMaxCharacters(qsizetype limit)
{
    m_limit = qMax<qsizetype>(0, limit);
    enforceLimit();
}

void PlainLineEdit::enforceLimit()
{
    if (m_limit == 0 || GraphemeText::count(text()) <= m_limit)
        return;
    const int cursor = cursorPosition();
    const QString kept = GraphemeText::truncated(text(), m_limit);
    setText(kept);
    setCursorPosition(qMin<int>(cursor, kept.size()));
}
