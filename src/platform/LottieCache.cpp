#include "platform/LottieCache.h"

#include "platform/LottieAnimation.h"
#include "platform/LottieFrames.h"
#include "platform/X11FramePixmaps.h"

#include <QFileInfo>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

QString framesKey(const QString& path, QSize pixelSize, qreal devicePixelRatio)
{
    return path + u'|' + QString::number(pixelSize.width()) + u'x' + QString::number(pixelSize.height()) + u'@'
        + QString::number(devicePixelRatio);
}

} // namespace

LottieCache::LottieCache(TimerSource& timers)
    : m_ticker(timers)
{
    m_clock.start();
    // Frames are let go in this sweep when nobody asks the cache for anything.
    m_sweep.callOnTimeout([this] { purge(); });
    setKeepUnusedFramesMs(keepUnusedFramesMs);
}

void LottieCache::setKeepUnusedFramesMs(int ms)
{
    m_keepUnusedFramesMs = std::max(ms, 0);
    // Frames that went out of use let go of their unpacked pictures at the next sweep.
    m_sweep.setInterval(std::clamp(m_keepUnusedFramesMs / 2, 1000, 10 * 1000));
}

std::shared_ptr<LottieAnimation> LottieCache::animation(const QString& path, QString* error)
{
    purge();
    const QString key = QFileInfo(path).absoluteFilePath();
    if (auto found = m_animations.value(key).lock()) {
        keepRecent(found);
        return found;
    }
    auto loaded = LottieAnimation::load(key, error);
    if (!loaded)
        return nullptr;
    m_animations.insert(key, loaded);
    keepRecent(loaded);
    return loaded;
}

std::shared_ptr<LottieFrames> LottieCache::frames(
    const std::shared_ptr<LottieAnimation>& animation, QSize pixelSize, qreal devicePixelRatio)
{
    if (!animation)
        return nullptr;
    purge();
    KeptFrames& kept = m_frames[framesKey(animation->path(), pixelSize, devicePixelRatio)];
    if (!kept.store || kept.store->animation() != animation) {
        kept.store = std::make_shared<LottieFrames>(animation, pixelSize, devicePixelRatio);
        kept.users.reset();
    }
    // Callers share one token that holds the store; the cache sees them all go when it expires.
    auto users = kept.users.lock();
    if (!users) {
        users = std::make_shared<std::shared_ptr<LottieFrames>>(kept.store);
        kept.users = users;
    }
    kept.unusedSince = -1;
    if (!m_sweep.isActive())
        m_sweep.start();
    return std::shared_ptr<LottieFrames>(users, kept.store.get());
}

std::shared_ptr<X11FramePixmaps> LottieCache::pixmaps(
    const std::shared_ptr<LottieFrames>& frames, xcb_connection_t* connection, std::uint32_t root, std::uint8_t depth)
{
    if (!frames || !connection)
        return nullptr;
    purge();
    const auto key = std::make_tuple(frames.get(), root, depth);
    if (auto found = m_pixmaps[key].lock(); found && found->frames() == frames)
        return found;
    auto made = std::make_shared<X11FramePixmaps>(connection, root, depth, frames);
    m_pixmaps[key] = made;
    return made;
}

int LottieCache::liveAnimationCount()
{
    purge();
    return static_cast<int>(m_animations.size());
}

int LottieCache::liveFrameStoreCount()
{
    purge();
    return static_cast<int>(m_frames.size());
}

void LottieCache::keepRecent(const std::shared_ptr<LottieAnimation>& animation)
{
    m_recent.removeOne(animation);
    m_recent.prepend(animation);
    while (m_recent.size() > recentAnimations)
        m_recent.removeLast();
}

void LottieCache::purge()
{
    m_animations.removeIf([](const auto& entry) { return entry.value().expired(); });
    const qint64 now = m_clock.elapsed();
    m_frames.removeIf([this, now](auto entry) {
        KeptFrames& kept = entry.value();
        if (!kept.users.expired())
            return false;
        if (kept.unusedSince < 0) {
            kept.unusedSince = now;
            kept.store->releaseUnpacked();
        }
        return now - kept.unusedSince >= m_keepUnusedFramesMs;
    });
    std::vector<std::pair<qint64, QString>> unused;
    for (auto it = m_frames.cbegin(); it != m_frames.cend(); ++it) {
        if (it->unusedSince >= 0)
            unused.emplace_back(it->unusedSince, it.key());
    }
    std::sort(unused.begin(), unused.end(), std::greater<>());
    qsizetype keptBytes = 0;
    for (const auto& [since, key] : unused) {
        keptBytes += m_frames.value(key).store->packedBytes();
        if (keptBytes > m_keepUnusedFramesBytes)
            m_frames.remove(key);
    }
    if (m_frames.isEmpty())
        m_sweep.stop();
    std::erase_if(m_pixmaps, [](const auto& entry) { return entry.second.expired(); });
}
