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

    explicit EmojiLabel(const QString& emoji = {}, int pointSize = 0, QWidget* parent = nullptr);

    /// The label's font at `pointSize` (the application's size for 0), emoji first.
    [[nodiscard]] static QFont emojiFont(const QFont& base, int pointSize);
};
