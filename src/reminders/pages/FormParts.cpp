#include "reminders/pages/FormParts.h"

#include "widgets/PlainTextEditor.h"

#include <QAbstractTextDocumentLayout>
#include <QFormLayout>
#include <QGroupBox>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <cmath>

namespace FormParts {

QGroupBox* section(const QString& title, QWidget* parent, QFormLayout** layout)
{
    auto* box = new QGroupBox(title, parent);
    auto* form = new QFormLayout(box);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setContentsMargins(12, 8, 12, 10);
    form->setVerticalSpacing(8);
    *layout = form;
    return box;
}

void growWithText(PlainTextEditor* editor, int minLines, int maxLines)
{
    const auto fit = [editor, minLines, maxLines] {
        QTextDocument* document = editor->document();
        // A plain-text document measures its height in lines.
        const int textLines = static_cast<int>(document->size().height());
        const int lines = std::clamp(textLines, minLines, maxLines);
        // Line-by-line scrolling would offer a scroll bar for the last line's few pixels;
        // it is needed only once the text is longer than the editor may grow.
        editor->setVerticalScrollBarPolicy(textLines > maxLines ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        // Lines drawn in a fallback font (Chinese text) are taller than the editor's own
        // font says; the tallest line laid out so far sets the height.
        qreal lineHeight = editor->fontMetrics().lineSpacing();
        int seen = 0;
        for (QTextBlock block = document->firstBlock(); block.isValid() && seen < maxLines; block = block.next()) {
            const QTextLayout* layout = block.layout();
            for (int i = 0; layout && i < layout->lineCount() && seen < maxLines; ++i, ++seen)
                lineHeight = std::max(lineHeight, layout->lineAt(i).height());
        }
        const int frame = 2 * editor->frameWidth() + static_cast<int>(2 * document->documentMargin());
        editor->setFixedHeight(static_cast<int>(std::ceil(lines * lineHeight)) + frame + 2);
    };
    // The size changes with the text and with the width it wraps at.
    QObject::connect(editor->document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, editor,
        [fit](const QSizeF&) { fit(); });
    fit();
}

} // namespace FormParts
