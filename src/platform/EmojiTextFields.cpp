#include "platform/EmojiTextFields.h"

#include "platform/EmojiStyle.h"

#include <QCoreApplication>
#include <QEvent>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSyntaxHighlighter>
#include <QTextEdit>

using namespace Qt::StringLiterals;

namespace {

const QString equippedName = u"tamselEmojiFormats"_s;

QTextCharFormat emojiFormat()
{
    QTextCharFormat format;
    // The colour font alone for the whole sequence, so no plain font takes a part of it.
    format.setFontFamilies(QStringList { EmojiStyle::colorEmojiFamily() });
    return format;
}

class EmojiHighlighter final : public QSyntaxHighlighter
{
public:
    explicit EmojiHighlighter(QTextDocument* document)
        : QSyntaxHighlighter(document)
    {
        setObjectName(equippedName);
    }

protected:
    void highlightBlock(const QString& text) override
    {
        for (const EmojiStyle::Run& run : EmojiStyle::emojiRuns(text))
            setFormat(int(run.start), int(run.length), emojiFormat());
    }
};

// QLineEdit keeps its text layout to itself. The one way in is the formats that an input
// method sends along with its event: an event that neither inserts nor composes anything
// carries them, and the field keeps them until its text changes.
class LineEditFormats final : public QObject
{
public:
    explicit LineEditFormats(QLineEdit* edit)
        : QObject(edit)
        , m_edit(edit)
    {
        setObjectName(equippedName);
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textChanged, this, [this] { apply(); });
        apply();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // While an input method composes, the text being composed carries its marks, and an
        // event of ours would end the composing.
        if (watched == m_edit && event->type() == QEvent::InputMethod && !m_applying)
            m_composing = !static_cast<QInputMethodEvent*>(event)->preeditString().isEmpty();
        return false;
    }

private:
    void apply()
    {
        // A read-only field ignores input method events; a password field shows no emoji.
        if (m_applying || m_composing || m_edit->isReadOnly() || m_edit->echoMode() != QLineEdit::Normal)
            return;
        const QList<EmojiStyle::Run> runs = EmojiStyle::emojiRuns(m_edit->text());
        if (runs.isEmpty() && !m_formatted)
            return;
        // The event counts positions from the cursor.
        const int cursor = m_edit->cursorPosition();
        QList<QInputMethodEvent::Attribute> attributes;
        for (const EmojiStyle::Run& run : runs)
            attributes.append(
                { QInputMethodEvent::TextFormat, int(run.start) - cursor, int(run.length), emojiFormat() });
        QInputMethodEvent event(QString(), attributes);
        m_applying = true;
        QCoreApplication::sendEvent(m_edit, &event);
        m_applying = false;
        m_formatted = !runs.isEmpty();
    }

    QLineEdit* m_edit;
    bool m_applying = false;
    bool m_composing = false;
    bool m_formatted = false;
};

void highlight(QTextDocument* document)
{
    // At once: a highlighter left to itself starts on the next turn of the event loop,
    // after the field may have been drawn.
    if (document && !document->findChild<QObject*>(equippedName, Qt::FindDirectChildrenOnly))
        (new EmojiHighlighter(document))->rehighlight();
}

// A label that lets its text be selected lays it out in a text document of its own, past the
// style. The document comes and goes with the label's text and interaction flags, so it is
// looked for again whenever the label is about to be measured or drawn.
class LabelFormats final : public QObject
{
public:
    explicit LabelFormats(QLabel* label)
        : QObject(label)
        , m_label(label)
    {
        setObjectName(equippedName);
        label->installEventFilter(this);
        apply();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_label
            && (event->type() == QEvent::Paint || event->type() == QEvent::LayoutRequest
                || event->type() == QEvent::Show))
            apply();
        return false;
    }

private:
    void apply() { highlight(m_label->findChild<QTextDocument*>()); }

    QLabel* m_label;
};

QTextDocument* documentOf(QWidget* widget)
{
    if (auto* plain = qobject_cast<QPlainTextEdit*>(widget))
        return plain->document();
    if (auto* rich = qobject_cast<QTextEdit*>(widget))
        return rich->document();
    return nullptr;
}

} // namespace

void EmojiTextFields::equip(QWidget* widget)
{
    if (!widget || EmojiStyle::colorEmojiFamily().isEmpty())
        return;
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        if (!edit->findChild<QObject*>(equippedName, Qt::FindDirectChildrenOnly))
            new LineEditFormats(edit);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        if (!label->findChild<QObject*>(equippedName, Qt::FindDirectChildrenOnly))
            new LabelFormats(label);
    } else {
        highlight(documentOf(widget));
    }
}
