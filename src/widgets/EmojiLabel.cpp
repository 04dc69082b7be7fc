#include "widgets/EmojiLabel.h"

#include <QPixmap>

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

bool EmojiLabel::isEmpty() const
{
    return text().isEmpty() && pixmap().isNull();
}

QSize EmojiLabel::emptySize() const
{
    const QMargins around = contentsMargins() + QMargins(margin(), margin(), margin(), margin());
    return { around.left() + around.right(), around.top() + around.bottom() };
}

QSize EmojiLabel::sizeHint() const
{
    return isEmpty() ? emptySize() : QLabel::sizeHint();
}

QSize EmojiLabel::minimumSizeHint() const
{
    return isEmpty() ? emptySize() : QLabel::minimumSizeHint();
}
