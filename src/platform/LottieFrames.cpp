#include "platform/LottieFrames.h"

#include "platform/LottieAnimation.h"

LottieFrames::LottieFrames(std::shared_ptr<LottieAnimation> animation, QSize pixelSize, qreal devicePixelRatio)
    : m_animation(std::move(animation))
    , m_pixelSize(pixelSize)
    , m_devicePixelRatio(devicePixelRatio)
{
    m_frames.resize(m_animation ? m_animation->frameCount() : 0);
}

QImage LottieFrames::frame(int index)
{
    if (index < 0 || index >= m_frames.size())
        return {};
    QImage& slot = m_frames[index];
    if (!slot.isNull())
        return slot;

    QImage image = m_animation->render(index, m_pixelSize);
    ++m_renderCount;
    if (image.isNull())
        return {};
    image.setDevicePixelRatio(m_devicePixelRatio);
    // Held poses are common in pet animations: sharing the neighbour's data halves the
    // memory of a still stretch and lets the player skip repainting an unchanged picture.
    for (const int neighbour : {index - 1, index + 1}) {
        if (neighbour >= 0 && neighbour < m_frames.size() && m_frames[neighbour] == image) {
            image = m_frames[neighbour];
            break;
        }
    }
    slot = image;
    return slot;
}
