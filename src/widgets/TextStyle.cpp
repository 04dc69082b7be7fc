#include "widgets/TextStyle.h"

#include "platform/FontScale.h"

#include <QApplication>
#include <QFontDatabase>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace TextStyle {

qreal scale();

namespace {

struct Entry
{
    qreal share; ///< of the application font's pixel size
    QFont::Weight weight;
};

// The shares keep the proportions of the classic desktop type scale, where body text is
// 13 units: title 22, title 2 17, title 3 15, headline 13 semibold, subheadline 11,
// callout 12, footnote and caption 10, and caption 2 a step smaller than caption (9), as the
// screens that use it for the least important lines (a message's time) want it.
Entry entryFor(Style style)
{
    constexpr qreal body = 13.0;
    switch (style) {
    case Style::largeTitle:
        return { 26.0 / body, QFont::Normal };
    case Style::title:
        return { 22.0 / body, QFont::Normal };
    case Style::title2:
        return { 17.0 / body, QFont::Normal };
    case Style::title3:
        return { 15.0 / body, QFont::Normal };
    case Style::headline:
        return { 1.0, QFont::DemiBold };
    case Style::subheadline:
        return { 11.0 / body, QFont::Normal };
    case Style::body:
        return { 1.0, QFont::Normal };
    case Style::callout:
        return { 12.0 / body, QFont::Normal };
    case Style::footnote:
    case Style::caption:
        return { 10.0 / body, QFont::Normal };
    case Style::caption2:
        return { 9.0 / body, QFont::Normal };
    }
    return { 1.0, QFont::Normal };
}

qreal logicalDpi()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}

/// Chinese below this many pixels at the default font is no longer legible: a smaller style
/// or stated size takes this one, and grows from it with a larger application font.
constexpr qreal leastPixels = 9.0;

QFont withPixels(QFont font, qreal pixels, QFont::Weight weight)
{
    font.setPixelSize(std::max(1, qRound(std::max(pixels, leastPixels * scale()))));
    font.setWeight(weight);
    return font;
}

} // namespace

qreal pixelSizeOf(const QFont& font)
{
    if (font.pixelSize() > 0)
        return font.pixelSize();
    return font.pointSizeF() * logicalDpi() / 72.0;
}

qreal scale()
{
    return FontScale::ofApplication();
}

int scaled(qreal pixels)
{
    return std::max(1, qRound(pixels * scale()));
}

QFont font(Style style)
{
    const Entry entry = entryFor(style);
    const QFont base = QApplication::font();
    return withPixels(base, pixelSizeOf(base) * entry.share, entry.weight);
}

QFont font(Style style, QFont::Weight weight)
{
    QFont result = font(style);
    result.setWeight(weight);
    return result;
}

QFont systemFont(qreal size, QFont::Weight weight)
{
    return withPixels(QApplication::font(), size * scale(), weight);
}

QFont monospacedFont(qreal size, QFont::Weight weight)
{
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    return withPixels(mono, size * scale(), weight);
}

void apply(QWidget* widget, Style style)
{
    widget->setFont(font(style));
}

void apply(QWidget* widget, Style style, QFont::Weight weight)
{
    widget->setFont(font(style, weight));
}

} // namespace TextStyle
