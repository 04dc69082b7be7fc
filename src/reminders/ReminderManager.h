#pragma once

#include "core/Reminder.h"
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

class Clock;
class Defaults;
class LocalTime;
class MinuteTicker;
class SystemNotifications;

/// Keeps the interval reminders, seeds three defaults, and on every whole minute fires each
/// enabled reminder whose time has come: a system notification ("reminder_<id>", replacing
/// that reminder's earlier one) and "reminderTriggered", which the pet's speech bubble
/// speaks. A reminder overdue by several intervals (after sleep) fires once.
class ReminderManager final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReminderManager)

public:
    static inline const QString remindersKey = QStringLiteral("SavedReminders");
    static inline const QString reminderVersionKey = QStringLiteral("ReminderDefaultsVersion");
    static inline const QString unreadableKey = QStringLiteral("SavedRemindersUnreadable");
    static constexpr int currentReminderVersion = 2;
    /// Seconds between two checks: the shared ticker beats on every whole minute.
    static constexpr double checkInterval = 60;

    /// Loads the stored list, applies the defaults' text rewrite and seeds the defaults into
    /// an empty list. Starts no check.
    ReminderManager(Clock& clock, Defaults& defaults, SystemNotifications& notifications, MinuteTicker& ticker,
        QObject* parent = nullptr);
    ~ReminderManager() override;

    [[nodiscard]] const QList<Reminder>& reminders() const { return m_reminders; }
    [[nodiscard]] bool isActive() const { return m_isActive; }

    /// Checks on every whole minute from the next one on; does nothing while active.
    void startReminderSystem();
    void stopReminderSystem();

    void addReminder(const Reminder& reminder);
    /// Replaces the reminder with the same id; a changed interval restarts its count now.
    void updateReminder(const Reminder& reminder);
    void toggleReminder(const QString& id);
    void removeReminder(const QString& id);
    [[nodiscard]] QList<Reminder> getEnabledReminders() const;
    [[nodiscard]] Reminder createDefaultReminder(ReminderType type) const;
    /// Replaces every reminder by the three defaults, as on a first launch.
    void resetToDefaults();
    /// The reminders of one type, in list order.
    [[nodiscard]] QList<Reminder> getReminders(ReminderType type) const;
    struct NextReminder
    {
        Reminder reminder;
        QDateTime triggerTime;
    };
    /// The enabled reminder that fires first (the earlier in the list on a tie), or none.
    [[nodiscard]] std::optional<NextReminder> getNextReminder() const;
    /// One line per reminder, in list order: its emoji, title, interval and next firing.
    [[nodiscard]] QStringList getReminderStatusInfo() const;

    /// One minute's check: fires what is due at `minute` (or now, if later). The ticker
    /// calls it.
    void checkPendingReminders(const QDateTime& minute);

Q_SIGNALS:
    void remindersChanged();
    void isActiveChanged(bool active);

private:
    void onMinute(const QDateTime& minute);
    void triggerReminder(const Reminder& reminder, const LocalTime& local);
    void sendReminderNotification(const Reminder& reminder);
    /// Replaces the reminder in the list and logs the update line; stores only when asked.
    void replaceReminder(const Reminder& reminder, bool store, const LocalTime& local);
    void checkAndUpdateDefaultReminders();
    void setupDefaultReminders();
    void saveReminders();
    void loadReminders();

    Clock& m_clock;
    Defaults& m_userDefaults;
    SystemNotifications& m_notifications;
    /// The beat the checks run on, shared with the alarms.
    MinuteTicker& m_checkTimer;
    QList<Reminder> m_reminders;
    bool m_isActive = false;
    bool m_aligned = false;
};
