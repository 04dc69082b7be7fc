#pragma once

#include "pet/SpeechBubbleView.h"

#include <QMetaObject>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QSizeF>
#include <QString>

struct Reminder;
class FloatingWindow;
class SpeechBubbleView;
class WindowManager;

/// Owns the one speech bubble beside the pet: a 280 × 120 window 10 points right of the pet
/// window (left of it where the screen ends first), vertically centred on it, following
/// every move of the pet and closing itself 8 s after it came up. Each move it follows is
/// logged. A new bubble replaces the one on screen. Fired reminders are spoken this way,
/// with their type's emoji.
class SpeechBubbleWindowManager final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SpeechBubbleWindowManager)

public:
    static constexpr QSizeF bubbleSize { 280.0, 120.0 };
    static constexpr double gap = 10.0;

    /// Installs the observers of "reminderTriggered" and "showSpeechBubble".
    SpeechBubbleWindowManager(WindowManager& windowManager, SpeechBubbleLook look, QObject* parent = nullptr);
    ~SpeechBubbleWindowManager() override;

    /// Shows a bubble for these texts beside the pet, replacing any bubble shown.
    void showBubble(const QString& title, const QString& message, const QString& emoji);

    [[nodiscard]] FloatingWindow* bubbleWindow() const;
    [[nodiscard]] SpeechBubbleView* bubbleView() const;

    /// The observer of "reminderTriggered".
    void handleReminderTriggered(const Reminder& reminder);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setupNotificationObservers();
    void showBubbleWindow(const QString& title, const QString& message, const QString& emoji);
    void updateBubblePosition();
    void hideBubbleWindow();

    WindowManager& m_windowManager;
    SpeechBubbleLook m_look;
    QPointer<FloatingWindow> m_bubbleWindow;
    QPointer<SpeechBubbleView> m_bubbleView;
    /// The registration for moves of the pet window while a bubble is shown.
    QMetaObject::Connection m_positionObserver;
    QPointer<FloatingWindow> m_observedPetWindow;
};
