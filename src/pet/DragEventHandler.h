#pragma once

#include <QDateTime>
#include <QEvent>
#include <QObject>
#include <QPointF>
#include <QPointer>

class Clock;
class DoNotDisturbManager;
class FloatingWindow;
class PetState;
class Screens;

/// Moves the pet when the user presses on it and drags. It watches the program's own
/// left-button events through an application-wide event filter: a drag begins once the
/// pointer is more than 3 points from where the button went down on the pet window, keeps
/// the window inside the main screen's visible area and stores the place where it is
/// dropped. Presses and releases that never become a drag pass through, so the pet view
/// still sees its taps.
class DragEventHandler final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DragEventHandler)

public:
    static constexpr double dragThreshold = 3.0;

    DragEventHandler(Screens& screens, PetState& petState, DoNotDisturbManager& doNotDisturb, Clock* clock = nullptr,
        QObject* parent = nullptr);
    ~DragEventHandler() override;

    /// Watches the program's mouse events for drags of this pet window (replacing any earlier watch).
    void startMonitoring(FloatingWindow* window);
    void stopMonitoring();
    [[nodiscard]] bool isMonitoring() const { return m_monitoring; }
    [[nodiscard]] bool isDragging() const { return m_isDragging; }
    [[nodiscard]] QPointF dragStartMousePosition() const { return m_dragStartMousePosition; }
    [[nodiscard]] QPointF dragStartWindowPosition() const { return m_dragStartWindowPosition; }
    [[nodiscard]] double screenHeight() const { return m_screenHeight; }

    /// One left-button event: a press, a move with the button held or a release, at a
    /// pointer position in the bottom-left screen model. `onPetWindow` tells whether the
    /// event came to the pet window. Returns true when the event is taken (not passed on).
    bool handleMouseEvent(QEvent::Type type, QPointF point, bool onPetWindow);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void handleMouseDown(QPointF point);
    void handleMouseDragged(QPointF point);
    void handleMouseUp();
    void screenConfigurationChanged();

    Screens& m_screens;
    PetState& m_petState;
    DoNotDisturbManager& m_doNotDisturb;
    Clock& m_clock;

    QPointer<FloatingWindow> m_window;
    bool m_monitoring = false;
    bool m_isDragging = false;
    /// The button went down on the pet window and has not been released since: only such
    /// a press may become a drag.
    bool m_pressedOnPet = false;
    QPointF m_dragStartWindowPosition;
    QPointF m_dragStartMousePosition;
    double m_screenHeight = 1080.0;
    QDateTime m_mouseDownTime;
};
