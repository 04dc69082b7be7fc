#pragma once

#include <QString>

/// Writes a small valid Lottie animation (a dot moving across 128 × 128) of the given frame
/// count to the path, creating its folder; returns false when it cannot be written.
bool writeTestAnimation(const QString& path, int frames = 30);
