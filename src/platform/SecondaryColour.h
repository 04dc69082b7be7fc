#pragma once

#include <QColor>
#include <QList>

/// The colour sums behind secondary text (captions, hints, quiet symbols): the text colour
/// taken half-way towards its background, but never so far that it reads at less than
/// 4.5:1 there. They sit this low so that the pet's own bubble draws in the same colour as
/// the feature screens above it.
namespace SecondaryColour {

/// The least contrast secondary text keeps against its background.
inline constexpr double minimumContrast = 4.5;

/// The contrast ratio of two colours as the eye sees them, from 1 (the same) to 21
/// (black on white); both are taken as opaque.
[[nodiscard]] double contrast(const QColor& a, const QColor& b);

/// `colour` laid over opaque `background` by its alpha, rounded to what the screen shows.
[[nodiscard]] QColor opaqueOver(const QColor& colour, const QColor& background);

/// The colour closest to the first of `backgrounds` on the way from `text`, at most
/// half-way, that keeps the least contrast against every one of them. Opaque.
[[nodiscard]] QColor dimmed(const QColor& text, const QList<QColor>& backgrounds);

/// `wanted` where it reaches `ratio` against `background`; otherwise the same hue made
/// lighter on a dark background or darker on a light one, in small steps, until it does.
/// Judged as drawn, in whole 8-bit channels. Opaque.
[[nodiscard]] QColor readable(const QColor& wanted, const QColor& background, double ratio);

} // namespace SecondaryColour
