#include "widgets/PlainLabel.h"

#include "platform/EmojiStyle.h"
#include "platform/TextFitting.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QStyle>
#include <QTextBoundaryFinder>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

struct PlainLabel::Lines
{
    int shown = 0; ///< lines drawn
    qreal height = 0;
    bool cut = false;
};

PlainLabel::PlainLabel(const QString& text, QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setText(text);
}

void PlainLabel::setElideMode(Qt::TextElideMode mode)
{
    m_elideMode = mode;
    if (mode != Qt::ElideNone)
        setSizePolicy(QSizePolicy::Ignored, sizePolicy().verticalPolicy());
    updateShownText();
}

void PlainLabel::setWrapAnywhere(bool wrap)
{
    m_wrapAnywhere = wrap;
    if (wrap) {
        setWordWrap(true);
        // The line limit caps the lines drawn; nothing is elided into the text itself.
        m_elideMode = Qt::ElideNone;
    }
    updateShownText();
    updateGeometry();
    update();
}

bool PlainLabel::isCut() const
{
    if (!drawsOwnLines())
        return false;
    QTextLayout layout;
    return layOut(layout, textRoom().width(), shownLineLimit()).cut;
}

bool PlainLabel::drawsOwnLines() const
{
    return m_wrapAnywhere || m_lineLimit > 0;
}

int PlainLabel::shownLineLimit() const
{
    if (m_wrapAnywhere)
        return m_lineLimit;
    // Fewer lines when the label is not tall enough for all of them, but always one.
    const QFontMetrics metrics = fontMetrics();
    return std::clamp((textRoom().height() + metrics.leading()) / std::max(1, metrics.lineSpacing()), 1, m_lineLimit);
}

void PlainLabel::setText(const QString& text)
{
    m_fullText = text;
    updateShownText();
}

void PlainLabel::setLineLimit(int lines)
{
    m_lineLimit = std::max(m_wrapAnywhere ? 0 : 1, lines);
    // The lines break where they are drawn, so the text itself stays whole: a screen reader
    // reads, and a copy takes, the text as given. The label gives up width as an elided one does.
    if (!m_wrapAnywhere)
        setSizePolicy(QSizePolicy::Ignored, sizePolicy().verticalPolicy());
    updateShownText();
    updateGeometry();
    update();
}

QSize PlainLabel::sizeHint() const
{
    if (m_wrapAnywhere) {
        // As wide as the text on one line, up to a comfortable measure, and as tall as that takes.
        QTextLayout layout;
        (void)layOut(layout, QWIDGETSIZE_MAX, m_lineLimit);
        const QMargins around = contentsMargins() + QMargins(margin(), margin(), margin(), margin());
        const int natural = int(std::ceil(layout.maximumWidth())) + around.left() + around.right();
        const int width = std::min(natural, fontMetrics().averageCharWidth() * 60);
        return { width, heightForWidth(width) };
    }
    if (m_lineLimit == 0)
        return withEmojiRoom(QLabel::sizeHint());
    // As tall as the lines the text takes in the present width, up to the limit.
    QTextLayout layout;
    const Lines lines = layOut(layout, textRoom().width(), m_lineLimit);
    const QMargins around = contentsMargins() + QMargins(margin(), margin(), margin(), margin());
    const int height = std::max(fontMetrics().height(), int(std::ceil(lines.height)));
    return { minimumSizeHint().width(), height + around.top() + around.bottom() };
}

QSize PlainLabel::minimumSizeHint() const
{
    if (m_wrapAnywhere) {
        const int width = std::min(sizeHint().width(), fontMetrics().averageCharWidth() * 12);
        return { width, heightForWidth(width) };
    }
    if (m_lineLimit > 0)
        return { fontMetrics().horizontalAdvance(QChar(0x2026)), fontMetrics().height() };
    if (m_elideMode == Qt::ElideNone)
        return withEmojiRoom(QLabel::minimumSizeHint());
    return { fontMetrics().horizontalAdvance(QChar(0x2026)), QLabel::minimumSizeHint().height() };
}

QSize PlainLabel::withEmojiRoom(QSize hint) const
{
    if (wordWrap() || text().contains(u'\n') || EmojiStyle::emojiRuns(text()).isEmpty())
        return hint;
    const QMargins around = contentsMargins() + QMargins(margin(), margin(), margin(), margin());
    const int drawn = int(std::ceil(EmojiStyle::horizontalAdvance(text(), font()))) + around.left() + around.right();
    return { std::max(hint.width(), drawn), hint.height() };
}

void PlainLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    updateShownText();
    // The lines a limited label takes, and so its height, follow its width.
    if (!m_wrapAnywhere && m_lineLimit > 0 && event->size().width() != event->oldSize().width())
        updateGeometry();
}

void PlainLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    // Whether the text fits, and so the tool tip, follows the font.
    if (event->type() == QEvent::FontChange)
        updateShownText();
}

bool PlainLabel::hasHeightForWidth() const
{
    return m_wrapAnywhere || QLabel::hasHeightForWidth();
}

int PlainLabel::heightForWidth(int width) const
{
    if (!m_wrapAnywhere)
        return QLabel::heightForWidth(width);
    const QMargins around = contentsMargins() + QMargins(margin(), margin(), margin(), margin());
    QTextLayout layout;
    const Lines lines = layOut(layout, width - around.left() - around.right(), m_lineLimit);
    return int(std::ceil(lines.height)) + around.top() + around.bottom();
}

QRect PlainLabel::textRoom() const
{
    return contentsRect().adjusted(margin(), margin(), -margin(), -margin());
}

PlainLabel::Lines PlainLabel::layOut(QTextLayout& layout, int width, int limit) const
{
    // A line separator breaks a line as the newline does, one character for one, so positions
    // in the layout are positions in the text.
    QString laid = QLabel::text();
    laid.replace(u'\n', QChar::LineSeparator);
    layout.setText(laid);
    layout.setFont(font());
    QTextOption option(QStyle::visualAlignment(layoutDirection(), alignment()) & Qt::AlignHorizontal_Mask);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    // Emoji in the colour font, as the style draws them in every other label.
    layout.setFormats(EmojiStyle::emojiFormats(laid));
    Lines lines;
    layout.beginLayout();
    for (;;) {
        if (limit > 0 && lines.shown == limit) {
            // No line past the limit is made: a line without a width takes all the rest.
            const QTextLine last = layout.lineAt(lines.shown - 1);
            lines.cut = last.textStart() + last.textLength() < laid.size();
            break;
        }
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(std::max(1, width));
        line.setPosition(QPointF(0, lines.height));
        lines.height += line.height();
        ++lines.shown;
    }
    layout.endLayout();
    return lines;
}

QRect PlainLabel::elisionRoom() const
{
    // Where QLabel draws a line of text: inside the margin, and inside the indent a frame brings.
    QRect room = textRoom();
    int indent = this->indent();
    if (indent < 0 && frameWidth() > 0)
        indent = fontMetrics().horizontalAdvance(u'x') / 2 - margin();
    if (indent > 0) {
        const Qt::Alignment align = QStyle::visualAlignment(layoutDirection(), alignment());
        if (align & Qt::AlignLeft)
            room.setLeft(room.left() + indent);
        if (align & Qt::AlignRight)
            room.setRight(room.right() - indent);
        if (align & Qt::AlignTop)
            room.setTop(room.top() + indent);
        if (align & Qt::AlignBottom)
            room.setBottom(room.bottom() - indent);
    }
    return room;
}

QString PlainLabel::elidedText() const
{
    if (m_elideMode == Qt::ElideNone || drawsOwnLines())
        return m_fullText;
    return fontMetrics().elidedText(m_fullText, m_elideMode, elisionRoom().width());
}

void PlainLabel::paintEvent(QPaintEvent* event)
{
    if (!drawsOwnLines()) {
        const QString shown = elidedText();
        if (shown == m_fullText) {
            QLabel::paintEvent(event);
            return;
        }
        // Cut where it is drawn only: the text a screen reader reads and a copy takes stays whole.
        QPainter painter(this);
        drawFrame(&painter);
        // Aligned and directed as QLabel aligns a text of its own.
        const bool rightToLeft = m_fullText.isRightToLeft();
        const int flags = int(QStyle::visualAlignment(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight, alignment()))
            | (rightToLeft ? Qt::TextForceRightToLeft : Qt::TextForceLeftToRight);
        style()->drawItemText(&painter, elisionRoom(), flags, palette(), isEnabled(), shown, foregroundRole());
        return;
    }
    QPainter painter(this);
    drawFrame(&painter);
    const QRect room = textRoom();
    QTextLayout layout;
    const Lines lines = layOut(layout, room.width(), shownLineLimit());
    qreal top = room.top();
    if (alignment() & Qt::AlignBottom)
        top = room.bottom() + 1 - lines.height;
    else if (alignment() & Qt::AlignVCenter)
        top += (room.height() - lines.height) / 2;
    const QPointF origin(room.left(), top);

    QList<QTextLayout::FormatRange> selections;
    if (hasSelectedText()) {
        QTextLayout::FormatRange selected;
        selected.start = selectionStart();
        selected.length = int(selectedText().size());
        selected.format.setBackground(palette().brush(QPalette::Highlight));
        selected.format.setForeground(palette().brush(QPalette::HighlightedText));
        selections << selected;
    }
    painter.setPen(palette().color(foregroundRole()));
    if (!lines.cut) {
        layout.draw(&painter, origin, selections);
        return;
    }
    // Every line but the last whole; the last takes the rest of the text, ended in "…".
    const QTextLine last = layout.lineAt(lines.shown - 1);
    // A clip with no height would clip nothing: with one line shown, only the elided one is drawn.
    if (lines.shown > 1)
        layout.draw(&painter, origin, selections, QRectF(origin, QSizeF(room.width(), last.y())));
    const QString rest = QLabel::text().mid(last.textStart()).simplified();
    const QString elided = fontMetrics().elidedText(rest, Qt::ElideRight, room.width());
    painter.setFont(font());
    const QRectF line(origin.x(), origin.y() + last.y(), room.width(), last.height());
    EmojiStyle::drawText(painter, line.toAlignedRect(), int(alignment() & Qt::AlignHorizontal_Mask), elided);
}

bool PlainLabel::selectsWithMouse() const
{
    return drawsOwnLines() && (textInteractionFlags() & Qt::TextSelectableByMouse);
}

int PlainLabel::positionAt(const QPoint& point) const
{
    const QRect room = textRoom();
    QTextLayout layout;
    const Lines lines = layOut(layout, room.width(), shownLineLimit());
    if (lines.shown == 0)
        return 0;
    const qreal y = point.y() - room.top();
    int index = 0;
    while (index + 1 < lines.shown && layout.lineAt(index).y() + layout.lineAt(index).height() <= y)
        ++index;
    return layout.lineAt(index).xToCursor(point.x() - room.left());
}

void PlainLabel::mousePressEvent(QMouseEvent* event)
{
    if (!selectsWithMouse() || event->button() != Qt::LeftButton) {
        QLabel::mousePressEvent(event);
        return;
    }
    // QLabel would place the selection by its own layout, which breaks lines elsewhere.
    m_anchor = positionAt(event->position().toPoint());
    setSelection(m_anchor, 0);
    if (focusPolicy() & Qt::ClickFocus)
        setFocus(Qt::MouseFocusReason);
    update();
    event->accept();
}

void PlainLabel::mouseMoveEvent(QMouseEvent* event)
{
    if (!selectsWithMouse() || m_anchor < 0) {
        QLabel::mouseMoveEvent(event);
        return;
    }
    const int at = positionAt(event->position().toPoint());
    setSelection(std::min(m_anchor, at), std::abs(at - m_anchor));
    update();
    event->accept();
}

void PlainLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (!selectsWithMouse() || m_anchor < 0) {
        QLabel::mouseReleaseEvent(event);
        return;
    }
    m_anchor = -1;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (hasSelectedText() && clipboard && clipboard->supportsSelection())
        clipboard->setText(selectedText(), QClipboard::Selection);
    event->accept();
}

void PlainLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!selectsWithMouse()) {
        QLabel::mouseDoubleClickEvent(event);
        return;
    }
    // The word under the pointer.
    const QString text = QLabel::text();
    const int at = positionAt(event->position().toPoint());
    QTextBoundaryFinder words(QTextBoundaryFinder::Word, text);
    words.setPosition(at);
    const qsizetype start = words.isAtBoundary() ? at : words.toPreviousBoundary();
    words.setPosition(at);
    const qsizetype end = words.toNextBoundary();
    if (start >= 0 && end > start)
        setSelection(int(start), int(end - start));
    update();
    event->accept();
}

void PlainLabel::updateShownText()
{
    if (drawsOwnLines()) {
        if (QLabel::text() != m_fullText) {
            QLabel::setText(m_fullText);
            // QLabel refreshes its selection only when it lays out the text itself, which it
            // no longer does here: a selection in the old text must not mark the new one.
            if (hasSelectedText())
                setSelection(0, 0);
        }
        // Wrapping anywhere, the owner words the tool tip; a limited label keeps the whole text there.
        if (!m_wrapAnywhere)
            setToolTip(isCut() ? TextFitting::plainToolTip(m_fullText) : QString());
        return;
    }
    QLabel::setText(m_fullText);
    if (m_elideMode != Qt::ElideNone)
        setToolTip(elidedText() == m_fullText ? QString() : TextFitting::plainToolTip(m_fullText));
}
