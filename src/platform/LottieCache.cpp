#include "platform/LottieCache.h"

#include "platform/LottieAnimation.h"
#include "platform/LottieFrames.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

QString framesKey(const QString& path, QSize pixelSize, qreal devicePixelRatio)
{
    return path + u'|' + QString::number(pixelSize.width()) + u'x' + QString::number(pixelSize.height()) + u'@'
        + QString::number(devicePixelRatio);
}

} // namespace

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
    const QString key = framesKey(animation->path(), pixelSize, devicePixelRatio);
    if (auto found = m_frames.value(key).lock(); found && found->animation() == animation)
        return found;
    auto made = std::make_shared<LottieFrames>(animation, pixelSize, devicePixelRatio);
    m_frames.insert(key, made);
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
    m_frames.removeIf([](const auto& entry) { return entry.value().expired(); });
}
