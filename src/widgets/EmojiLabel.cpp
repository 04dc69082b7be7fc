#include "widgets/EmojiLabel.h"

using namespace Qt::StringLiterals;

const QString EmojiLabel::emojiFamily = u"Noto Color Emoji"_s;

EmojiLabel::EmojiLabel(const QString& emoji, int pointSize, QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setFont(emojiFont(font(), pointSize));
    setAlignment(Qt::AlignCenter);
    setText(emoji);
}

QFont EmojiLabel::emojiFont(const QFont& base, int pointSize)
{
    QFont font = base;
    // The text families stay behind the emoji font, for a digit or letter among the emoji.
    QStringList families = base.families();
    families.prepend(emojiFamily);
    font.setFamilies(families);
    if (pointSize > 0)
        font.setPointSize(pointSize);
    return font;
}
