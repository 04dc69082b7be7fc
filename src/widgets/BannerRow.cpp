#include "widgets/BannerRow.h"

#include "platform/SecondaryColour.h"
#include "platform/SystemColours.h"
#include "platform/TextFitting.h"
#include "widgets/GraphemeText.h"
#include "widgets/PlainLabel.h"
#include "widgets/ReadableColour.h"
#include "widgets/SecondaryText.h"
#include "widgets/Symbols.h"
#include "widgets/TextStyle.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>
#include <QVBoxLayout>
#include <QtMath>

#include <algorithm>

using namespace Qt::StringLiterals;

BannerRow::BannerRow(Kind kind, QWidget* parent)
    : QFrame(parent)
    , m_kind(kind)
    , m_icon(new SymbolView(
          kind == Kind::success ? Symbols::Symbol::checkmarkCircleFill : Symbols::Symbol::exclamationmarkTriangleFill,
          1,
          kind == Kind::error         ? Symbols::Tint::red
              : kind == Kind::success ? Symbols::Tint::green
                                      : Symbols::Tint::orange,
          this))
    , m_iconColumn(new QVBoxLayout)
    , m_text(new PlainLabel({}, this))
{
    // A long address or token breaks inside the row instead of running out of it; the text
    // itself, as read aloud or copied, stays the message.
    m_text->setWrapAnywhere(true);
    // Level with the sign when the row is given more height than its lines take.
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    if (kind == Kind::notice)
        SecondaryText::apply(m_text, SecondaryText::Part::text, tint());
    else
        applyTextColour();

    m_layout = new QHBoxLayout(this);
    m_layout->setContentsMargins(12, 10, 12, 10);
    m_layout->setSpacing(8);
    // The sign stands level with the message's first line.
    m_iconColumn->setContentsMargins(0, 0, 0, 0);
    m_iconColumn->addWidget(m_icon);
    m_iconColumn->addStretch(1);
    m_layout->addLayout(m_iconColumn);
    m_layout->addWidget(m_text, 1);
    fitSymbol();
    applySymbolBackdrop();
}

void BannerRow::fitSymbol()
{
    const int side = std::max(1, qRound(TextStyle::pixelSizeOf(m_text->font())));
    m_icon->setSide(side);
    // The first line as the label lays it out: Chinese comes from a fallback font whose
    // lines are taller than the message font's own.
    QTextLayout layout(m_shown.isEmpty() ? u"汉"_s : m_shown, m_text->font());
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(1e6);
    layout.endLayout();
    const int lineHeight = std::max(QFontMetrics(m_text->font()).height(), qCeil(line.height()));
    m_iconColumn->setContentsMargins(0, std::max(0, (lineHeight - side) / 2), 0, 0);
}

void BannerRow::setContentCentred(bool centred)
{
    if (centred == m_centred)
        return;
    m_centred = centred;
    // Stretches either side share the room the sign and the message leave.
    if (centred) {
        m_layout->insertStretch(0, 1);
        m_layout->addStretch(1);
    } else {
        delete m_layout->takeAt(m_layout->count() - 1);
        delete m_layout->takeAt(0);
    }
    m_layout->setStretchFactor(m_text, centred ? 0 : 1);
}

void BannerRow::setMessage(const QString& message)
{
    m_message = message;
    // Line breaks of a long reply would make the row as tall as the page it came from.
    m_shown = message.simplified();
    if (GraphemeText::count(m_shown) > maxShownCharacters)
        m_shown = GraphemeText::truncated(m_shown, maxShownCharacters) + QChar(0x2026);
    fitText();
    fitSymbol();
}

void BannerRow::setLineLimit(int lines)
{
    m_lineLimit = std::max(0, lines);
    m_text->setLineLimit(m_lineLimit);
    fitText();
}

void BannerRow::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    if (m_lineLimit > 0)
        fitText(); // the layout has given the message its new width by now
}

void BannerRow::fitText()
{
    if (m_shown != m_text->fullText())
        m_text->setText(m_shown);
    setToolTip(m_text->isCut() || m_shown != m_message ? TextFitting::plainToolTip(m_message) : QString());
}

QColor BannerRow::colour() const
{
    // The desktop's colours, as the sign beside the message is tinted.
    switch (m_kind) {
    case Kind::error:
        return SystemColours::red();
    case Kind::success:
        return SystemColours::green();
    case Kind::notice:
        break;
    }
    return SystemColours::orange();
}

void BannerRow::applySymbolBackdrop()
{
    // The sign stands on the faint tint, not on the bare window: its colour is made to
    // stand out from the two laid together.
    QPalette symbolPalette = m_icon->palette();
    symbolPalette.setColor(QPalette::Window, SecondaryColour::opaqueOver(tint(), palette().color(backgroundRole())));
    m_icon->setPalette(symbolPalette);
}

void BannerRow::applyTextColour()
{
    // The red or green as far towards the palette's text as it must go to read on its own
    // tint, in a dark palette as in a light one; set for whichever role the label draws
    // with (Text once a container paints Base).
    const QColor backdrop = SecondaryColour::opaqueOver(tint(), palette().color(backgroundRole()));
    const QColor readable = ReadableColour::on(colour(), backdrop);
    QPalette textPalette = m_text->palette();
    for (const QPalette::ColorRole role : { QPalette::WindowText, QPalette::Text })
        textPalette.setColor(role, readable);
    m_text->setPalette(textPalette);
}

void BannerRow::changeEvent(QEvent* event)
{
    QFrame::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitSymbol();
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ParentChange)
        applySymbolBackdrop();
    if (m_kind != Kind::notice && (event->type() == QEvent::PaletteChange || event->type() == QEvent::ParentChange))
        applyTextColour();
}

QColor BannerRow::tint() const
{
    QColor faint = colour();
    faint.setAlphaF(0.1);
    return faint;
}

void BannerRow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), 8, 8);
    painter.fillPath(path, tint());
}
