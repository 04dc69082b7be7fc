#include "reminders/pages/PageParts.h"

#include "platform/Alerts.h"
#include "reminders/pages/ManagementRow.h"
#include "widgets/ButtonStyle.h"
#include "widgets/Divider.h"
#include "widgets/GraphemeText.h"
#include "widgets/PlainLabel.h"
#include "widgets/PlainTextEditor.h"
#include "widgets/ProminentButton.h"
#include "widgets/ReadableColour.h"
#include "widgets/Spacing.h"
#include "widgets/Symbols.h"
#include "widgets/TextStyle.h"

#include <QAbstractTextDocumentLayout>
#include <QDialog>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QVBoxLayout>

#include <cmath>

using namespace Qt::StringLiterals;

namespace PageParts {

PlainLabel* heading(const QString& text, QWidget* parent)
{
    auto* label = new PlainLabel(text, parent);
    TextStyle::apply(label, TextStyle::Style::title2, QFont::Bold);
    return label;
}

PlainLabel* warningNote(const QString& text, QWidget* parent)
{
    auto* label = new PlainLabel(text, parent);
    TextStyle::apply(label, TextStyle::Style::caption);
    ReadableColour::tint(label, RowColours::red);
    return label;
}

QFrame* divider(QWidget* parent)
{
    return Divider::create(parent);
}

QPushButton* prominentButton(const QString& text, QWidget* parent)
{
    return ProminentButton::create(text, parent);
}

QPushButton* borderedButton(const QString& text, QWidget* parent)
{
    return ButtonStyle::create(text, ButtonStyle::Style::bordered, ButtonStyle::ControlSize::regular, parent);
}

QPushButton* addPageHeader(
    const QString& title, const QString& addText, const QString& note, QWidget* page, QBoxLayout* column)
{
    auto* header = new QVBoxLayout;
    header->setContentsMargins(
        Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding, Spacing::standardPadding);
    header->setSpacing(8);
    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(heading(title, page));
    titleRow->addStretch(1);
    QPushButton* add = addButton(addText, page);
    titleRow->addWidget(add);
    header->addLayout(titleRow);
    header->addWidget(warningNote(note, page));
    column->addLayout(header);
    column->addWidget(divider(page));
    return add;
}

QPushButton* addFormButtons(QDialog* form, QBoxLayout* column)
{
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(12);
    buttons->addStretch(1);
    QPushButton* cancel = borderedButton(u"取消"_s, form);
    cancel->setObjectName(u"cancelButton"_s);
    QObject::connect(cancel, &QPushButton::clicked, form, &QDialog::reject);
    QPushButton* save = prominentButton(u"保存"_s, form);
    save->setObjectName(u"saveButton"_s);
    buttons->addWidget(cancel);
    buttons->addWidget(save);
    buttons->addStretch(1);
    column->addLayout(buttons);
    return save;
}

QPushButton* addButton(const QString& text, QWidget* parent)
{
    QPushButton* button = prominentButton(text, parent);
    // The plus is as large as the title's letters and, like them, white on the accent face,
    // whatever the palette (the face is always deep enough for white).
    const int side = qRound(TextStyle::pixelSizeOf(button->font()));
    button->setIcon(Symbols::icon(Symbols::Symbol::plusCircleFill, side, Qt::white));
    button->setIconSize(QSize(side, side));
    return button;
}

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

void fitForm(QDialog* form, QSize stated)
{
    const QSize scaled(TextStyle::scaled(stated.width()), TextStyle::scaled(stated.height()));
    QSize needed;
    if (QLayout* layout = form->layout()) {
        layout->invalidate();
        needed = layout->totalMinimumSize();
    }
    form->setFixedSize(scaled.expandedTo(needed));
}

bool askToDelete(const QString& kind, const QString& title, QWidget* parent)
{
    return Alerts::show(Alerts::Style::Warning, u"删除"_s + kind,
               u"确定要删除"_s + kind + u"「"_s + GraphemeText::quoted(title) + u"」吗？"_s, { u"取消"_s, u"删除"_s },
               parent, 1)
        == 1;
}

} // namespace PageParts
