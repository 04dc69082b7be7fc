#include "widgets/PlainTextEditor.h"

#include "widgets/GraphemeText.h"

#include <QTextCursor>

PlainTextEditor::PlainTextEditor(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, &PlainTextEditor::enforceLimit);
}

void PlainTextEditor::setMaxCharacters(qsizetype limit)
{
    m_limit = qMax<qsizetype>(0, limit);
    enforceLimit();
}

void PlainTextEditor::enforceLimit()
{
    if (m_enforcing || m_limit == 0)
        return;
    const QString current = toPlainText();
    if (GraphemeText::count(current) <= m_limit)
        return;
    m_enforcing = true;
    const QString kept = GraphemeText::truncated(current, m_limit);
    // Remove only the surplus at the end, so undo and the cursor stay where the user left them.
    QTextCursor cursor(document());
    cursor.setPosition(kept.size());
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    m_enforcing = false;
}
