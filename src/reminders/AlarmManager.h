#pragma once

#include "platform/Lazy.h"
#include "reminders/Alarm.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

class AlarmWindowManager;
class Clock;
class Defaults;
class MinuteTicker;

/// Keeps the user's alarms, seeds one (disabled) default, and on every whole minute rings
/// each enabled alarm that is due by opening its card; a once alarm is then switched off.
/// The minute check runs whenever an enabled alarm exists, and an alarm rings at most once
/// per local date and minute, so the repeated hour of a daylight-saving change or a clock
/// set back never rings it twice.
class AlarmManager final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AlarmManager)

public:
    static inline const QString alarmsKey = QStringLiteral("SavedAlarms");
    static inline const QString alarmVersionKey = QStringLiteral("AlarmDefaultsVersion");
    static inline const QString unreadableKey = QStringLiteral("SavedAlarmsUnreadable");
    static constexpr int currentAlarmVersion = 1;

    /// Loads the stored list, rewrites the default alarm of an older version, seeds the
    /// default into an empty list, and starts the check when an enabled alarm exists. The
    /// card manager is made when the first alarm rings.
    AlarmManager(Clock& clock, Defaults& defaults, MinuteTicker& ticker, Lazy<AlarmWindowManager> windows,
        QObject* parent = nullptr);

    [[nodiscard]] const QList<Alarm>& alarms() const { return m_alarms; }
    [[nodiscard]] bool isActive() const { return m_isActive; }

    void addAlarm(const Alarm& alarm);
    void updateAlarm(const Alarm& alarm);
    void removeAlarm(const QString& id);
    void toggleAlarm(const QString& id);
    [[nodiscard]] QList<Alarm> getEnabledAlarms() const;
    /// Starts the minute check; does nothing when it runs already.
    void startMonitoring();
    /// Stops the minute check until the next start; the shared ticker keeps beating for others.
    void stopMonitoring();
    /// Replaces every alarm by the one disabled default, as on a first launch.
    void resetToDefaults();

    /// One minute's check: rings what is due in the local minute of `minute`. The ticker
    /// calls it.
    void checkAlarms(const QDateTime& minute);

Q_SIGNALS:
    void alarmsChanged();
    void isActiveChanged(bool active);

private:
    void onMinute(const QDateTime& minute);
    void startMonitoringIfNeeded();
    void triggerAlarm(const Alarm& alarm);
    void saveAlarms();
    void loadAlarms();
    void checkAndUpdateDefaultAlarms();
    void setupDefaultAlarms();

    Clock& m_clock;
    Defaults& m_defaults;
    /// The beat the checks run on, shared with the reminders.
    MinuteTicker& m_checkTimer;
    Lazy<AlarmWindowManager> m_windows;
    QList<Alarm> m_alarms;
    bool m_isActive = false;
    bool m_aligned = false;
    /// Alarm id -> the local date and minute it last rang.
    QHash<QString, QString> m_lastRung;
};
