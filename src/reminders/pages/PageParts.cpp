#include "reminders/pages/PageParts.h"

#include "reminders/pages/ManagementRow.h"
#include "widgets/Divider.h"
#include "widgets/PlainLabel.h"
#include "widgets/PlainTextEditor.h"
#include "widgets/ProminentButton.h"
#include "widgets/ReadableColour.h"

#include <QAbstractTextDocumentLayout>
#include <QDialog>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QVBoxLayout>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

void scaleFont(QWidget* widget, double factor, QFont::Weight weight)
{
    QFont font = widget->font();
    font.setPointSizeF(font.pointSizeF() * factor);
    font.setWeight(weight);
    widget->setFont(font);
}

QIcon plusCircleIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(1, 1, 30, 30));
    painter.setPen(QPen(RowColours::blue, 3.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(16, 9), QPointF(16, 23));
    painter.drawLine(QPointF(9, 16), QPointF(23, 16));
    painter.end();
    return QIcon(pixmap);
}

} // namespace

namespace PageParts {

PlainLabel* heading(const QString& text, double scale, QWidget* parent)
{
    auto* label = new PlainLabel(text, parent);
    scaleFont(label, scale, QFont::Bold);
    return label;
}

PlainLabel* warningNote(const QString& text, QWidget* parent)
{
    auto* label = new PlainLabel(text, parent);
    scaleFont(label, 0.85, QFont::Normal);
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
    auto* button = new QPushButton(text, parent);
    button->setAutoDefault(false);
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(
        u"QPushButton { background: rgba(128, 128, 128, 30); border: 1px solid rgba(128, 128, 128, 80);"
        " border-radius: 6px; padding: 5px 14px; }"
        "QPushButton:hover { background: rgba(128, 128, 128, 50); }"
        "QPushButton:pressed { background: rgba(128, 128, 128, 80); }"_s);
    return button;
}

QPushButton* addPageHeader(
    const QString& title, const QString& addText, const QString& note, QWidget* page, QBoxLayout* column)
{
    auto* header = new QVBoxLayout;
    header->setContentsMargins(16, 14, 16, 12);
    header->setSpacing(8);
    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(heading(title, 1.4, page));
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
    button->setIcon(plusCircleIcon());
    button->setIconSize(QSize(15, 15));
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

} // namespace PageParts
