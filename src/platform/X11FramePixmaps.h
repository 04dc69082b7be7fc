#pragma once

#include <QHash>
#include <QPoint>
#include <QRect>

#include <cstdint>
#include <memory>

class LottieFrames;
struct xcb_connection_t;

/// The frames of one LottieFrames store kept in the X server as pixmaps of one depth, so
/// that showing a frame is a single copy request with no round trip and no repaint on the
/// client. Each distinct frame image is uploaded once, when it is first shown; every window
/// of that depth on the display can show it, so the pet, its clones and the game's cats
/// playing the same animation share one upload.
class X11FramePixmaps final
{
public:
    /// `root` is the root window of the screen the windows live on (pixmaps are made there,
    /// not on a window that may close while they live on); `depth` is the windows' depth.
    /// Only 32-bit windows (with an alpha channel) are served.
    X11FramePixmaps(
        xcb_connection_t* connection, std::uint32_t root, std::uint8_t depth, std::shared_ptr<LottieFrames> frames);
    ~X11FramePixmaps();
    X11FramePixmaps(const X11FramePixmaps&) = delete;
    X11FramePixmaps& operator=(const X11FramePixmaps&) = delete;

    /// While one lives, presented frames wait in the connection's buffer and leave together
    /// when the last one goes, so a tick that shows many windows flushes once.
    class Batch
    {
    public:
        Batch();
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;
    };

    /// Copies `source` (device pixels) of frame `index` onto `window` at `at`, uploading the
    /// frame first if needed; flushes the request unless a Batch lives. False when the frame cannot be drawn or
    /// the server's pixel layout is not the one our images use.
    bool present(int index, std::uint32_t window, QPoint at, const QRect& source);

    [[nodiscard]] const std::shared_ptr<LottieFrames>& frames() const { return m_frames; }
    [[nodiscard]] std::uint8_t depth() const { return m_depth; }
    /// How many distinct frame images are held in the server.
    [[nodiscard]] int uploadedCount() const { return static_cast<int>(m_pixmaps.size()); }

private:
    std::uint32_t upload(int index);

    xcb_connection_t* m_connection;
    std::uint32_t m_root;
    std::uint8_t m_depth;
    std::shared_ptr<LottieFrames> m_frames;
    std::uint32_t m_gc = 0;
    bool m_usable = false;
    QHash<qint64, std::uint32_t> m_pixmaps; // by picture id
};
