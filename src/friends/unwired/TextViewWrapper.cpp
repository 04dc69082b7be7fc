#include "friends/unwired/TextViewWrapper.h"

#include "widgets/PlainTextEditor.h"

#include <QEvent>
#include <QVBoxLayout>

TextViewWrapper::TextViewWrapper(QWidget* parent)
    : QFrame(parent)
    , m_editor(new PlainTextEditor(this))
{
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(m_editor);
    m_editor->setFrameShape(QFrame::NoFrame);
    m_editor->setUndoRedoEnabled(true);
    m_editor->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_editor->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_editor->installEventFilter(this);
    connect(m_editor, &QPlainTextEdit::textChanged, this, [this] { Q_EMIT textChanged(m_editor->toPlainText()); });
}

QString TextViewWrapper::text() const
{
    return m_editor->toPlainText();
}

void TextViewWrapper::setText(const QString& text)
{
    if (m_editor->toPlainText() != text)
        m_editor->setPlainText(text);
}

void TextViewWrapper::setFocused(bool focused)
{
    if (focused && window() && !m_editor->hasFocus())
        m_editor->setFocus(Qt::OtherFocusReason);
}

bool TextViewWrapper::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_editor) {
        if (event->type() == QEvent::FocusIn)
            setFocusedFlag(true);
        else if (event->type() == QEvent::FocusOut)
            setFocusedFlag(false);
    }
    return QFrame::eventFilter(watched, event);
}

void TextViewWrapper::setFocusedFlag(bool focused)
{
    if (m_focused == focused)
        return;
    m_focused = focused;
    Q_EMIT focusedChanged(focused);
}
