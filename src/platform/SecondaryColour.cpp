#include "platform/SecondaryColour.h"

#include <algorithm>
#include <cmath>

namespace {

/// How far towards its background secondary text goes when the contrast allows it.
constexpr int dimmestPercent = 50;
/// Above the least contrast: the thin strokes of small text are smoothed a shade lighter
/// than their colour, and a tint blended by the painter rounds differently from our sum;
/// the text must still reach the least contrast on screen.
constexpr double aimedContrast = SecondaryColour::minimumContrast + 0.5;

double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

/// `top` laid over opaque `bottom` at `weight` (0: only bottom, 1: only top), rounded to
/// what the screen can show, so the contrast checked is the contrast drawn.
QColor blend(const QColor& top, const QColor& bottom, double weight)
{
    const QColor t = top.toRgb();
    const QColor b = bottom.toRgb();
    const auto channel
        = [weight](int over, int under) { return int(std::lround(over * weight + under * (1 - weight))); };
    return { channel(t.red(), b.red()), channel(t.green(), b.green()), channel(t.blue(), b.blue()) };
}

} // namespace

double SecondaryColour::contrast(const QColor& a, const QColor& b)
{
    const double one = luminance(a);
    const double other = luminance(b);
    return (std::max(one, other) + 0.05) / (std::min(one, other) + 0.05);
}

QColor SecondaryColour::opaqueOver(const QColor& colour, const QColor& background)
{
    return blend(colour, background, colour.alphaF());
}

QColor SecondaryColour::dimmed(const QColor& text, const QList<QColor>& backgrounds)
{
    const QColor solid = opaqueOver(text, backgrounds.first());
    for (int percent = dimmestPercent; percent < 100; ++percent) {
        const QColor candidate = blend(solid, backgrounds.first(), percent / 100.0);
        if (std::all_of(backgrounds.cbegin(), backgrounds.cend(),
                [&](const QColor& background) { return contrast(candidate, background) >= aimedContrast; }))
            return candidate;
    }
    return solid;
}

QColor SecondaryColour::readable(const QColor& wanted, const QColor& background, double ratio)
{
    // Towards whichever end of the scale stands further from the background.
    const bool darkBackground = contrast(Qt::white, background) > contrast(Qt::black, background);
    QColor colour = wanted.toHsl();
    colour.setAlpha(255);
    // Lightness in small steps keeps the hue; at the end of the scale white or black
    // reaches any ratio text needs.
    const auto drawn = [&] { return QColor::fromRgb(colour.toRgb().rgb()); };
    for (int step = 0; step < 100 && contrast(drawn(), background) < ratio; ++step) {
        const float lightness = std::clamp(colour.lightnessF() + (darkBackground ? 0.02f : -0.02f), 0.0f, 1.0f);
        colour.setHslF(colour.hslHueF(), colour.hslSaturationF(), lightness);
    }
    return drawn();
}
