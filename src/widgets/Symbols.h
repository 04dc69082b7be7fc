#pragma once

#include <QColor>
#include <QIcon>
#include <QPalette>
#include <QWidget>

class QAbstractButton;
class QPushButton;
class QPainter;

/// The program's one set of symbols: monochrome glyphs drawn from paths, all in one
/// line weight, each taking the colour it is given. A symbol whose screen names no colour
/// takes the text colour of where it stands, as text there would; nothing stands in with a
/// colour emoji.
namespace Symbols {

enum class Symbol {
    alarm,
    alarmFill,
    arrowClockwise,
    arrowshapeTurnUpLeftFill,
    arrowUpForwardSquare,
    bubbleLeftAndBubbleRight,
    checkmarkCircleFill,
    chevronRight,
    clock,
    cpu,
    desktopComputer,
    docOnDoc,
    docOnDocFill,
    envelope,
    envelopeCircleFill,
    envelopeFill,
    exclamationmarkTriangleFill,
    gamecontrollerFill,
    handPointUpBrailleFill,
    houseFill,
    infoCircle,
    keyFill,
    lock,
    lockFill,
    memoryChip,
    paintbrushFill,
    paperplane,
    paperplaneFill,
    pencilCircle,
    person,
    person2Fill,
    person2Slash,
    personBadgePlus,
    personCircleFill,
    personCropCircleBadgeQuestionmark,
    plusCircleFill,
    rectanglePortraitAndArrowRight,
    trash,
    trashCircle,
    trashFill,
    tray,
    trayAndArrowDown,
    wrenchAndScrewdriverFill,
    xmarkCircleFill,
};

/// The colours a screen gives a symbol. The named ones are the desktop's usual system
/// colours; like every stated colour they are shifted (hue kept) just as far as they must be
/// to stand out from the background at 3:1, the least a glyph needs to be made out.
enum class Tint {
    primary, ///< the text colour of the surface
    secondary, ///< the quieter text colour of the surface
    accent, ///< the palette's highlight
    blue,
    green,
    gray,
    red,
    orange,
    yellow,
};

/// The least contrast a symbol keeps against what it is drawn on.
inline constexpr double minimumContrast = 3.0;

/// Draws `symbol` into the square `box` in `colour` (used as given).
void paint(QPainter& painter, const QRectF& box, Symbol symbol, const QColor& colour);

/// `tint` as drawn on the `surface` role of `palette` (its text role is the one that goes
/// with the surface: Text on Base, ButtonText on Button, WindowText otherwise).
[[nodiscard]] QColor colour(Tint tint, const QPalette& palette, QPalette::ColorRole surface = QPalette::Window);

/// `tint` as drawn on `background` with `text` as the text colour there.
[[nodiscard]] QColor colourOn(Tint tint, const QColor& background, const QColor& text, const QColor& accent);

/// `tint` for `symbol` drawn `pixels` square on `background`: colourOn(), shifted further
/// (hue kept) where the glyph as drawn would not stand out at minimumContrast. Thin strokes
/// of a small glyph cover no pixel whole, and their smoothed pixels show a paler colour than
/// the one they are drawn in; the glyph is measured by its pixel that stands out most.
[[nodiscard]] QColor drawnColourOn(
    Symbol symbol, int pixels, Tint tint, const QColor& background, const QColor& text, const QColor& accent);

/// `colour` for `symbol` drawn `pixels` square on `background`: as given where the glyph as
/// drawn stands out at minimumContrast, otherwise shifted further from the background (hue
/// kept) until it does. For a symbol set in a colour of its own, such as its caption's.
[[nodiscard]] QColor drawnColour(Symbol symbol, int pixels, const QColor& colour, const QColor& background);

/// The contrast of `symbol` drawn `pixels` square in `colour` on opaque `background`, by the
/// pixel of the glyph that stands out most.
[[nodiscard]] double drawnContrast(Symbol symbol, int pixels, const QColor& colour, const QColor& background);

/// An icon of `symbol` in `colour`, `side` pixels square (sharp on high-density screens).
[[nodiscard]] QIcon icon(Symbol symbol, int side, const QColor& colour);

/// Gives `button` the icon of `symbol`, `side` pixels square, in `tint` on the surface the
/// button stands on, now and whenever the palette changes.
void setButtonSymbol(QAbstractButton* button, Symbol symbol, Tint tint, int side);

/// A button in the plain style showing `symbol` alone, `side` pixels square in `tint`:
/// no face and no room around it but the line that shows the keyboard focus.
[[nodiscard]] QPushButton* symbolButton(Symbol symbol, Tint tint, int side, QWidget* parent = nullptr);

/// The close button of cards, sheets and bubbles: "xmark.circle.fill" in the secondary
/// colour, `side` pixels square, named "关闭" for screen readers and in its tool tip.
[[nodiscard]] QPushButton* closeButton(int side, QWidget* parent = nullptr);

} // namespace Symbols

/// A symbol standing on its own, `side` pixels square, in a tint drawn from the palette at
/// every paint, so it follows a change of palette at once.
class SymbolView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SymbolView)

public:
    /// `surface` is the role of the colour its container paints behind it; where that colour
    /// is see-through, what shows through it counts.
    SymbolView(Symbols::Symbol symbol, int side, Symbols::Tint tint, QWidget* parent = nullptr,
        QPalette::ColorRole surface = QPalette::Window);

    void setSymbol(Symbols::Symbol symbol);
    void setTint(Symbols::Tint tint);
    void setSide(int side);
    [[nodiscard]] Symbols::Symbol symbol() const { return m_symbol; }
    [[nodiscard]] Symbols::Tint tint() const { return m_tint; }
    /// The colour it draws in now.
    [[nodiscard]] QColor drawnColour() const;
    /// The opaque colour it stands on.
    [[nodiscard]] QColor background() const;

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Symbols::Symbol m_symbol;
    Symbols::Tint m_tint;
    int m_side;
    QPalette::ColorRole m_surface;
};
