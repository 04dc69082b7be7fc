#pragma once

#include <QLabel>
#include <QStringList>

/// Plain text wrapped into at most a few lines of a set width, centred, a run too long for a
/// line broken anywhere, and the last line ended with "…" when more would follow.
///
/// The breaks exist only where the text is drawn: text() stays the text as given, so a
/// screen reader or a copy gets it unchanged.
class WrappedLabel final : public QLabel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WrappedLabel)

public:
    WrappedLabel(int lineWidth, int maxLines, QWidget* parent = nullptr);

    /// Replaces QLabel::setText, which is not virtual: call it on a WrappedLabel.
    void setText(const QString& text);
    /// The lines as drawn.
    [[nodiscard]] const QStringList& shownLines() const { return m_lines; }

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void layOut();

    int m_lineWidth;
    int m_maxLines;
    int m_lineHeight = 0;
    QStringList m_lines;
};
