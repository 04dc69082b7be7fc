#include "ScreenLook.h"

#include "platform/EmojiStyle.h"
#include "preferences/SystemResourceView.h"
#include "support/DrawnText.h"
#include "support/Wait.h"
#include "widgets/Symbols.h"

#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

#include <algorithm>
#include <map>

using namespace Qt::StringLiterals;

namespace {

/// The typed text of the editors and fields in `root`: text laid out by a document comes to
/// the painter as glyphs without characters, so it is found here instead.
QList<Look::Field> fieldsIn(QWidget* root)
{
    QList<Look::Field> fields;
    const auto add = [&](QWidget* field, QWidget* surface, QRect text, QRect caret, const QString& words) {
        const QRect shown = surface->visibleRegion().boundingRect();
        text &= shown;
        if (words.trimmed().isEmpty() || !field->isVisibleTo(root) || !field->isEnabled() || text.isEmpty())
            return;
        const QPoint at = surface->mapTo(root, QPoint());
        fields.append({ text.translated(at), caret.translated(at).adjusted(-1, -1, 1, 1),
            u"\""_s + words.left(20) + u"\" in "_s + nameOf(field) });
    };
    for (QPlainTextEdit* editor : root->findChildren<QPlainTextEdit*>()) {
        QTextCursor start(editor->document());
        QTextCursor end(editor->document()->firstBlock());
        end.movePosition(QTextCursor::EndOfBlock);
        const QRect first = editor->cursorRect(start) | editor->cursorRect(end);
        const QRect block(0, first.top(), editor->viewport()->width(), first.height());
        add(editor, editor->viewport(), block, editor->cursorRect(), editor->toPlainText());
    }
    for (QLineEdit* line : root->findChildren<QLineEdit*>()) {
        if (line->echoMode() != QLineEdit::Normal)
            continue;
        QStyleOptionFrame option;
        option.initFrom(line);
        const QRect contents = line->style()->subElementRect(QStyle::SE_LineEditContents, &option, line);
        add(line, line, contents, line->inputMethodQuery(Qt::ImCursorRectangle).toRect(), line->text());
    }
    return fields;
}

QString sequencesOf(const QString& text)
{
    QString sequences;
    for (const EmojiStyle::Run& run : EmojiStyle::emojiRuns(text))
        sequences += text.mid(run.start, run.length);
    return sequences;
}

/// The emoji of the text the editors and fields in `root` show, each where it is drawn.
QList<Look::Emoji> emojiInFields(QWidget* root)
{
    QList<Look::Emoji> found;
    const auto inDocument = [&](auto* editor) {
        if (!editor->isVisibleTo(root))
            return;
        const QRect shown = editor->viewport()->visibleRegion().boundingRect();
        const QPoint at = editor->viewport()->mapTo(root, QPoint());
        for (QTextBlock block = editor->document()->begin(); block.isValid(); block = block.next()) {
            for (const EmojiStyle::Run& run : EmojiStyle::emojiRuns(block.text())) {
                QTextCursor cursor(block);
                cursor.setPosition(block.position() + int(run.start));
                const QRect start = editor->cursorRect(cursor);
                cursor.setPosition(block.position() + int(run.start + run.length));
                const QRect end = editor->cursorRect(cursor);
                // A sequence is drawn as one glyph on one line, from its start to its end.
                const QRect box = QRect(start.topLeft(), QPoint(end.left(), start.bottom())) & shown;
                if (!box.isEmpty())
                    found.append(
                        { box.translated(at), block.text().mid(run.start, run.length) + u" in "_s + nameOf(editor),
                            block.text().mid(run.start, run.length), true });
            }
        }
    };
    for (QPlainTextEdit* editor : root->findChildren<QPlainTextEdit*>())
        inDocument(editor);
    for (QTextEdit* editor : root->findChildren<QTextEdit*>())
        inDocument(editor);
    for (QLineEdit* line : root->findChildren<QLineEdit*>()) {
        if (!line->isVisibleTo(root) || line->echoMode() != QLineEdit::Normal)
            continue;
        const QList<EmojiStyle::Run> runs = EmojiStyle::emojiRuns(line->text());
        if (runs.isEmpty())
            continue;
        // A field keeps where it lays out each character to itself: its whole text is looked at.
        QStyleOptionFrame option;
        option.initFrom(line);
        const QRect contents = line->style()->subElementRect(QStyle::SE_LineEditContents, &option, line);
        found.append({ contents.translated(line->mapTo(root, QPoint())), line->text() + u" in "_s + nameOf(line),
            sequencesOf(line->text()), false });
    }
    return found;
}

QImage over(const QImage& picture, const QColor& desktop)
{
    QImage image(picture.size(), QImage::Format_RGB32);
    image.fill(desktop);
    QPainter painter(&image);
    painter.drawImage(0, 0, picture);
    return image;
}

} // namespace

QString wordsOf(const PaintedText& text, const QWidget* at)
{
    if (!text.text.contains(glyphRun))
        return text.text;
    for (; at; at = at->parentWidget()) {
        if (const auto* editor = qobject_cast<const QPlainTextEdit*>(at))
            return editor->toPlainText().left(20);
        if (const auto* editor = qobject_cast<const QTextEdit*>(at))
            return editor->toPlainText().left(20);
    }
    return u"(glyphs)"_s;
}

QString nameOf(const QWidget* widget)
{
    if (!widget)
        return u"?"_s;
    const QString name = widget->objectName();
    return QString::fromLatin1(widget->metaObject()->className()) + (name.isEmpty() ? QString() : u"#"_s + name);
}

void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

Look lookOf(QWidget* root)
{
    // A focused field draws its ring only in the active window. With no window manager the
    // X server hands the keyboard to whatever window is under the pointer, which other
    // tests on the display leave anywhere; every picture is taken active, as a user sees
    // the screen they work in, so that pictures of one screen compare alike.
    if (root->isWindow() && !root->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus)) {
        root->activateWindow();
        waitUntil([root] { return root->isActiveWindow(); }, 1000);
    }
    settle();
    Look look;
    const QImage picture = root->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    look.overLight = over(picture, Qt::white);
    bool translucent = false;
    for (int y = 0; y < picture.height() && !translucent; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        translucent = std::any_of(row, row + picture.width(), [](QRgb pixel) { return qAlpha(pixel) < 255; });
    }
    // A screen that lets the desktop through is read over a light and a dark one.
    look.overDark = translucent ? over(picture, Qt::black) : look.overLight;
    look.painted = paintedBy(root);
    look.fields = fieldsIn(root);
    look.emoji = emojiInFields(root);
    // Running text painted with its characters: a line of a card, a label, a row. An emoji
    // drawn alone (an avatar, a button's mark) is a picture, drawn in the emoji font by itself.
    for (const PaintedText& text : look.painted.texts) {
        const QRect seen = text.ink.intersected(text.clip);
        const qsizetype sequences = EmojiStyle::emojiRuns(text.text).size();
        if (seen.isEmpty() || sequences == 0)
            continue;
        const bool alone = sequences == 1 && isEmojiOnly(text.text);
        const bool inWords = !alone
            || std::any_of(look.painted.texts.cbegin(), look.painted.texts.cend(), [&](const PaintedText& other) {
                   return !isEmojiOnly(other.text) && readable(other.text) && other.clip == text.clip
                       && std::abs(other.line.bottom() - text.line.bottom()) <= 3
                       && other.line.left() - text.line.right() <= text.pixelSize
                       && text.line.left() - other.line.right() <= text.pixelSize;
               });
        if (inWords)
            look.emoji.append(
                { seen, text.text + u" in "_s + nameOf(root->childAt(seen.center())), sequencesOf(text.text), alone });
    }
    for (SymbolView* symbol : root->findChildren<SymbolView*>()) {
        const QRect seen = symbol->visibleRegion().boundingRect();
        if (symbol->isVisibleTo(root) && symbol->isEnabled() && !seen.isEmpty())
            look.glyphs.append({ seen.translated(symbol->mapTo(root, QPoint())), nameOf(symbol) });
    }
    for (SystemResourceView* view : root->findChildren<SystemResourceView*>()) {
        const QWidget* meter = view->findChild<QWidget*>(u"cpuIndicator"_s);
        if (meter && meter->isVisibleTo(root))
            look.meters.append({ QRect(meter->mapTo(root, QPoint()), meter->size()),
                ResourceFigures::litBars(view->cpuUsage()), nameOf(meter) });
    }
    return look;
}

double contrastIn(const QImage& image, const QRect& area)
{
    const QRect box = area.intersected(image.rect());
    if (box.isEmpty())
        return 21;
    const QColor under = dominantColour(image, box.adjusted(-3, -3, 3, 3));
    double best = 1;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            best = std::max(best, contrastRatio(image.pixelColor(x, y), under));
    return best;
}

bool manyColoured(const QImage& image, const QRect& area)
{
    const QRect box = area.intersected(image.rect());
    const QColor under = dominantColour(image, box.adjusted(-3, -3, 3, 3));
    std::map<int, int> hues;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.hsvSaturation() > 90 && pixel.value() > 60 && contrastRatio(pixel, under) > 1.3)
                ++hues[pixel.hsvHue() / 40];
        }
    }
    int kinds = 0;
    for (const auto& [hue, count] : hues)
        kinds += count >= 4 ? 1 : 0;
    return kinds >= 2;
}

bool readable(const QString& text)
{
    if (text.contains(glyphRun))
        return true;
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isLetterOrNumber(); });
}

QList<PaintedText> linesOf(const QList<PaintedText>& runs)
{
    QList<PaintedText> lines;
    for (const PaintedText& run : runs) {
        if (isEmojiOnly(run.text))
            continue;
        bool joined = false;
        for (PaintedText& line : lines) {
            const bool sameLine = std::abs(line.line.bottom() - run.line.bottom()) <= 3 && line.clip == run.clip;
            const bool touching = run.line.left() - line.line.right() <= run.pixelSize
                && line.line.left() - run.line.right() <= run.pixelSize;
            if (sameLine && touching) {
                line.text += run.text;
                line.line |= run.line;
                line.ink |= run.ink;
                line.pixelSize = std::min(line.pixelSize, run.pixelSize);
                joined = true;
                break;
            }
        }
        if (!joined)
            lines.append(run);
    }
    return lines;
}
