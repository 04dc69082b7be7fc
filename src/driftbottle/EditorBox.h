#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

class QPlainTextEdit;

/// The rounded box round a text editor that draws no face of its own: a faint fill, an
/// outline, or both, behind the editor's text. The editor keeps every colour of the palette
/// but its base, so its text follows a change of palette like any other; the box takes its
/// outline from the palette at every paint.
class EditorBox final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EditorBox)

public:
    struct Look
    {
        QColor fill; ///< laid over what is behind the box; invalid for none
        QPalette::ColorRole outline = QPalette::NoRole; ///< a one-pixel line; NoRole for none
        int radius = 8;
        int padding = 0; ///< between the outline and the editor
    };

    EditorBox(QPlainTextEdit* editor, const Look& look, QWidget* parent = nullptr);

    [[nodiscard]] QPlainTextEdit* editor() const { return m_editor; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPlainTextEdit* m_editor;
    Look m_look;
};
