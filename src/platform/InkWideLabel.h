#pragma once

#include <QLabel>
#include <QRect>

/// An emoji label as wide as the glyph it draws. A sequence such as 🏃🏻‍♀️ is one glyph of
/// the colour font, which a text font's measure takes for several, and the colour font's
/// glyph can stand well inside its advance: what follows stands its spacing from the emoji
/// as drawn, not from the room the font leaves around it. Plain text only.
class InkWideLabel final : public QLabel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(InkWideLabel)

public:
    InkWideLabel(const QString& text, const QFont& font, QWidget* parent = nullptr);

    /// Shows `text`, measured anew.
    void setEmoji(const QString& text);

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void measure();

    QRect m_ink;
    int m_advance = 0;
};
