#include "widgets/EmojiLabel.h"

using namespace Qt::StringLiterals;

const QString EmojiLabel::emojiFamily = u"Noto Color Emoji"_s;

EmojiLabel::EmojiLabel(const QString& emoji, QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setFont(emojiFont(font()));
    setAlignment(Qt::AlignCenter);
    setText(emoji);
}

QFont EmojiLabel::emojiFont(const QFont& base)
{
    QFont font = base;
    // The text families stay behind the emoji font, for a digit or letter among the emoji.
    QStringList families = base.families();
    families.prepend(emojiFamily);
    font.setFamilies(families);
    return font;
}
