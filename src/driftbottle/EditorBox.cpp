#include "driftbottle/EditorBox.h"

#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QVBoxLayout>

EditorBox::EditorBox(QPlainTextEdit* editor, const Look& look, QWidget* parent)
    : QWidget(parent)
    , m_editor(editor)
    , m_look(look)
{
    auto* layout = new QVBoxLayout(this);
    const int edge = (look.outline == QPalette::NoRole ? 0 : 1) + look.padding;
    layout->setContentsMargins(edge, edge, edge, edge);
    layout->addWidget(editor);
    editor->setFrameShape(QFrame::NoFrame);
    // Only the base is the editor's own: a style sheet would fix every other colour too, and
    // typed text would keep the old palette's colour after a switch.
    QPalette palette;
    palette.setColor(QPalette::Base, Qt::transparent);
    editor->setPalette(palette);
    editor->viewport()->setAutoFillBackground(false);
}

void EditorBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(box, m_look.radius, m_look.radius);
    if (m_look.fill.isValid())
        painter.fillPath(path, m_look.fill);
    if (m_look.outline != QPalette::NoRole) {
        painter.setPen(QPen(palette().color(m_look.outline), 1));
        painter.drawPath(path);
    }
}
