#pragma once

#include "platform/SharedInstance.h"

#include <QHash>
#include <QList>
#include <QSize>
#include <QString>

#include <memory>

class LottieAnimation;
class LottieFrames;

/// The process-wide store of parsed animations and their rendered frames, shared by the
/// pet, its clones and the game's cats.
///
/// Frames are held only while some player uses them. Parsed files are held likewise, plus
/// the few most recently loaded ones, so switching back and forth between two behaviours
/// does not parse the same file over and over.
class LottieCache final : public SharedInstance<LottieCache>
{
public:
    /// Parsed files kept although no player shows them.
    static constexpr int recentAnimations = 4;

    LottieCache() = default;
    LottieCache(const LottieCache&) = delete;
    LottieCache& operator=(const LottieCache&) = delete;

    /// The parsed file at path (made absolute); nullptr with error set when it cannot be loaded.
    [[nodiscard]] std::shared_ptr<LottieAnimation> animation(const QString& path, QString* error = nullptr);
    /// The frame store of animation at pixelSize and devicePixelRatio, shared by every caller
    /// asking for the same combination.
    [[nodiscard]] std::shared_ptr<LottieFrames> frames(
        const std::shared_ptr<LottieAnimation>& animation, QSize pixelSize, qreal devicePixelRatio);

    /// Animations and frame stores that are still alive (in use or recently loaded).
    [[nodiscard]] int liveAnimationCount();
    [[nodiscard]] int liveFrameStoreCount();

private:
    void keepRecent(const std::shared_ptr<LottieAnimation>& animation);
    void purge();

    QHash<QString, std::weak_ptr<LottieAnimation>> m_animations;
    QHash<QString, std::weak_ptr<LottieFrames>> m_frames;
    QList<std::shared_ptr<LottieAnimation>> m_recent;
};
