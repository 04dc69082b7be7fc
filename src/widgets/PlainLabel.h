#pragma once

#include <QLabel>

class QTextLayout;

/// A label that never reads its text as markup: "<b>x</b>" from a user or the server shows
/// literally. Optionally elides a single line that does not fit, keeping the whole text in
/// the tool tip, so a long address or nickname never stretches a fixed-size form.
class PlainLabel final : public QLabel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PlainLabel)

public:
    explicit PlainLabel(const QString& text = {}, QWidget* parent = nullptr);

    /// Qt::ElideNone (the default) shows the text as it is. Otherwise a line too long for the
    /// label is drawn cut with "…" and the whole text goes to the tool tip; text(), what a
    /// screen reader reads and what a copy takes, stay the text as given.
    void setElideMode(Qt::TextElideMode mode);
    /// Wraps the text into at most `lines` lines (fewer when the label is not that tall),
    /// breaking Chinese anywhere and other text at word boundaries; what does not fit ends
    /// the last line with "…" and the whole text goes to the tool tip. The lines break only
    /// where they are drawn: text(), what a screen reader reads and what a copy takes, stay
    /// the text as given. While wrapping anywhere, 0 lifts the limit.
    void setLineLimit(int lines);
    /// Wraps at word boundaries and breaks a run too long for one line (an address, a token)
    /// anywhere inside it, without changing the text: what a screen reader reads and what a
    /// copy takes is the text as given. A line limit then caps the lines drawn, the last
    /// ending in "…", and leaves the tool tip to the owner (isCut()). The text stays
    /// selectable with the mouse where the label's interaction flags allow it.
    void setWrapAnywhere(bool wrap);
    /// Whether the lines drawn leave some of the text out (with a line limit).
    [[nodiscard]] bool isCut() const;
    /// Replaces QLabel::setText, which is not virtual: call it on a PlainLabel.
    void setText(const QString& text);
    /// The whole text, also while the shown one is elided.
    [[nodiscard]] QString fullText() const { return m_fullText; }

    [[nodiscard]] QSize minimumSizeHint() const override;
    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] bool hasHeightForWidth() const override;
    [[nodiscard]] int heightForWidth(int width) const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    struct Lines;
    void updateShownText();
    /// Lays out the text in `width` pixels and at most `limit` lines (0: no limit); the lines
    /// drawn, how tall they stand and whether some of the text is left out.
    [[nodiscard]] Lines layOut(QTextLayout& layout, int width, int limit) const;
    /// Whether the label lays out and draws its lines itself rather than leaving them to QLabel.
    [[nodiscard]] bool drawsOwnLines() const;
    /// The most lines drawn in the label's present size.
    [[nodiscard]] int shownLineLimit() const;
    [[nodiscard]] QRect textRoom() const;
    /// QLabel's hint for one unwrapped line, widened where the line's emoji, drawn in the
    /// colour font, run wider than the label's own font measures them.
    [[nodiscard]] QSize withEmojiRoom(QSize hint) const;
    /// Where a single elided line is drawn, as QLabel places its text.
    [[nodiscard]] QRect elisionRoom() const;
    /// The text as drawn in one line in the present width, "…" standing for what does not fit.
    [[nodiscard]] QString elidedText() const;
    /// The position in the text nearest to `point`.
    [[nodiscard]] int positionAt(const QPoint& point) const;
    [[nodiscard]] bool selectsWithMouse() const;

    bool m_wrapAnywhere = false;
    int m_anchor = -1;

    QString m_fullText;
    Qt::TextElideMode m_elideMode = Qt::ElideNone;
    int m_lineLimit = 0;
};
