#pragma once

#include <QDateTime>
#include <QObject>
#include <QPointF>
#include <QSizeF>

class Clock;
class PetState;
class Screens;

/// Turns a single tap on the pet into the short click feedback of the pet's state. It also
/// carries a second drag path, by translations from the top-left corner, that the program
/// does not use (dragging is DragEventHandler's).
class InteractionHandler final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(InteractionHandler)

public:
    static constexpr int clickFeedbackMs = 500;

    InteractionHandler(PetState& petState, Screens& screens, Clock* clock = nullptr, QObject* parent = nullptr);

    [[nodiscard]] bool isDragging() const { return m_isDragging; }
    [[nodiscard]] QSizeF dragOffset() const { return m_dragOffset; }
    [[nodiscard]] QDateTime lastClickTime() const { return m_lastClickTime; }

    /// The pet shows its click feedback for 0.5 s, whatever it was doing.
    void handleSingleClick();

    void updateDrag(QSizeF translation);
    void endDrag(QSizeF finalTranslation);
    void resetInteraction();

Q_SIGNALS:
    void isDraggingChanged(bool dragging);
    void dragOffsetChanged(QSizeF offset);
    /// A drag step, one event-loop turn later: the pet window's top-left corner belongs at
    /// this screen point. Unheard, drags only change the stored position.
    void petWindowPlacementRequested(QPointF origin);
    /// The drag ended at this stored position, which is already saved.
    void petWindowMoveRequested(QPointF position);

private:
    void performSingleClickAction();
    [[nodiscard]] QPointF limitedPosition(QSizeF translation) const;
    void setDragging(bool dragging);
    void setDragOffset(QSizeF offset);

    PetState& m_petState;
    Screens& m_screens;
    Clock& m_clock;
    bool m_isDragging = false;
    QSizeF m_dragOffset;
    QDateTime m_lastClickTime;
    const QPointF m_dragStartPosition;
};
