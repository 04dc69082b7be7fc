#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRect>
#include <QRegion>
#include <QSize>

#include <array>
#include <memory>
#include <optional>

class LottieAnimation;

/// The rendered frames of one animation at one pixel size. Each frame is drawn the first
/// time it is asked for and kept, so a looping animation costs the renderer only its first
/// pass; identical neighbouring frames share one picture.
///
/// Kept frames are packed (a pet frame is mostly transparent or flat colour and packs to a
/// fraction of its 64 KiB), so frames can stay for as long as the cache wants without
/// the memory of whole pictures; the last few asked for are held unpacked.
class LottieFrames final
{
public:
    LottieFrames(std::shared_ptr<LottieAnimation> animation, QSize pixelSize, qreal devicePixelRatio);
    ~LottieFrames();
    LottieFrames(const LottieFrames&) = delete;
    LottieFrames& operator=(const LottieFrames&) = delete;

    /// The frame's image with the device pixel ratio set; a null image if it cannot be drawn.
    [[nodiscard]] QImage frame(int index);

    /// Names the frame's picture: frames that share one picture have the same id, and no two
    /// different pictures do (across every store of the process); 0 when it cannot be drawn.
    [[nodiscard]] qint64 pictureId(int index);

    /// The device pixels in which the frame differs from the one before it (the last frame
    /// coming before the first); empty when the two look the same.
    [[nodiscard]] QRect changedRect(int index);

    /// The frame's drawn pixels (see InputShape), in device pixels; worked out once for each
    /// distinct frame image.
    [[nodiscard]] QRegion inputShape(int index);

    /// The pixels drawn by this frame or any frame asked for before it: after one pass of a
    /// loop this is the whole animation's shape and stops changing. A window shaped by it is
    /// reshaped a few times per animation instead of on every frame, each of which would
    /// wake the compositor and the window manager.
    [[nodiscard]] QRegion animationShape(int index);
    /// Names what animationShape() returns now: the name changes only when the shape grows,
    /// and no two shapes share one (across every store of the process), so a window shaped
    /// by it need not compare the shapes themselves on every frame.
    [[nodiscard]] qint64 animationShapeId() const { return m_shapeSoFarId; }

    [[nodiscard]] const std::shared_ptr<LottieAnimation>& animation() const { return m_animation; }
    [[nodiscard]] QSize pixelSize() const { return m_pixelSize; }
    [[nodiscard]] qreal devicePixelRatio() const { return m_devicePixelRatio; }
    /// Lets go of the unpacked pictures; for a store nobody shows now.
    void releaseUnpacked();

    /// How many frames went through the renderer so far.
    [[nodiscard]] int renderCount() const { return m_renderCount; }
    /// The bytes the kept frames take, shared pictures counted once.
    [[nodiscard]] qsizetype packedBytes() const { return m_packedBytes; }

private:
    struct Kept
    {
        QByteArray packed;
        qint64 id = 0; // 0 until drawn
        bool failed = false;
    };
    struct Unpacked
    {
        qint64 id = 0;
        QImage image;
    };

    bool draw(int index);
    QImage unpacked(const Kept& kept);

    std::shared_ptr<LottieAnimation> m_animation;
    QSize m_pixelSize;
    qreal m_devicePixelRatio;
    QList<Kept> m_frames;
    QList<std::optional<QRect>> m_changed;
    /// A frame change looks at the frame and the one before it; the third slot keeps the
    /// picture a player shows while the next pair is compared.
    std::array<Unpacked, 3> m_unpacked;
    int m_nextUnpacked = 0;
    qsizetype m_packedBytes = 0;
    QList<std::optional<QRegion>> m_shapes;
    QRegion m_shapeSoFar;
    qint64 m_shapeSoFarId;
    int m_renderCount = 0;
};
