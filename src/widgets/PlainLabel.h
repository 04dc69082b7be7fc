#pragma once

#include <QLabel>

/// A label that never reads its text as markup: "<b>x</b>" from a user or the server shows
/// literally. Optionally elides a single line that does not fit, keeping the whole text in
/// the tool tip, so a long address or nickname never stretches a fixed-size form.
class PlainLabel final : public QLabel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PlainLabel)

public:
    explicit PlainLabel(const QString& text = {}, QWidget* parent = nullptr);

    /// Qt::ElideNone (the default) shows the text as it is.
    void setElideMode(Qt::TextElideMode mode);
    /// Wraps the text into at most `lines` lines (fewer when the label is not that tall),
    /// breaking Chinese anywhere and other text at word boundaries; what does not fit ends
    /// the last line with "…" and the whole text goes to the tool tip.
    void setLineLimit(int lines);
    /// Replaces QLabel::setText, which is not virtual: call it on a PlainLabel.
    void setText(const QString& text);
    /// The whole text, also while the shown one is elided.
    [[nodiscard]] QString fullText() const { return m_fullText; }

    [[nodiscard]] QSize minimumSizeHint() const override;
    [[nodiscard]] QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateShownText();

    QString m_fullText;
    Qt::TextElideMode m_elideMode = Qt::ElideNone;
    int m_lineLimit = 0;
};
