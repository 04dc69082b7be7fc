#pragma once

#include <QEasingCurve>
#include <QPointF>
#include <QPointer>
#include <QPropertyAnimation>
#include <QRectF>
#include <QRegion>
#include <QWidget>

#include <functional>
#include <optional>

class Screens;

/// Base of every borderless, transparent window that floats above normal windows beside the
/// pet (the pet itself, clones, bubbles, alarm cards, game cats, fireworks). It stays on top,
/// casts no shadow, has no taskbar or pager entry and is present on every virtual desktop. By
/// default it never takes keyboard focus; the key-enabled bubbles ask for focus explicitly.
///
/// Geometry is given in the bottom-left screen model of `Screens`.
class FloatingWindow : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FloatingWindow)

public:
    enum class Focus {
        Refuse, ///< clicks never activate the window (the pet, clones, cards)
        Accept, ///< the window can become active and take key input (message bubbles)
        /// Neither the pointer nor the keys, ever (clones, fireworks). No window manager
        /// handles it: a manager's frame around it would take the clicks it lets through.
        /// Unmanaged windows open above the managed ones and are on every desktop.
        Ignore,
    };

    FloatingWindow(Focus focus, Screens& screens, QWidget* parent = nullptr);
    ~FloatingWindow() override;

    /// Lets mouse events fall through to whatever lies below; toggled on the live window
    /// without hiding it.
    void setClickThrough(bool clickThrough);
    [[nodiscard]] bool isClickThrough() const { return m_clickThrough; }
    /// Takes the pointer only inside `region` (the native window's device pixels): clicks
    /// elsewhere fall through, and hovering starts and ends at its edge. On X11 only;
    /// click-through wins while it is on.
    void setInputRegion(const QRegion& region);
    /// The region last set; none while the window takes the pointer everywhere.
    [[nodiscard]] const std::optional<QRegion>& inputRegion() const { return m_inputRegion; }

    /// Puts this shown window right below `other` (shown too). A window no manager handles
    /// opens above every managed one and stays there; this keeps it below the one window
    /// that must stay in front of it.
    void stackBelow(const FloatingWindow& other);

    /// Animates the window's opacity to `alpha` (clamped to [0, 1]; NaN keeps the current
    /// opacity) over `ms` milliseconds, then runs `done`. A fade still running on this
    /// window is stopped first where it stands, and its own `done` runs at that moment, so
    /// a completion is never lost. With `ms` <= 0 the opacity is set and `done` runs at once.
    void fadeTo(
        double alpha, int ms, std::function<void()> done = {}, const QEasingCurve& curve = QEasingCurve::InOutQuad);
    /// Stops a running fade where it stands; its completion runs.
    void stopFade();
    /// The opacity the window was last given, as it was given: the window itself keeps it
    /// in 8 bits and reads 0.3 back as 0.298. Once it was set otherwise, what it shows.
    [[nodiscard]] double givenOpacity() const;
    [[nodiscard]] bool isFading() const { return m_fade != nullptr; }

    /// The window's frame in the bottom-left screen model. A shown window keeping its size is
    /// moved by the window system directly; modelFrame() has the new place at once, and the
    /// widget's own geometry and its move event follow when the window system confirms it.
    void setModelFrame(const QRectF& frame);
    [[nodiscard]] QRectF modelFrame() const;
    /// Moves the window's bottom-left corner in the model, keeping its size.
    void setModelOrigin(const QPointF& origin);

    [[nodiscard]] Screens& screens() const { return *m_screens; }

protected:
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    /// A window manager that minimises it anyway (openbox offers minimising whatever the
    /// hints say) gets it straight back: with no taskbar entry nothing else would.
    void changeEvent(QEvent* event) override;

private:
    /// Moves the shown window on X11 without going through QWidget; false when it cannot.
    bool moveOnX11(QPoint topLeft);

    Screens* m_screens;
    QPointer<QPropertyAnimation> m_fade;
    double m_givenOpacity = 1.0;
    std::function<void()> m_fadeDone;
    bool m_clickThrough = false;
    /// Where the window was last sent on X11 while Qt has not heard of it yet.
    std::optional<QPoint> m_pendingMove;
    int m_movesInFlight = 0;
    std::optional<QRegion> m_inputRegion;
};
