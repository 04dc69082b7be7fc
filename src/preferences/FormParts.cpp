#include "preferences/FormParts.h"

#include "widgets/PlainLabel.h"
#include "widgets/ReadableColour.h"
#include "widgets/SecondaryText.h"
#include "widgets/TextStyle.h"

#include <QFrame>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

namespace FormParts {

namespace {

PlainLabel* captionSized(const QString& text, QWidget* parent)
{
    auto* label = new PlainLabel(text, parent);
    label->setWordWrap(true);
    TextStyle::apply(label, TextStyle::Style::caption);
    return label;
}

} // namespace

QVBoxLayout* section(const QString& title, QVBoxLayout* page)
{
    if (!title.isEmpty()) {
        auto* header = new PlainLabel(title);
        TextStyle::apply(header, TextStyle::Style::headline);
        page->addWidget(header);
    }
    auto* panel = new QFrame;
    panel->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(panel);
    layout->setSpacing(12);
    page->addWidget(panel);
    return layout;
}

PlainLabel* text(const QString& text, TextStyle::Style style, QWidget* parent)
{
    auto* label = new PlainLabel(text, parent);
    TextStyle::apply(label, style);
    return label;
}

PlainLabel* text(const QString& text, TextStyle::Style style, QFont::Weight weight, QWidget* parent)
{
    auto* label = new PlainLabel(text, parent);
    TextStyle::apply(label, style, weight);
    return label;
}

PlainLabel* secondary(const QString& text, TextStyle::Style style, QWidget* parent)
{
    PlainLabel* label = FormParts::text(text, style, parent);
    SecondaryText::apply(label);
    return label;
}

PlainLabel* caption(const QString& text, QWidget* parent)
{
    PlainLabel* label = captionSized(text, parent);
    SecondaryText::apply(label);
    return label;
}

PlainLabel* tintedCaption(const QString& text, const QColor& colour, QWidget* parent)
{
    PlainLabel* label = captionSized(text, parent);
    ReadableColour::tint(label, colour);
    return label;
}

PlainLabel* valueLabel(int width, const QStringList& samples, QWidget* parent)
{
    auto* label = new PlainLabel({}, parent);
    TextStyle::apply(label, TextStyle::Style::body, QFont::Bold);
    const QFontMetrics metrics(label->font());
    int needed = 0;
    for (const QString& sample : samples)
        needed = std::max(needed, metrics.horizontalAdvance(sample) + 2);
    label->setFixedWidth(std::max(width, needed));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QSlider* slider(int minimum, int maximum, QWidget* parent)
{
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(minimum, maximum);
    slider->setSingleStep(1);
    slider->setPageStep(1);
    return slider;
}

} // namespace FormParts
