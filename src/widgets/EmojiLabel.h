#pragma once

#include <QLabel>

/// A label for emoji glyphs, drawn with the colour-emoji font so they keep their colours
/// instead of falling back to a monochrome outline in the text font. Plain text only.
class EmojiLabel final : public QLabel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EmojiLabel)

public:
    static const QString emojiFamily;

    /// The label takes the application font's size; screens that state one set a font from
    /// the type scale with emojiFont().
    explicit EmojiLabel(const QString& emoji = {}, QWidget* parent = nullptr);

    /// `base` (size and all) with the emoji font first.
    [[nodiscard]] static QFont emojiFont(const QFont& base);

    /// Without an emoji the label asks for no room: QLabel would measure its empty text in
    /// the emoji font as thousands of pixels wide.
    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

private:
    [[nodiscard]] bool isEmpty() const;
    [[nodiscard]] QSize emptySize() const;
};
