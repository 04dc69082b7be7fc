#pragma once

#include <QPalette>
#include <QToolButton>

class QFont;
class QPainter;

/// The close symbol of cards, sheets and bubbles: a filled disc with a cross cut out of it.
namespace CloseSymbol {

/// Draws the symbol into `box` (a square): the disc in `disc`, the cross in `cross`.
void paint(QPainter& painter, const QRectF& box, const QColor& disc, const QColor& cross);

/// The side, in pixels, of a symbol set beside text in `font` scaled by `scale`: its em,
/// so the symbol grows with the text it stands among.
[[nodiscard]] int sideFor(const QFont& font, qreal scale = 1.0);

} // namespace CloseSymbol

/// A plain button showing only the close symbol, `side` pixels square: the disc in the
/// secondary text colour of the surface it stands on, the cross in that surface's colour,
/// so the symbol reads as a hole in the disc. Drawn from the palette at each paint, so it
/// follows a change of palette at once. Its accessible name is "关闭".
class CloseSymbolButton final : public QToolButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CloseSymbolButton)

public:
    /// `surface` is the role of the colour its container paints behind it (the window's,
    /// or the base of a card).
    CloseSymbolButton(int side, QPalette::ColorRole surface = QPalette::Window, QWidget* parent = nullptr);

    [[nodiscard]] int side() const { return m_side; }
    /// The disc's colour in `palette`: the secondary form of the text drawn on `surface`.
    [[nodiscard]] static QColor discColour(const QPalette& palette, QPalette::ColorRole surface);

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_side;
    QPalette::ColorRole m_surface;
};
