#pragma once

#include "platform/SharedInstance.h"

#include "core/AppNotification.h"
#include "core/PetType.h"
#include "core/Reminder.h"
#include "core/SystemHealth.h"
#include "core/TimeSegment.h"

#include <QObject>

/// The program's named events, one typed signal each. Everything is emitted and delivered
/// on the main thread. Each subsystem adds the events it posts, with the value types they
/// carry living in src/core so that every library can name them.
class EventCenter final : public QObject, public SharedInstance<EventCenter>
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EventCenter)

public:
    EventCenter() = default;

Q_SIGNALS:
    /// The user began dragging the pet; the behaviour scheduler stops what it runs.
    void userDidInteractWithPet();
    /// "petTypeDidChange": the chosen species changed (also posted when it stays the same).
    void petTypeDidChange(PetType oldType, PetType newType);
    /// "EmotionDidChange": the pet's mood changed. Declared for its observers; nothing posts it.
    void emotionDidChange();
    /// "petEmotionChanged": the pet's mood changed, as the notification manager hears it.
    /// Declared for its observer; nothing posts it.
    void petEmotionChanged();
    /// "reminderTriggered": an interval reminder fired; the speech bubble speaks it.
    void reminderTriggered(const Reminder& reminder);
    /// "showSpeechBubble": a bubble with a ready title, message and emoji. Declared for its
    /// observer; nothing posts it.
    void showSpeechBubble(const QString& title, const QString& message, const QString& emoji);

    /// "timeSegmentDidChange": the local hour crossed into another part of the day.
    void timeSegmentDidChange(TimeSegment oldSegment, TimeSegment newSegment);
    /// "systemHealthDidChange": the machine's load level changed between two samples.
    void systemHealthDidChange(const SystemHealth& oldHealth, const SystemHealth& newHealth);
    /// "systemHealthCritical": the load level stepped into critical from another level.
    void systemHealthCritical(const SystemHealth& health);
    /// "appNotificationReceived": a notification passed the switches and was delivered.
    void appNotificationReceived(const AppNotification& notification);
};
