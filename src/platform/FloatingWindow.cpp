#include "platform/FloatingWindow.h"

#include "platform/InputShape.h"
#include "platform/Screens.h"
#include "platform/WindowFront.h"

#include <QGuiApplication>
#include <QMoveEvent>
#include <QPropertyAnimation>
#include <QShowEvent>
#include <QTimer>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

namespace {

struct FreeDeleter
{
    void operator()(void* p) const { std::free(p); }
};
template<typename T>
using XcbReply = std::unique_ptr<T, FreeDeleter>;

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name)
{
    const auto cookie = xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    const XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, cookie, nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// Qt sets the stays-on-top state itself but has no notion of "every desktop". The window is
// not mapped yet when this runs, so writing the EWMH properties directly is the sanctioned
// way: the window manager reads them when it maps the window. Qt merges its own states into
// the _NET_WM_STATE we leave behind.
void makeStickyOnX11(WId windowId)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return;
    xcb_connection_t* connection = x11->connection();
    const auto window = static_cast<xcb_window_t>(windowId);

    const xcb_atom_t desktop = internAtom(connection, "_NET_WM_DESKTOP");
    const xcb_atom_t state = internAtom(connection, "_NET_WM_STATE");
    if (desktop == XCB_ATOM_NONE || state == XCB_ATOM_NONE)
        return;
    const uint32_t allDesktops = 0xFFFFFFFF;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, desktop, XCB_ATOM_CARDINAL, 32, 1, &allDesktops);

    std::vector<xcb_atom_t> states;
    const auto cookie = xcb_get_property(connection, 0, window, state, XCB_ATOM_ATOM, 0, 1024);
    const XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection, cookie, nullptr));
    if (reply && reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
        const auto* existing = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
        states.assign(existing, existing + xcb_get_property_value_length(reply.get()) / sizeof(xcb_atom_t));
    }
    for (const char* name :
        { "_NET_WM_STATE_STICKY", "_NET_WM_STATE_ABOVE", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER" }) {
        const xcb_atom_t atom = internAtom(connection, name);
        if (atom != XCB_ATOM_NONE && std::find(states.begin(), states.end(), atom) == states.end())
            states.push_back(atom);
    }
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, state, XCB_ATOM_ATOM, 32,
        static_cast<uint32_t>(states.size()), states.data());
    xcb_flush(connection);
}

// Qt queues the opacity property on its X connection without sending it; while nothing else
// goes out (a pet standing still draws nothing) a fade would reach the compositor only as
// one jump at the end. Each step is pushed out as it is set.
void flushX11()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 && x11->connection())
        xcb_flush(x11->connection());
}

} // namespace

FloatingWindow::FloatingWindow(Focus focus, Screens& screens, QWidget* parent)
    : QWidget(parent)
    , m_screens(&screens)
{
    Qt::WindowFlags flags = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::NoDropShadowWindowHint;
    if (focus != Focus::Accept)
        flags |= Qt::WindowDoesNotAcceptFocus;
    if (focus == Focus::Ignore) {
        flags |= Qt::X11BypassWindowManagerHint | Qt::WindowTransparentForInput;
        m_clickThrough = true;
    }
    setWindowFlags(flags);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    // Qt shows tool tips only over the active window, and most of these never become active:
    // a card or bubble that cuts its text short would never show the whole of it.
    setAttribute(Qt::WA_AlwaysShowToolTips);
}

FloatingWindow::~FloatingWindow() = default;

void FloatingWindow::setClickThrough(bool clickThrough)
{
    m_clickThrough = clickThrough;
    const Qt::WindowFlags flags = windowFlags().setFlag(Qt::WindowTransparentForInput, clickThrough);
    if (QWindow* handle = windowHandle()) {
        // QWidget::setWindowFlags would re-create and hide a live window; changing the
        // native window's flags directly keeps it on screen.
        overrideWindowFlags(flags);
        handle->setFlags(flags);
        // Qt has written its Motif hints anew, minimise open again.
        WindowFront::refuseMinimise(*this);
    } else {
        setWindowFlags(flags);
    }
    // Qt hands input back to the whole window when it ends click-through.
    if (!clickThrough && m_inputRegion && windowHandle())
        InputShape::applyToX11Window(std::uint32_t(winId()), *m_inputRegion);
}

void FloatingWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !isMinimized())
        return;
    // Once the window manager has finished minimising it.
    QTimer::singleShot(0, this, [this] {
        if (isVisible() && isMinimized())
            WindowFront::bringForward(*this);
    });
}

void FloatingWindow::setInputRegion(const QRegion& region)
{
    if (m_inputRegion == region)
        return;
    m_inputRegion = region;
    if (!m_clickThrough && windowHandle())
        InputShape::applyToX11Window(std::uint32_t(winId()), region);
}

void FloatingWindow::stackBelow(const FloatingWindow& other)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection() || !windowHandle() || !other.windowHandle())
        return;
    xcb_connection_t* connection = x11->connection();
    // Under a window manager that frames windows, the other window's sibling is its frame.
    auto sibling = static_cast<xcb_window_t>(other.winId());
    for (;;) {
        const XcbReply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(connection, xcb_query_tree(connection, sibling), nullptr));
        if (!tree)
            return;
        if (tree->parent == tree->root || tree->parent == XCB_WINDOW_NONE)
            break;
        sibling = tree->parent;
    }
    const std::array<uint32_t, 2> values { sibling, XCB_STACK_MODE_BELOW };
    xcb_configure_window(connection, static_cast<xcb_window_t>(winId()),
        XCB_CONFIG_WINDOW_SIBLING | XCB_CONFIG_WINDOW_STACK_MODE, values.data());
    xcb_flush(connection);
}

void FloatingWindow::fadeTo(double alpha, int ms, std::function<void()> done, const QEasingCurve& curve)
{
    const QPointer<FloatingWindow> self(this);
    // The superseded fade's completion may start a fade of its own; that one is superseded
    // by this call as well, or it would go on driving the opacity against the new fade and
    // its completion would never run.
    while (self && m_fade)
        stopFade();
    if (!self)
        return; // the superseded fade's completion closed and deleted the window
    const double target = std::isnan(alpha) ? windowOpacity() : std::clamp(alpha, 0.0, 1.0);
    if (ms <= 0) {
        m_givenOpacity = target;
        setWindowOpacity(target);
        flushX11();
        if (done)
            done();
        return;
    }
    auto* animation = new QPropertyAnimation(this, "windowOpacity", this);
    animation->setDuration(ms);
    animation->setStartValue(windowOpacity());
    animation->setEndValue(target);
    animation->setEasingCurve(curve);
    m_fade = animation;
    m_fadeDone = std::move(done);
    connect(animation, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_givenOpacity = value.toDouble();
        flushX11();
    });
    connect(animation, &QAbstractAnimation::finished, this, [this, animation, target] {
        if (m_fade != animation)
            return;
        // The last step works the value out from the start and the change, which can land
        // a rounding away from the target (0.30000000000000004 for 0.3).
        m_givenOpacity = target;
        m_fade = nullptr;
        animation->deleteLater();
        if (auto finished = std::exchange(m_fadeDone, {}))
            finished(); // may close or delete this window: nothing touches it afterwards
    });
    animation->start();
}

void FloatingWindow::stopFade()
{
    if (!m_fade)
        return;
    QPropertyAnimation* animation = m_fade;
    m_fade = nullptr;
    animation->stop();
    animation->deleteLater();
    if (auto finished = std::exchange(m_fadeDone, {}))
        finished();
}

double FloatingWindow::givenOpacity() const
{
    // The window stores its opacity truncated to a byte.
    const auto stored = [](double opacity) { return int(opacity * 255); };
    return stored(m_givenOpacity) == qRound(windowOpacity() * 255) ? m_givenOpacity : windowOpacity();
}

void FloatingWindow::setModelFrame(const QRectF& frame)
{
    const QRect target = m_screens->toQtRect(frame);
    if (target.size() == size() && moveOnX11(target.topLeft()))
        return;
    m_pendingMove.reset();
    m_movesInFlight = 0;
    setGeometry(target);
}

QRectF FloatingWindow::modelFrame() const
{
    QRect frame = geometry();
    if (m_pendingMove)
        frame.moveTopLeft(*m_pendingMove);
    return m_screens->fromQtRect(frame);
}

bool FloatingWindow::moveOnX11(QPoint topLeft)
{
    // A walking pet moves ten times a second, and its bubble with it. Through QWidget each
    // move also rewrites the window's size hints, which wakes the window manager to read
    // them again; on its own a move is one configure request, and Qt learns the new place
    // from the window manager's answer like from any move it did not make itself.
    static xcb_connection_t* const connection = [] {
        auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
        return x11 ? x11->connection() : nullptr;
    }();
    if (!connection || !isVisible() || !testAttribute(Qt::WA_WState_Created))
        return false;
    const QWindow* handle = windowHandle();
    if (!handle || !handle->isExposed() || handle->devicePixelRatio() != 1.0)
        return false;
    if (topLeft == m_pendingMove.value_or(pos()))
        return true;
    const std::array<uint32_t, 2> values { static_cast<uint32_t>(topLeft.x()), static_cast<uint32_t>(topLeft.y()) };
    xcb_configure_window(
        connection, static_cast<xcb_window_t>(winId()), XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, values.data());
    xcb_flush(connection);
    m_pendingMove = topLeft;
    ++m_movesInFlight;
    return true;
}

void FloatingWindow::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    if (!m_pendingMove || !event->spontaneous())
        return;
    // Each move sent is answered once; the last answer (or one at the place asked for) means
    // Qt's geometry is the window's own again, also where the window manager chose otherwise.
    m_movesInFlight = std::max(0, m_movesInFlight - 1);
    if (m_movesInFlight == 0 || event->pos() == *m_pendingMove) {
        m_pendingMove.reset();
        m_movesInFlight = 0;
    }
}

void FloatingWindow::setModelOrigin(const QPointF& origin)
{
    setModelFrame(QRectF(origin, QSizeF(size())));
}

void FloatingWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The window manager drops these when the window is withdrawn, so every show sets them.
    if (!event->spontaneous()) {
        makeStickyOnX11(winId());
        // It has no taskbar entry to bring it back from minimised.
        WindowFront::refuseMinimise(*this);
        // A new native window starts out taking input everywhere.
        if (m_inputRegion && !m_clickThrough)
            InputShape::applyToX11Window(std::uint32_t(winId()), *m_inputRegion);
    }
}
