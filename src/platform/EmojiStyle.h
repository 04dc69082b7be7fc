#pragma once

#include <QList>
#include <QProxyStyle>
#include <QString>
#include <QTextLayout>

/// Draws emoji in colour. A plain font that also has a black-and-white emoji glyph (DejaVu
/// Sans has 😉) would otherwise win over the colour emoji font, and a sequence such as
/// 🏃🏻‍♀️ whose parts come from two fonts falls apart into two glyphs. Wrapping the
/// application's style, it draws every text that holds emoji with the colour emoji font
/// first for the emoji runs; labels, menus and buttons all draw their texts through here.
class EmojiStyle final : public QProxyStyle
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EmojiStyle)

public:
    /// One emoji sequence in a text: where it starts and how many UTF-16 units it spans.
    struct Run
    {
        qsizetype start = 0;
        qsizetype length = 0;
        friend bool operator==(const Run&, const Run&) = default;
    };

    /// Wraps `base` (the application's current style when null).
    explicit EmojiStyle(QStyle* base = nullptr);

    /// Wraps the application's style in one, once a QApplication exists: every widget the
    /// program shows from then on draws its emoji through it.
    static void installOnApplication();

    /// The emoji sequences of a text: pictographs with their skin-tone modifiers,
    /// presentation selectors, keycaps, tags, flags and zero-width-joined parts.
    [[nodiscard]] static QList<Run> emojiRuns(const QString& text);
    /// The colour emoji font's family, or an empty text when none is installed.
    [[nodiscard]] static QString colorEmojiFamily();
    /// Formats that give the emoji sequences of `text` the colour font, for a text layout.
    [[nodiscard]] static QList<QTextLayout::FormatRange> emojiFormats(const QString& text);
    /// The width of `text` in `font` as drawn here, its emoji sequences in the colour font:
    /// a sequence whose parts come from several fonts measures far wider than its one glyph.
    [[nodiscard]] static qreal horizontalAdvance(const QString& text, const QFont& font);
    /// Where `text`, drawn here in `font` with its top left at the origin, puts ink: a colour
    /// emoji can stand well inside its advance (Noto's runner is a third of its width).
    [[nodiscard]] static QRect inkBounds(const QString& text, const QFont& font);
    /// Draws `text` like QPainter::drawText with the painter's font and pen, its emoji
    /// sequences in the colour font; for item delegates, which paint past the style.
    static void drawText(QPainter& painter, const QRect& rect, int flags, const QString& text);

    using QProxyStyle::polish;
    /// Line edits and text editors lay out their own text: they are given the colour font
    /// for emoji here, as every widget passes through when it is first shown.
    void polish(QWidget* widget) override;

    void drawItemText(QPainter* painter, const QRect& rect, int flags, const QPalette& palette, bool enabled,
        const QString& text, QPalette::ColorRole textRole = QPalette::NoRole) const override;
    /// Menu items draw their labels without asking for drawItemText: an item whose label
    /// holds emoji is drawn without it, and the label is then drawn where the style puts it.
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
        const QWidget* widget = nullptr) const override;

    /// A menu item whose label holds emoji is as wide as the label drawn in the colour font.
    [[nodiscard]] QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contentsSize,
        const QWidget* widget = nullptr) const override;

private:
    [[nodiscard]] static qreal drawnWidth(const QString& text, const QFont& font, const QList<Run>& runs);
    [[nodiscard]] static QList<QTextLayout::FormatRange> formatsOf(const QList<Run>& runs);
    /// Lays `shown` out in `rect` with the colour font for `runs` and draws it with the
    /// painter's pen.
    static void drawRuns(QPainter& painter, const QRect& rect, int flags, const QString& shown, const QList<Run>& runs);
};
