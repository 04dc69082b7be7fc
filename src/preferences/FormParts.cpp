#include "preferences/FormParts.h"

#include "widgets/PlainLabel.h"

#include <QFrame>
#include <QPalette>
#include <QSlider>
#include <QVBoxLayout>

namespace FormParts {

QVBoxLayout* section(const QString& title, QVBoxLayout* page)
{
    if (!title.isEmpty()) {
        auto* header = new PlainLabel(title);
        QFont font = header->font();
        font.setBold(true);
        font.setPointSizeF(font.pointSizeF() * 1.1);
        header->setFont(font);
        page->addWidget(header);
    }
    auto* panel = new QFrame;
    panel->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(panel);
    layout->setSpacing(12);
    page->addWidget(panel);
    return layout;
}

PlainLabel* caption(const QString& text, QWidget* parent)
{
    auto* label = new PlainLabel(text, parent);
    label->setWordWrap(true);
    QFont font = label->font();
    font.setBold(false);
    font.setPointSizeF(font.pointSizeF() * 0.85);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0x6E, 0x6E, 0x73));
    label->setPalette(palette);
    return label;
}

PlainLabel* valueLabel(int width, QWidget* parent)
{
    auto* label = new PlainLabel({}, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->setFixedWidth(width);
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
