#include "platform/LottieFrames.h"

#include "platform/InputShape.h"
#include "platform/LottieAnimation.h"
#include "platform/MemoryRelease.h"

#include <cstring>

LottieFrames::LottieFrames(std::shared_ptr<LottieAnimation> animation, QSize pixelSize, qreal devicePixelRatio)
    : m_animation(std::move(animation))
    , m_pixelSize(pixelSize)
    , m_devicePixelRatio(devicePixelRatio)
{
    m_frames.resize(m_animation ? m_animation->frameCount() : 0);
    m_changed.resize(m_frames.size());
    m_shapes.resize(m_frames.size());
}

LottieFrames::~LottieFrames()
{
    // The renderer's scratch memory of this animation is freed too, some of it in the heaps
    // of its drawing threads.
    if (m_renderCount > 0)
        MemoryRelease::trimSoon();
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
    for (const int neighbour : { index - 1, index + 1 }) {
        if (neighbour >= 0 && neighbour < m_frames.size() && m_frames[neighbour] == image) {
            image = m_frames[neighbour];
            break;
        }
    }
    slot = image;
    return slot;
}

QRect LottieFrames::changedRect(int index)
{
    if (index < 0 || index >= m_frames.size())
        return {};
    if (m_changed[index])
        return *m_changed[index];
    const QImage before = frame(index == 0 ? m_frames.size() - 1 : index - 1);
    const QImage after = frame(index);
    if (before.isNull() || after.isNull())
        return QRect(QPoint(0, 0), m_pixelSize);

    QRect changed;
    if (before.cacheKey() != after.cacheKey()) {
        int top = -1;
        int bottom = -1;
        int left = after.width();
        int right = -1;
        const auto rowBytes = static_cast<size_t>(after.width()) * sizeof(quint32);
        for (int y = 0; y < after.height(); ++y) {
            const auto* a = reinterpret_cast<const quint32*>(before.constScanLine(y));
            const auto* b = reinterpret_cast<const quint32*>(after.constScanLine(y));
            if (std::memcmp(a, b, rowBytes) == 0)
                continue;
            if (top < 0)
                top = y;
            bottom = y;
            int x = 0;
            while (x < left && a[x] == b[x])
                ++x;
            left = x;
            x = after.width() - 1;
            while (x > right && a[x] == b[x])
                --x;
            right = x;
        }
        if (top >= 0)
            changed = QRect(QPoint(left, top), QPoint(right, bottom));
    }
    m_changed[index] = changed;
    return changed;
}

QRegion LottieFrames::inputShape(int index)
{
    if (index < 0 || index >= m_frames.size())
        return {};
    if (m_shapes[index])
        return *m_shapes[index];
    const QImage image = frame(index);
    // A held pose shares its neighbour's image, and so its shape.
    for (const int neighbour : { index - 1, index + 1 }) {
        if (neighbour >= 0 && neighbour < m_frames.size() && m_shapes[neighbour]
            && m_frames[neighbour].cacheKey() == image.cacheKey()) {
            m_shapes[index] = m_shapes[neighbour];
            return *m_shapes[index];
        }
    }
    m_shapes[index] = InputShape::ofImage(image);
    return *m_shapes[index];
}
