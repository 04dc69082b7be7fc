#pragma once

#include "platform/FrameTicker.h"
#include "platform/SharedInstance.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QSize>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <map>
#include <memory>
#include <tuple>

class LottieAnimation;
class LottieFrames;
class X11FramePixmaps;
struct xcb_connection_t;

/// The process-wide store of parsed animations and their rendered frames, shared by the
/// pet, its clones and the game's cats: any LottiePlayer showing the same file at the same
/// size draws each frame once for all of them, and on X11 uploads it to the server once.
///
/// Frames are held while some player uses them and for keepUnusedFramesMs after, so a pet
/// going back to a behaviour it showed, or clones called again, find their frames drawn.
/// Frames nobody shows are held packed only (a walk costs a few hundred kilobytes then).
/// Parsed files are held while used, plus the few most recently loaded ones, so switching
/// back and forth between two behaviours does not parse the same file over and over.
class LottieCache final : public SharedInstance<LottieCache>
{
public:
    /// Parsed files kept although no player shows them.
    static constexpr int recentAnimations = 4;

    /// How long frames nobody shows are kept: long enough that a wandering pet's behaviours
    /// come round again before their frames go.
    static constexpr int keepUnusedFramesMs = 10 * 60 * 1000;

    explicit LottieCache(TimerSource& timers = TimerSource::system());
    LottieCache(const LottieCache&) = delete;
    LottieCache& operator=(const LottieCache&) = delete;

    /// The parsed file at path (made absolute); nullptr with error set when it cannot be loaded.
    [[nodiscard]] std::shared_ptr<LottieAnimation> animation(const QString& path, QString* error = nullptr);
    /// The frame store of animation at pixelSize and devicePixelRatio, shared by every caller
    /// asking for the same combination.
    [[nodiscard]] std::shared_ptr<LottieFrames> frames(
        const std::shared_ptr<LottieAnimation>& animation, QSize pixelSize, qreal devicePixelRatio);

    /// The X server's copies of a frame store's images, for 32-bit windows on the screen
    /// whose root window is `root`; shared by every caller asking for the same combination.
    [[nodiscard]] std::shared_ptr<X11FramePixmaps> pixmaps(const std::shared_ptr<LottieFrames>& frames,
        xcb_connection_t* connection, std::uint32_t root, std::uint8_t depth);

    /// The one clock of every player's frames.
    [[nodiscard]] FrameTicker& ticker() { return m_ticker; }

    /// The packed bytes of frames nobody shows that are kept, the most recently shown first:
    /// what a clone burst drew beyond it goes back when the burst ends.
    static constexpr qsizetype keepUnusedFramesBytes = 4 * 1024 * 1024;

    /// 0 frees frames as soon as their last player lets go of them.
    void setKeepUnusedFramesMs(int ms);
    void setKeepUnusedFramesBytes(qsizetype bytes) { m_keepUnusedFramesBytes = bytes; }

    /// Animations and frame stores that are still alive (in use or recently loaded).
    [[nodiscard]] int liveAnimationCount();
    [[nodiscard]] int liveFrameStoreCount();

private:
    void keepRecent(const std::shared_ptr<LottieAnimation>& animation);
    void purge();

    FrameTicker m_ticker;
    QHash<QString, std::weak_ptr<LottieAnimation>> m_animations;
    struct KeptFrames
    {
        std::shared_ptr<LottieFrames> store;
        std::weak_ptr<void> users; // alive while some caller holds the store
        qint64 unusedSince = -1;
    };

    QHash<QString, KeptFrames> m_frames;
    QElapsedTimer m_clock;
    QTimer m_sweep;
    int m_keepUnusedFramesMs = keepUnusedFramesMs;
    qsizetype m_keepUnusedFramesBytes = keepUnusedFramesBytes;
    QList<std::shared_ptr<LottieAnimation>> m_recent;
    std::map<std::tuple<const LottieFrames*, std::uint32_t, std::uint8_t>, std::weak_ptr<X11FramePixmaps>> m_pixmaps;
};
