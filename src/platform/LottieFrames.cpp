#include "platform/LottieFrames.h"

#include "platform/InputShape.h"
#include "platform/LottieAnimation.h"
#include "platform/MemoryRelease.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

namespace {

// Frames are packed as runs of equal pixels and stretches of differing ones: a pet frame is
// mostly transparent or flat colour, and this packs and unpacks at memory speed, where a
// general compressor cost more than drawing the frame. Each chunk starts with a word: its
// top bit set for a run (one pixel follows), clear for a stretch (that many pixels follow).
constexpr quint32 runFlag = 0x80000000u;
constexpr qsizetype shortestRun = 3;

QByteArray pack(const quint32* pixels, qsizetype count)
{
    std::vector<quint32> out;
    out.reserve(static_cast<std::size_t>(count / 4 + 16));
    qsizetype stretchStart = 0;
    const auto endStretch = [&](qsizetype end) {
        if (end > stretchStart) {
            out.push_back(static_cast<quint32>(end - stretchStart));
            out.insert(out.end(), pixels + stretchStart, pixels + end);
        }
    };
    qsizetype i = 0;
    while (i < count) {
        qsizetype run = 1;
        while (i + run < count && pixels[i + run] == pixels[i])
            ++run;
        if (run >= shortestRun) {
            endStretch(i);
            out.push_back(runFlag | static_cast<quint32>(run));
            out.push_back(pixels[i]);
            stretchStart = i + run;
        }
        i += run;
    }
    endStretch(count);
    return QByteArray(reinterpret_cast<const char*>(out.data()), static_cast<qsizetype>(out.size() * sizeof(quint32)));
}

bool unpack(const QByteArray& packed, quint32* pixels, qsizetype count)
{
    const auto* in = reinterpret_cast<const quint32*>(packed.constData());
    const qsizetype words = packed.size() / qsizetype(sizeof(quint32));
    qsizetype at = 0;
    qsizetype filled = 0;
    while (at < words) {
        const quint32 head = in[at++];
        const auto length = static_cast<qsizetype>(head & ~runFlag);
        if (length > count - filled)
            return false;
        if (head & runFlag) {
            if (at >= words)
                return false;
            std::fill_n(pixels + filled, length, in[at++]);
        } else {
            if (length > words - at)
                return false;
            std::copy_n(in + at, length, pixels + filled);
            at += length;
        }
        filled += length;
    }
    return filled == count;
}

qint64 nextPictureId()
{
    static std::atomic<qint64> last { 0 };
    return ++last;
}

qint64 nextShapeId()
{
    static std::atomic<qint64> last { 0 };
    return ++last;
}

} // namespace

LottieFrames::LottieFrames(std::shared_ptr<LottieAnimation> animation, QSize pixelSize, qreal devicePixelRatio)
    : m_animation(std::move(animation))
    , m_pixelSize(pixelSize)
    , m_devicePixelRatio(devicePixelRatio)
    , m_shapeSoFarId(nextShapeId())
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

bool LottieFrames::draw(int index)
{
    Kept& slot = m_frames[index];
    if (slot.id != 0)
        return true;
    if (slot.failed)
        return false;
    QImage image = m_animation->render(index, m_pixelSize);
    ++m_renderCount;
    if (image.isNull()) {
        slot.failed = true;
        return false;
    }
    image.setDevicePixelRatio(m_devicePixelRatio);
    QByteArray packed = pack(reinterpret_cast<const quint32*>(image.constBits()), image.sizeInBytes() / 4);
    // Held poses are common in pet animations: a frame that looks like its neighbour shares
    // its picture, which also lets a player skip showing an unchanged picture again.
    for (const int neighbour : { index - 1, index + 1 }) {
        if (neighbour >= 0 && neighbour < m_frames.size() && m_frames[neighbour].id != 0
            && m_frames[neighbour].packed == packed) {
            slot = m_frames[neighbour];
            return true;
        }
    }
    m_packedBytes += packed.size();
    slot.packed = std::move(packed);
    slot.id = nextPictureId();
    Unpacked& fresh = m_unpacked[m_nextUnpacked];
    m_nextUnpacked = (m_nextUnpacked + 1) % static_cast<int>(m_unpacked.size());
    fresh = { slot.id, std::move(image) };
    return true;
}

QImage LottieFrames::unpacked(const Kept& kept)
{
    for (const Unpacked& held : m_unpacked) {
        if (held.id == kept.id)
            return held.image;
    }
    QImage image(m_pixelSize, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull() || !unpack(kept.packed, reinterpret_cast<quint32*>(image.bits()), image.sizeInBytes() / 4))
        return {};
    image.setDevicePixelRatio(m_devicePixelRatio);
    Unpacked& slot = m_unpacked[m_nextUnpacked];
    m_nextUnpacked = (m_nextUnpacked + 1) % static_cast<int>(m_unpacked.size());
    slot = { kept.id, image };
    return image;
}

void LottieFrames::releaseUnpacked()
{
    m_unpacked = {};
    MemoryRelease::trimSoon();
}

QImage LottieFrames::frame(int index)
{
    if (index < 0 || index >= m_frames.size() || !draw(index))
        return {};
    return unpacked(m_frames[index]);
}

qint64 LottieFrames::pictureId(int index)
{
    if (index < 0 || index >= m_frames.size() || !draw(index))
        return 0;
    return m_frames[index].id;
}

QRect LottieFrames::changedRect(int index)
{
    if (index < 0 || index >= m_frames.size())
        return {};
    if (m_changed[index])
        return *m_changed[index];
    const int previous = index == 0 ? m_frames.size() - 1 : index - 1;
    const qint64 beforeId = pictureId(previous);
    const qint64 afterId = pictureId(index);
    if (beforeId == 0 || afterId == 0)
        return QRect(QPoint(0, 0), m_pixelSize);

    QRect changed;
    if (beforeId != afterId) {
        const QImage before = frame(previous);
        const QImage after = frame(index);
        if (before.isNull() || after.isNull())
            return QRect(QPoint(0, 0), m_pixelSize);
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
    // A held pose shares its neighbour's picture, and so its shape.
    for (const int neighbour : { index - 1, index + 1 }) {
        if (neighbour >= 0 && neighbour < m_frames.size() && m_shapes[neighbour]
            && m_frames[neighbour].id == m_frames[index].id) {
            m_shapes[index] = m_shapes[neighbour];
            return *m_shapes[index];
        }
    }
    m_shapes[index] = InputShape::ofImage(image);
    // A frame within the shape so far leaves it, and its name, as it was.
    if (!m_shapes[index]->subtracted(m_shapeSoFar).isEmpty()) {
        m_shapeSoFar += *m_shapes[index];
        m_shapeSoFarId = nextShapeId();
    }
    return *m_shapes[index];
}

QRegion LottieFrames::animationShape(int index)
{
    // A frame that shares its neighbour's picture adds nothing new.
    (void)inputShape(index);
    return m_shapeSoFar;
}
