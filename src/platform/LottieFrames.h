#pragma once

#include <QImage>
#include <QList>
#include <QRect>
#include <QRegion>
#include <QSize>

#include <memory>
#include <optional>

class LottieAnimation;

/// The rendered frames of one animation at one pixel size. Each frame is drawn the first
/// time it is asked for and kept, so a looping animation costs the renderer only its first
/// pass; identical neighbouring frames share one image.
class LottieFrames final
{
public:
    LottieFrames(std::shared_ptr<LottieAnimation> animation, QSize pixelSize, qreal devicePixelRatio);
    ~LottieFrames();
    LottieFrames(const LottieFrames&) = delete;
    LottieFrames& operator=(const LottieFrames&) = delete;

    /// The frame's image with the device pixel ratio set; a null image if it cannot be drawn.
    [[nodiscard]] QImage frame(int index);

    /// The device pixels in which the frame differs from the one before it (the last frame
    /// coming before the first); empty when the two look the same.
    [[nodiscard]] QRect changedRect(int index);

    /// The frame's drawn pixels (see InputShape), in device pixels; worked out once for each
    /// distinct frame image.
    [[nodiscard]] QRegion inputShape(int index);

    [[nodiscard]] const std::shared_ptr<LottieAnimation>& animation() const { return m_animation; }
    [[nodiscard]] QSize pixelSize() const { return m_pixelSize; }
    [[nodiscard]] qreal devicePixelRatio() const { return m_devicePixelRatio; }
    /// How many frames went through the renderer so far.
    [[nodiscard]] int renderCount() const { return m_renderCount; }

private:
    std::shared_ptr<LottieAnimation> m_animation;
    QSize m_pixelSize;
    qreal m_devicePixelRatio;
    QList<QImage> m_frames;
    QList<std::optional<QRect>> m_changed;
    QList<std::optional<QRegion>> m_shapes;
    int m_renderCount = 0;
};
