#include "platform/LottiePlayer.h"

#include "platform/FloatingWindow.h"
#include "platform/LottieAnimation.h"
#include "platform/LottieCache.h"
#include "platform/LottieFrames.h"
#include "platform/X11FramePixmaps.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QPointer>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cmath>
#include <cstdlib>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

constexpr int maximumTickMs = 60 * 1000;

} // namespace

LottiePlayer::LottiePlayer(QWidget* parent)
    : QWidget(parent)
{
}

LottiePlayer::~LottiePlayer()
{
    if (LottieCache* cache = LottieCache::sharedOrNull(); cache && m_ticking)
        cache->ticker().stop(this);
}

bool LottiePlayer::setAnimation(const QString& filePath)
{
    auto loaded = LottieCache::shared().animation(filePath);
    if (!loaded)
        return false;

    m_animation = std::move(loaded);
    m_frames.reset();
    m_pixmaps.reset();
    m_playing = false;
    m_position = 0;
    m_frame = 0;
    m_shownPicture = 0;
    updateTick();
    updateTimer();
    update();
    if (auto interrupted = std::exchange(m_completion, {}))
        interrupted(false);
    return true;
}

void LottiePlayer::play(Completion completion)
{
    QPointer<LottiePlayer> self(this);
    if (auto interrupted = std::exchange(m_completion, {})) {
        interrupted(false);
        if (!self)
            return;
    }
    if (!m_animation) {
        if (completion)
            completion(false);
        return;
    }
    if (!m_loop && m_frame >= frameCount() - 1) {
        m_position = 0;
        setFrame(0);
    }
    m_completion = std::move(completion);
    m_playing = true;
    updateTimer();
}

void LottiePlayer::stop()
{
    m_position = 0;
    setFrame(0);
    finish(false);
}

void LottiePlayer::pause()
{
    finish(false);
}

void LottiePlayer::setLoopMode(bool loop)
{
    m_loop = loop;
}

void LottiePlayer::setSpeed(double speed)
{
    m_speed = (std::isfinite(speed) && speed > 0) ? speed : 1.0;
    updateTick();
    updateTimer();
}

void LottiePlayer::advance()
{
    if (!m_animation || !m_playing)
        return;
    const int count = frameCount();
    m_position += m_framesPerTick;
    if (m_loop) {
        if (m_position >= count)
            m_position = std::fmod(m_position, count);
        setFrame(static_cast<int>(m_position));
    } else if (m_position >= count - 1) {
        m_position = count - 1;
        setFrame(count - 1);
        finish(true);
    } else {
        setFrame(static_cast<int>(m_position));
    }
}

int LottiePlayer::frameCount() const
{
    return m_animation ? m_animation->frameCount() : 0;
}

QString LottiePlayer::animationPath() const
{
    return m_animation ? m_animation->path() : QString();
}

QSize LottiePlayer::sizeHint() const
{
    return m_animation ? m_animation->size() : QSize(128, 128);
}

void LottiePlayer::paintEvent(QPaintEvent*)
{
    const QImage image = currentImage();
    if (image.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(targetRect().topLeft(), image);
    m_shownPicture = m_frames->pictureId(m_frame);
    shapeWindowInput(m_shownPicture);
}

void LottiePlayer::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_frames.reset();
    m_pixmaps.reset();
    m_shownPicture = 0;
    m_shapedPicture = 0;
}

void LottiePlayer::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_hidden = false;
    updateTimer();
}

void LottiePlayer::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_hidden = true;
    updateTimer();
}

void LottiePlayer::setFrame(int frame)
{
    if (frame == m_frame)
        return;
    const int previous = m_frame;
    m_frame = frame;
    if (!isVisible())
        return;
    // Repainting a translucent window is the main cost of a resting pet: a frame that looks
    // like the one on screen is not repainted, and the next frame of a sequence repaints
    // only where it differs from the one before.
    const qint64 picture = currentPicture();
    if (picture == 0 || picture == m_shownPicture)
        return;
    shapeWindowInput(picture);
    const QRect target = targetRect();
    const bool followsShown
        = frameCount() > 0 && frame == (previous + 1) % frameCount() && m_frames->pictureId(previous) == m_shownPicture;
    const QRect changed
        = followsShown ? m_frames->changedRect(frame) : QRect(QPoint(0, 0), m_frames ? m_frames->pixelSize() : QSize());
    if (presentOnX11(changed)) {
        m_shownPicture = picture;
        ++m_presentedOnX11;
        return;
    }
    if (!followsShown) {
        update(target);
        return;
    }
    const qreal ratio = m_frames->devicePixelRatio();
    const QRectF logical(changed.x() / ratio, changed.y() / ratio, changed.width() / ratio, changed.height() / ratio);
    update(logical.toAlignedRect().translated(target.topLeft()).intersected(target));
}

void LottiePlayer::finish(bool finished)
{
    m_playing = false;
    updateTimer();
    if (auto completion = std::exchange(m_completion, {}))
        completion(finished);
}

void LottiePlayer::updateTick()
{
    const double framesPerSecond = m_animation ? m_animation->frameRate() * m_speed : 30.0 * m_speed;
    const double interval = 1000.0 / framesPerSecond;
    if (interval < minimumTickMs) {
        m_tickMs = minimumTickMs;
        m_framesPerTick = framesPerSecond * minimumTickMs / 1000.0;
    } else {
        m_tickMs = static_cast<int>(std::min<double>(std::lround(interval), maximumTickMs));
        m_framesPerTick = 1.0;
    }
}

void LottiePlayer::updateTimer()
{
    const bool run = m_playing && m_animation && !m_hidden && isVisible();
    if (run == m_ticking && (!run || m_tickedMs == m_tickMs))
        return;
    FrameTicker& ticker = LottieCache::shared().ticker();
    if (run)
        ticker.start(this, m_tickMs, [this] { advance(); });
    else
        ticker.stop(this);
    m_ticking = run;
    m_tickedMs = m_tickMs;
}

QRect LottiePlayer::targetRect() const
{
    if (!m_animation)
        return {};
    const QSize fitted = m_animation->size().scaled(size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
}

bool LottiePlayer::updateFrames()
{
    const QRect target = targetRect();
    if (target.isEmpty())
        return false;
    const qreal ratio = devicePixelRatioF();
    const QSize pixels(qRound(target.width() * ratio), qRound(target.height() * ratio));
    if (!m_frames || m_frames->animation() != m_animation || m_frames->pixelSize() != pixels
        || m_frames->devicePixelRatio() != ratio)
        m_frames = LottieCache::shared().frames(m_animation, pixels, ratio);
    return m_frames != nullptr;
}

QImage LottiePlayer::currentImage()
{
    return updateFrames() ? m_frames->frame(m_frame) : QImage();
}

qint64 LottiePlayer::currentPicture()
{
    return updateFrames() ? m_frames->pictureId(m_frame) : 0;
}

bool LottiePlayer::presentOnX11(const QRect& source)
{
    // Runs on every tick of a resting pet: the lookups are kept to what may change.
    static xcb_connection_t* const connection = [] {
        auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
        return x11 ? x11->connection() : nullptr;
    }();
    if (!connection || !m_frames)
        return false;
    QWidget* top = window();
    QWindow* handle = top->windowHandle();
    if (!handle || !handle->isExposed())
        return false;

    const auto id = static_cast<std::uint32_t>(handle->winId());
    if (id != m_x11Window) {
        // Once per native window: its depth decides whether our frames can go there as they are.
        m_x11Window = id;
        m_x11Depth = 0;
        m_pixmaps.reset();
        const auto cookie = xcb_get_geometry(connection, id);
        if (xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(connection, cookie, nullptr)) {
            m_x11Depth = geometry->depth;
            m_x11Root = geometry->root;
            std::free(geometry);
        }
        if (m_x11Handle)
            m_x11Handle->removeEventFilter(this);
        m_x11Handle = handle;
        handle->installEventFilter(this);
    }
    if (m_x11Depth != 32)
        return false;
    if (!m_pixmaps || m_pixmaps->frames() != m_frames)
        m_pixmaps = LottieCache::shared().pixmaps(m_frames, connection, m_x11Root, m_x11Depth);
    if (!m_pixmaps)
        return false;
    const qreal ratio = m_frames->devicePixelRatio();
    const QPoint logical = mapTo(top, targetRect().topLeft());
    const QPoint at(qRound(logical.x() * ratio), qRound(logical.y() * ratio));
    return m_pixmaps->present(m_frame, id, at, source);
}

void LottiePlayer::shapeWindowInput(qint64 picture)
{
    // Once per distinct picture; the shapes themselves are kept with the frames.
    if (!m_shapesInput || !m_frames || picture == m_shapedPicture)
        return;
    auto* floating = qobject_cast<FloatingWindow*>(window());
    if (!floating)
        return;
    m_shapedPicture = picture;
    const QRegion shape = m_frames->animationShape(m_frame);
    const qreal ratio = m_frames->devicePixelRatio();
    const QPoint logical = mapTo(floating, targetRect().topLeft());
    const QPoint offset(qRound(logical.x() * ratio), qRound(logical.y() * ratio));
    // After a loop's first pass the shape stops growing. Handing the window the same shape on
    // every frame anyway cost a resting pet more than showing the frame: a copy of a few
    // hundred rectangles and a comparison of them with the window's.
    const qint64 shapeId = m_frames->animationShapeId();
    if (m_shapedWindow == floating && m_shapedShape == shapeId && m_shapedOffset == offset)
        return;
    m_shapedWindow = floating;
    m_shapedShape = shapeId;
    m_shapedOffset = offset;
    floating->setInputRegion(shape.translated(offset));
}

bool LottiePlayer::eventFilter(QObject* watched, QEvent* event)
{
    // Qt answers an expose by putting back its own copy of the window, which holds the frame
    // it painted last, not the one copied since: the current frame goes back on top of it
    // once Qt is done.
    if (watched == m_x11Handle && event->type() == QEvent::Expose) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!isVisible() || !m_frames)
                    return;
                if (presentOnX11(QRect(QPoint(0, 0), m_frames->pixelSize())))
                    m_shownPicture = m_frames->pictureId(m_frame);
            },
            Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, event);
}
