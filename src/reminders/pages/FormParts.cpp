#include "reminders/pages/FormParts.h"

#include "widgets/PlainTextEditor.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QTextDocument>

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
        // A plain-text document measures its height in lines.
        const int lines = std::clamp(static_cast<int>(editor->document()->size().height()), minLines, maxLines);
        const int frame = 2 * editor->frameWidth() + static_cast<int>(2 * editor->document()->documentMargin());
        editor->setFixedHeight(lines * editor->fontMetrics().lineSpacing() + frame);
    };
    QObject::connect(editor->document(), &QTextDocument::contentsChanged, editor, fit);
    fit();
}

} // namespace FormParts
