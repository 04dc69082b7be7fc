#pragma once

#include <QImage>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

class LottieAnimation;
class LottieFrames;
class QWindow;
class X11FramePixmaps;

/// A widget that plays one Lottie animation: looping or once (stopping on the last frame),
/// at a speed factor, scaled to fit its rectangle with its aspect ratio kept, on a
/// transparent background.
///
/// Playback pauses while the widget is hidden and resumes when it is shown again. Frames
/// come from LottieCache, so every frame of a loop is rendered once and afterwards only
/// repainted when the picture changes. Playing players step from the cache's one frame
/// ticker, only while they play and are shown.
///
/// On X11 a playing frame does not go through a widget repaint: each frame is uploaded once
/// as a pixmap of the window's depth and copied onto the window on each tick, which costs
/// one request instead of a repaint, a flush and a round trip. Without an X11 connection
/// (the offscreen platform), or on a window without an alpha channel, frames are painted.
class LottiePlayer final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LottiePlayer)

public:
    /// Called once per play(): true when a play-once animation reached its last frame,
    /// false when the playback was stopped, paused or replaced before. Not called when the
    /// player is destroyed.
    using Completion = std::function<void(bool finished)>;

    /// Ticks never come faster than this; a faster speed steps several frames per tick.
    static constexpr int minimumTickMs = 16;

    explicit LottiePlayer(QWidget* parent = nullptr);
    ~LottiePlayer() override;

    /// Loads the file and shows its first frame, stopped. Returns false when the file is
    /// missing, empty or malformed; the player then keeps its animation, frame and playback.
    bool setAnimation(const QString& filePath);
    /// Plays from the current frame, or from the start when stopped on the last frame.
    void play(Completion completion = {});
    /// Stops and returns to the first frame.
    void stop();
    /// Stops on the current frame.
    void pause();
    void setLoopMode(bool loop);
    /// A factor on the animation's own frame rate; NaN, infinite or non-positive means 1.0.
    void setSpeed(double speed);
    /// Lets the FloatingWindow the player sits in take the pointer only where the shown
    /// frame is drawn (the pet's window; clones and game cats keep their own rules).
    void setShapesWindowInput(bool shapes) { m_shapesInput = shapes; }

    /// One tick of the frame timer: steps the playback. Public so that it can be driven
    /// without waiting for real time.
    void advance();

    [[nodiscard]] bool isPlaying() const { return m_playing; }
    [[nodiscard]] int currentFrame() const { return m_frame; }
    [[nodiscard]] int frameCount() const;
    [[nodiscard]] bool loopMode() const { return m_loop; }
    /// Whether the frame ticker steps this player now, and how often it would.
    [[nodiscard]] bool isTicking() const { return m_ticking; }
    [[nodiscard]] int tickMs() const { return m_tickMs; }
    [[nodiscard]] double speed() const { return m_speed; }
    [[nodiscard]] QString animationPath() const;
    [[nodiscard]] std::shared_ptr<LottieAnimation> animation() const { return m_animation; }

    [[nodiscard]] QSize sizeHint() const override;

    /// How many frame changes were shown by copying a pixmap instead of a repaint.
    [[nodiscard]] int presentedOnX11Count() const { return m_presentedOnX11; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void setFrame(int frame);
    void finish(bool finished);
    void updateTimer();
    void updateTick();
    [[nodiscard]] QRect targetRect() const;
    /// Makes m_frames the store of the current animation at the current size; false without one.
    bool updateFrames();
    [[nodiscard]] QImage currentImage();
    [[nodiscard]] qint64 currentPicture();
    /// Copies `source` (device pixels) of the current frame onto the X11 window; false
    /// when this has to be left to a repaint.
    bool presentOnX11(const QRect& source);
    void shapeWindowInput(qint64 picture);

    std::shared_ptr<LottieAnimation> m_animation;
    std::shared_ptr<LottieFrames> m_frames;
    Completion m_completion;
    double m_speed = 1.0;
    double m_position = 0; // in frames; fractional when a tick covers more than one frame
    double m_framesPerTick = 1.0;
    int m_tickMs = 33;
    int m_tickedMs = 0; // the interval the ticker steps this player at
    int m_frame = 0;
    bool m_loop = false;
    bool m_playing = false;
    bool m_hidden = false;
    bool m_ticking = false;
    qint64 m_shownPicture = 0; // the picture on screen, by LottieFrames::pictureId
    bool m_shapesInput = false;
    qint64 m_shapedPicture = 0;
    // What the window's input was last shaped by: a resting pet's loop repeats it every pass.
    QPointer<QWidget> m_shapedWindow;
    qint64 m_shapedShape = 0; // LottieFrames::animationShapeId
    QPoint m_shapedOffset;

    std::shared_ptr<X11FramePixmaps> m_pixmaps;
    QPointer<QWindow> m_x11Handle;
    std::uint32_t m_x11Window = 0;
    std::uint32_t m_x11Root = 0;
    std::uint8_t m_x11Depth = 0;
    int m_presentedOnX11 = 0;
};
